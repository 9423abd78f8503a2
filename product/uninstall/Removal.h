// Removal of what the installer made, apart from the uninstaller itself and
// the install directory (see SelfDelete.h).
#pragma once

#include <string>
#include <vector>

#include "product/uninstall/UninstallRecord.h"

// Deletes the installed files, the installed directories that are empty, the
// uninstall record, the program group and the recorded desktop link. Files
// the user added stay, and so do the directories holding them. Returns what
// should have gone but could not (in use, no access, the group refused).
std::vector<std::string> RemoveInstallation(const UninstallRecord& record, const std::string& installDir);
