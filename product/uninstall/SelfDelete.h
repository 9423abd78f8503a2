// Removing the uninstaller's own file, which cannot be deleted while it runs.
//
// The running uninstaller copies itself to the temporary folder, opens the copy
// with delete-on-close through an inheritable handle and starts it, handing it
// an inheritable handle on its own process. The copy waits for the original to
// end, deletes the original file and the then empty install directory, and
// ends; its file goes when the last handle to it (the inherited one) closes.
#pragma once

#include <string>

// The switch that makes the uninstaller the finishing copy.
inline constexpr char kFinishSwitch[] = "/finish";

struct FinishRequest {
  std::string original;     // the uninstaller to delete
  unsigned long long waitHandle = 0;  // the original's process handle, inherited
  bool quiet = false;       // no message at the end
};

// Starts the finishing copy; the caller should end soon after. When no copy
// can be started, marks the file and directory for removal at the next
// restart and returns false.
bool HandOverSelfRemoval(const std::string& self, const std::string& installDir, bool quiet);

// Work of the finishing copy. Returns the process exit code.
int FinishSelfRemoval(const FinishRequest& request);
