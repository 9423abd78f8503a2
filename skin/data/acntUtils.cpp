#include "skin/data/acntUtils.h"

#include <charconv>
#include <cstdlib>

std::string_view TrimView(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::optional<int32_t> ParseInt(std::string_view s) {
  s = TrimView(s);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  bool hex = false;
  if (s[0] == '$') {
    hex = true;
    s.remove_prefix(1);
  } else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    hex = true;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  if (hex) {
    // Up to 8 significant digits, read as a 32-bit pattern.
    std::size_t lead = 0;
    while (lead + 1 < s.size() && s[lead] == '0') ++lead;
    if (s.size() - lead > 8) return std::nullopt;
    uint32_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 16);
    if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    uint32_t r = negative ? 0u - v : v;
    return static_cast<int32_t>(r);
  }
  uint64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint64_t>(c - '0');
    if (v > 0x80000000ull) return std::nullopt;
  }
  if (!negative && v > 0x7FFFFFFFull) return std::nullopt;
  int64_t r = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
  return static_cast<int32_t>(r);
}

int32_t StrToInt(std::string_view s) {
  if (auto v = ParseInt(s)) return *v;
  throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
}

int32_t StrToIntDef(std::string_view s, int32_t def) {
  auto v = ParseInt(s);
  return v ? *v : def;
}

std::optional<double> ParseFloatDot(std::string_view s) {
  s = TrimView(s);
  if (s.empty()) return std::nullopt;
  if (s[0] == '+') s.remove_prefix(1);
  // Only [-]digits[.digits][e[sign]digits] is a number. The text is checked here and then
  // converted by strtod, which the program runs in the "C" locale ("." as the separator);
  // the library's floating-point from_chars would cost the shipped program 40 KB.
  std::size_t i = 0, digits = 0;
  auto run = [&] {
    std::size_t n = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++n;
    return n;
  };
  if (i < s.size() && s[i] == '-') ++i;
  digits += run();
  if (i < s.size() && s[i] == '.') {
    ++i;
    digits += run();
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (run() == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const std::string text(s);
  return std::strtod(text.c_str(), nullptr);
}

std::vector<std::string_view> SplitWords(std::string_view s, std::string_view separators, bool collapse) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || separators.find(s[i]) != std::string_view::npos) {
      if (!collapse || i > start) words.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  return words;
}

std::string WithTrailingPathDelimiter(std::string_view path) {
  std::string s(path);
  if (s.empty()) return s;
  if (s.size() == 1) return s + ":\\";
  if (s.back() == '/') s.back() = '\\';
  if (s.back() != '\\') s += '\\';
  return s;
}
