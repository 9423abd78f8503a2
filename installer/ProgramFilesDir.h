// Where the wizard proposes to install: the machine's Program Files directory.
#pragma once

#include <stdexcept>
#include <string>

// A registry read that failed; the message is shown to the user as it stands.
class ERegistryException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "ProgramFilesDir" under HKEY_LOCAL_MACHINE "SOFTWARE\Microsoft\Windows\CurrentVersion",
// opened with full access and never created. A string is returned as stored, an
// expandable string with its %Name% references expanded; an absent key or value gives "".
// A value of any other type raises ERegistryException "Invalid data type for 'ProgramFilesDir'".
std::string ReadProgramFilesDirValue();

// The shell's Program Files folder, or "" when the shell does not know it.
std::string ShellProgramFilesDir();
