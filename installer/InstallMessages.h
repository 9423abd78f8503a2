// What the user is told when an installation stops, all in one place. Paths and reasons
// are 8-bit strings in the system code page; a reason is the system's own text for an error.
#pragma once

#include <string>
#include <vector>

namespace install_message {

// A directory of the installation cannot be made; the user picks another path.
extern const char kDirectoryFailure[];

// A target file is held open by another program (typically Kestamor itself, still running).
std::string TargetInUse(const std::string& path, const std::string& reason);
// A target file cannot be created or written for any other reason (read-only, access
// denied, disk full, ...).
std::string TargetNotWritten(const std::string& path, const std::string& reason);
// A payload record is damaged; `file` is the installed file it should have become.
std::string InstallerDamaged(const std::string& file);
// The installer's own file cannot be opened or read.
std::string InstallerNotRead(const std::string& path, const std::string& reason);
std::string UninstallRecordNotWritten(const std::string& path, const std::string& reason);
// Any other failure; `reason` is the failure's own text.
std::string Stopped(const std::string& reason);

// Asked when the window is closed while an installation runs.
extern const char kStopQuestion[];
// The status line once an installation has been undone.
extern const char kStoppedStatus[];
// What state the computer is in after an installation was undone: as it was (with or without
// an earlier installation), or which files, folders or group could not be put back.
std::string StoppedOutcome(bool earlierInstallation, const std::vector<std::string>& notUndone);

}  // namespace install_message
