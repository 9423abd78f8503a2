#include "product/uninstall/Removal.h"

#include <windows.h>

#include "product/ProductRules.h"
#include "product/uninstall/ProgmanGroup.h"

namespace {

bool Gone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

void RemoveFile(const std::string& path, std::vector<std::string>& leftovers) {
  if (!DeleteFileA(path.c_str()) && !Gone(GetLastError())) leftovers.push_back(path);
}

void RemoveEmptyDirectory(const std::string& path, std::vector<std::string>& leftovers) {
  if (RemoveDirectoryA(path.c_str())) return;
  const DWORD error = GetLastError();
  // A directory still holding the user's files is meant to stay.
  if (!Gone(error) && error != ERROR_DIR_NOT_EMPTY) leftovers.push_back(path);
}

}  // namespace

std::vector<std::string> RemoveInstallation(const UninstallRecord& record, const std::string& installDir) {
  std::vector<std::string> leftovers;
  for (const auto& file : InstalledFiles())
    if (file != "uninstall.exe") RemoveFile(installDir + file, leftovers);
  for (const auto& dir : InstalledDirectories()) RemoveEmptyDirectory(installDir + dir, leftovers);
  RemoveFile(installDir + "uninstall.ini", leftovers);
  // A record without a group names nothing to remove; a group whose name could
  // reach beyond its own folder is not removed and is reported instead.
  if (!ProgmanGroupName(record.group).empty() && !DeleteProgmanGroup(record.group))
    leftovers.push_back("Start menu group \"" + ProgmanGroupName(record.group) + "\"");
  if (record.desktopIcon && IsDesktopLinkPath(record.desktopLink)) RemoveFile(record.desktopLink, leftovers);
  return leftovers;
}
