// The skin options file (Options.dat): an ini-like text of sections and "KEY=VALUE"
// lines that keeps the file order of both, plus the typed reads the loader needs,
// with and without PARENTCLASS inheritance.
//
// Syntax: lines end at CR LF, CR or LF; each line is trimmed of blanks and control
// characters; empty lines and lines starting with ";" are ignored; "[NAME]" opens a
// section (name trimmed); other lines before the first section are dropped; in a section a
// line with "=" is a key (trimmed text before the first "=") and its value (trimmed text
// after it); a line without "=" is ignored. Names compare case-sensitively.
//
// A section name that appears again continues the first section of that name, so every
// section name is listed once, at the place of its first appearance. A key that appears
// twice in a section keeps both entries (in order); reads by key take the first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct TsOptionEntry {
  std::string Key;
  std::string Value;
};

struct TsOptionSection {
  std::string Name;
  std::vector<TsOptionEntry> Entries;  // file order

  // The first entry with this key, or nullptr.
  const std::string* Find(std::string_view key) const;
};

class TsSkinOptions {
 public:
  TsSkinOptions() = default;
  static TsSkinOptions Parse(std::string_view text);
  // Lines already split (as a text list holds them): each is treated as one line.
  static TsSkinOptions ParseLines(const std::vector<std::string>& lines);

  const std::vector<TsOptionSection>& Sections() const { return sections_; }
  bool Empty() const { return sections_.empty(); }
  // The section of that name, or nullptr / -1.
  const TsOptionSection* Section(std::string_view name) const;
  int SectionIndexOf(std::string_view name) const;

  // Direct reads (no inheritance). A missing section or key gives the default.
  // ReadString returns the value as written (so "?" comes back as "?").
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // Not-a-number text gives the default too.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  // True when the upper-cased value is "1" or "TRUE"; a missing key gives the default.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  // The value as written, or nullptr when the key is missing.
  const std::string* Value(std::string_view section, std::string_view key) const;

  // Reads with PARENTCLASS inheritance: a missing key, a non-number or -1 (integers), or
  // "?" (texts) is looked up in the section named by PARENTCLASS, and so on up the chain.
  // The chain ends at an empty or "?" PARENTCLASS, one that names its own section, a
  // missing section, or a section already visited (a cycle); then `def` is returned.
  int32_t ReadIntInherited(std::string_view section, std::string_view key, int32_t def) const;
  std::string ReadStrInherited(std::string_view section, std::string_view key, std::string_view def) const;

 private:
  void AddLine(std::string_view line, int& current);
  std::vector<TsOptionSection> sections_;
  std::unordered_map<std::string, int> index_;  // section name -> position
};

// True for the boolean texts of skin options: upper-cased "1" or "TRUE".
bool OptionBool(std::string_view value);
