// The installation worker: directories, payload records, program group, desktop link and
// uninstall record, reporting each step to the wizard window on the UI thread. It works from
// a snapshot of the user's choices taken when Install was pressed and owns everything it
// reads, so nothing the wizard does afterwards (or its end) changes what it writes. The whole
// installation is one transaction: a stop, a failure or a close undoes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Thread.h"
#include "installer/InstallRun.h"

// The user's choices, as they stood when Install was pressed.
struct InstallChoices {
  std::string Directory;     // ends in "\"
  std::string ProgramGroup;  // the group's name as the group step uses it
  bool DesktopIcon = false;
  std::string PayloadFile;   // where the records are read
  std::int64_t PayloadOffset = 0;
  void* Owner = nullptr;     // the wizard's window, owner of the desktop folder lookup
};

// What a completed installation made: what the finish page launches and the record names.
struct InstallResult {
  std::string MainExecutablePath;
  std::string ProgramGroupName;
  bool DesktopIcon = false;
  std::string DesktopShortcutPath;  // empty without a desktop icon
};

class unpack_thread : public TThread {
 public:
  // Created suspended; frees itself when its body returns and runs one step below normal.
  unpack_thread(InstallChoices choices, std::shared_ptr<InstallRun> run);
  FRAMEWORK_CLASS(unpack_thread)

 protected:
  void Execute() override;

 private:
  const InstallChoices choices_;
  const std::shared_ptr<InstallRun> run_;
};
