#include "installer/InstallPaths.h"

std::string WithTrailingBackslash(const std::string& path) {
  if (path.empty() || path.back() == '\\') return path;
  return path + "\\";
}

std::string ProposedInstallFolder(const std::string& programFilesDir) {
  return WithTrailingBackslash(programFilesDir) + "Kestamor";
}

std::string FallbackProgramFilesDir(const std::string& fromShell) {
  return fromShell.empty() ? "C:\\Program Files\\" : fromShell;
}

bool IsAbsolutePath(const std::string& path) {
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (path.size() >= 3 && letter(path[0]) && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) return true;
  // \\server\share: a server name and a share name, both not empty.
  if (path.size() < 5 || path.compare(0, 2, "\\\\") != 0) return false;
  const size_t share = path.find('\\', 2);
  return share != std::string::npos && share > 2 && share + 1 < path.size() && path[share + 1] != '\\';
}
