#include "installer/InstallMessages.h"

namespace install_message {

const char kDirectoryFailure[] =
    "It is impossible to create a working directory of the program on the specified path. Select other path for "
    "program installation.";

namespace {

// The file on a line of its own, then the system's reason as a sentence.
std::string FileAndReason(const std::string& path, const std::string& reason) {
  return "\n\n" + path + "\n\n" + reason + ".";
}

}  // namespace

std::string TargetInUse(const std::string& path, const std::string& reason) {
  return "This file is in use and cannot be replaced:" + FileAndReason(path, reason) +
         "\n\nClose Kestamor, and any other program that uses this file, then choose Retry.";
}

std::string TargetNotWritten(const std::string& path, const std::string& reason) {
  return "This file cannot be written:" + FileAndReason(path, reason) +
         "\n\nChoose Retry to try again, or Cancel to stop the installation.";
}

std::string InstallerDamaged(const std::string& file) {
  return "The installer file is damaged: " + file +
         " could not be unpacked.\n\nPlease download the installer again.";
}

std::string InstallerNotRead(const std::string& path, const std::string& reason) {
  return "The installer cannot read its own file:" + FileAndReason(path, reason) +
         "\n\nPlease download the installer again.";
}

std::string UninstallRecordNotWritten(const std::string& path, const std::string& reason) {
  return "The uninstall information cannot be written:" + FileAndReason(path, reason);
}

std::string Stopped(const std::string& reason) { return "The installation has stopped:\n\n" + reason + "."; }

const char kStopQuestion[] = "Stop the installation?";
const char kStoppedStatus[] = "Installation stopped.";

std::string StoppedOutcome(bool earlierInstallation, const std::vector<std::string>& notUndone) {
  if (notUndone.empty())
    return earlierInstallation ? "The installation was stopped; the earlier Kestamor is as it was."
                               : "Kestamor was not installed; nothing was changed.";
  std::string text = "The installation was stopped, but these could not be put back as they were:\n";
  for (const std::string& name : notUndone) text += "\n" + name;
  return text;
}

}  // namespace install_message
