// The uninstall record (uninstall.ini, section "main_section") the installer
// leaves beside the uninstaller.
#pragma once

#include <string>

struct UninstallRecord {
  std::string mainExecutable;  // u_path: install directory + "kestamor.exe"
  std::string group;           // u_group: the Start-menu program group
  bool desktopIcon = false;    // u_ico: "1" when a desktop link was made
  std::string desktopLink;     // u_ico_path: the link, or "..." when none was made
};

// Reads the record and checks that it describes the installation in
// installDir (ending in "\"). Throws std::runtime_error with a message for
// the user when the file is missing or unreadable, lacks u_path, or names
// another directory: the uninstaller then removes nothing.
UninstallRecord ReadUninstallRecord(const std::string& iniPath, const std::string& installDir);

// The full, long form of a path, for comparing two spellings of one location
// ("C:\PROGRA~1\x", "c:/program files/x/"). Directories keep a trailing "\".
std::string CanonicalPath(const std::string& path);
