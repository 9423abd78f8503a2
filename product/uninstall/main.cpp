// uninstall.exe [/quiet]: removes the Kestamor installation it sits in, as
// described by uninstall.ini beside it. /quiet asks nothing and shows nothing.
// Exit codes: 0 removed, 1 removed except for some items, 2 nothing removed
// (no usable record), 3 the user said No.
#include <windows.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "product/ProductRules.h"
#include "product/uninstall/Messages.h"
#include "product/uninstall/Removal.h"
#include "product/uninstall/SelfDelete.h"
#include "product/uninstall/UninstallRecord.h"

namespace {

enum ExitCode { kRemoved = 0, kPartlyRemoved = 1, kNothingRemoved = 2, kCancelled = 3 };

std::string OwnPath() {
  std::vector<char> buffer(MAX_PATH);
  while (true) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

int Uninstall(bool quiet) {
  const std::string self = OwnPath();
  const std::string installDir = DirectoryOf(self);
  UninstallRecord record;
  try {
    record = ReadUninstallRecord(installDir + "uninstall.ini", installDir);
  } catch (const std::runtime_error& e) {
    if (!quiet) ShowError(e.what());
    return kNothingRemoved;
  }
  if (!quiet && !ConfirmRemoval()) return kCancelled;

  const std::vector<std::string> leftovers = RemoveInstallation(record, installDir);
  if (!leftovers.empty() && !quiet) ShowPartialRemoval(leftovers);
  // The copy that removes this file reports the end only when all else went.
  if (!HandOverSelfRemoval(self, installDir, quiet || !leftovers.empty())) {
    if (!quiet && leftovers.empty()) ShowRemoved();
  }
  return leftovers.empty() ? kRemoved : kPartlyRemoved;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  bool quiet = false;
  FinishRequest finish;
  bool finishing = false;
  for (int i = 1; i < __argc; ++i) {
    const std::string arg = __argv[i];
    if (lstrcmpiA(arg.c_str(), "/quiet") == 0) {
      quiet = true;
    } else if (lstrcmpiA(arg.c_str(), kFinishSwitch) == 0 && i + 2 < __argc) {
      finishing = true;
      finish.waitHandle = std::strtoull(__argv[i + 1], nullptr, 10);
      finish.original = __argv[i + 2];
      i += 2;
    }
  }
  if (finishing) {
    finish.quiet = quiet;
    return FinishSelfRemoval(finish);
  }
  return Uninstall(quiet);
}
