#include "installer/Directories_win.h"

#include <windows.h>

namespace {

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "C:" and "\\server\share" name roots that cannot be made, only found.
bool IsRoot(const std::string& path) {
  if (path.size() == 2 && path[1] == ':') return true;
  if (path.rfind("\\\\", 0) == 0) return path.find('\\', path.find('\\', 2) + 1) == std::string::npos;
  return false;
}

}  // namespace

bool ForceDirectories(std::string dir, std::vector<std::string>* made) {
  while (dir.size() > 1 && dir.back() == '\\') dir.pop_back();
  if (dir.empty() || dir == "\\") return false;
  if (IsRoot(dir)) return IsDirectory(dir + "\\");
  if (IsDirectory(dir)) return true;
  const size_t cut = dir.find_last_of('\\');
  if (cut != std::string::npos && cut > 0 && !ForceDirectories(dir.substr(0, cut), made)) return false;
  if (CreateDirectoryA(dir.c_str(), nullptr)) {
    if (made) made->push_back(dir);
    return true;
  }
  return IsDirectory(dir);
}
