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
