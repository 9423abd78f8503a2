#include "product/ProductRules.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

const std::vector<std::string>& InstalledFiles() {
  static const std::vector<std::string> files{
      "kestamor.exe",       "help.chm",        "uninstall.exe",      "kestamor.ini",
      "sounds\\endgame.wav", "sounds\\free.wav", "sounds\\newnews.wav", "sounds\\wingame.wav"};
  return files;
}

const std::vector<std::string>& InstalledDirectories() {
  static const std::vector<std::string> dirs{"Data\\b", "Data\\e", "Data\\h", "Data\\s", "Data\\t",
                                             "Data\\u", "Data\\w", "Data",    "sounds"};
  return dirs;
}

std::string ProgmanGroupName(const std::string& group) {
  std::string name = group;
  std::erase(name, '"');
  return name;
}

bool IsRemovableGroupName(const std::string& group) {
  const std::string name = ProgmanGroupName(group);
  if (name.empty() || IsSeparator(name.front()) || name.find(':') != std::string::npos) return false;
  // Every component must name something: Windows drops trailing blanks and dots,
  // so "a\ .\b" or "..\x" would climb out of or collapse onto the Programs folder.
  std::size_t start = 0;
  while (true) {
    std::size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    std::string_view part(name.data() + start, end - start);
    while (!part.empty() && (part.back() == ' ' || part.back() == '.')) part.remove_suffix(1);
    if (part.empty()) return false;
    if (end == name.size()) return true;
    start = end + 1;
  }
}

std::string DeleteGroupCommand(const std::string& group) {
  return "[DeleteGroup(\"" + ProgmanGroupName(group) + "\")]";
}

bool IsDesktopLinkPath(const std::string& path) {
  const bool drivePath = path.size() > 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
                         IsSeparator(path[2]);
  const bool uncPath = path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
  return (drivePath || uncPath) && path.size() > 4 && !IsSeparator(path[path.size() - 5]) &&
         EqualsNoCase(std::string_view(path).substr(path.size() - 4), ".lnk");
}

std::string DirectoryOf(const std::string& path) {
  const auto pos = path.find_last_of("\\/");
  return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}
