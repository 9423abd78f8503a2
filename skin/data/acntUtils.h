// Small text helpers shared by the skin loader: trimming, ASCII case folding,
// word splitting and the integer syntax of skin options ("12", "-3", "0x1F", "$1F").
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The conversion error of text that had to be an integer. Its message names the text:
// "'abc' is not a valid integer value".
class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const std::string& msg) : std::runtime_error(msg) {}
};

// Removes leading and trailing blanks and control characters (every byte <= ' ').
std::string_view TrimView(std::string_view s);
std::string Trim(std::string_view s);

// ASCII-only case folding: bytes of the system code page above 127 are left alone.
std::string UpperCase(std::string_view s);
bool SameTextAscii(std::string_view a, std::string_view b);

// Integer text: optional sign, then decimal digits, or hexadecimal digits after "0x", "0X"
// or "$". Hexadecimal takes up to 8 digits and is read as a 32-bit pattern (so "$FF00000F"
// is the negative system-colour value). Leading and trailing blanks are allowed.
// Anything else, or a decimal value outside 32 bits, is not a number.
std::optional<int32_t> ParseInt(std::string_view s);
// As ParseInt, but text that is not a number throws EConvertError.
int32_t StrToInt(std::string_view s);
// As ParseInt, with a fallback for text that is not a number.
int32_t StrToIntDef(std::string_view s, int32_t def);

// A real number with "." as the decimal separator whatever the locale ("7.00", "7", "-1.5e2").
std::optional<double> ParseFloatDot(std::string_view s);

// Splits at any of the separator bytes. With collapse, runs of separators count as one
// and empty words are dropped; without it every separator ends a word (empty words kept).
std::vector<std::string_view> SplitWords(std::string_view s, std::string_view separators, bool collapse);

// True when `s` contains `part` (case-sensitive).
inline bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

// A folder path ready for a name to follow: "C:\x" -> "C:\x\", "C:\x/" -> "C:\x\", a drive
// letter alone "D" -> "D:\"; a path already ending in "\" is kept and an empty one stays empty.
std::string WithTrailingPathDelimiter(std::string_view path);
