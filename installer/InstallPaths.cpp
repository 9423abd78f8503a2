#include "installer/InstallPaths.h"

std::string WithTrailingBackslash(const std::string& path) {
  if (path.empty() || path.back() == '\\') return path;
  return path + "\\";
}

std::string ProposedInstallFolder(const std::string& programFilesDir) {
  return WithTrailingBackslash(programFilesDir) + "Kestamor";
}

std::string ChooseProgramFilesDir(const std::string& fromRegistry, const std::string& fromShell) {
  if (!fromRegistry.empty()) return fromRegistry;
  if (!fromShell.empty()) return fromShell;
  return "C:\\Program Files\\";
}
