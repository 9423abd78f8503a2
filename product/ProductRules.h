// What the demo product's programs know about an installation, kept free of
// Windows calls: the installed layout, the instance identifier, and the
// checks the uninstaller makes before it deletes anything named by its record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "product/InstanceIdentifier.h"

// The eight installed files, relative to the install directory.
const std::vector<std::string>& InstalledFiles();

// The installed directories below the install directory, in an order in
// which each one is empty once the ones before it are gone (children first).
const std::vector<std::string>& InstalledDirectories();

// The Program Manager name of the group as the installer made it: double
// quotes are dropped there, since they would end the command's argument.
std::string ProgmanGroupName(const std::string& group);

// Whether "[DeleteGroup(...)]" with this name can only remove that group.
// The shell deletes Programs + "\" + name recursively, so an empty name, one
// that is only blanks, or one with a "." or ".." component or a drive or root
// would remove far more than the product's group.
bool IsRemovableGroupName(const std::string& group);

// "[DeleteGroup("<name>")]" for the group.
std::string DeleteGroupCommand(const std::string& group);

// Whether the recorded desktop link may be deleted: a ".lnk" file named by a
// full path (anything else in the record is not a link the installer made).
bool IsDesktopLinkPath(const std::string& path);

// The directory part of a Windows path including its last "\" or "/"; "" if none.
std::string DirectoryOf(const std::string& path);
