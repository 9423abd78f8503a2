#include "product/uninstall/SelfDelete.h"

#include <windows.h>

#include <cstdint>

#include "product/ProductRules.h"
#include "product/uninstall/Messages.h"

namespace {

constexpr DWORD kOriginalExitWaitMs = 30000;
constexpr int kDeleteAttempts = 100;  // 10 s: the ended image may stay mapped a moment
constexpr DWORD kDeleteRetryMs = 100;

class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~Handle() {
    if (h_ != nullptr) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HANDLE h_;
};

std::string TempFolder() {
  char buffer[MAX_PATH + 1];
  const DWORD n = GetTempPathA(sizeof buffer, buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

bool DeleteWithRetries(const std::string& path) {
  for (int attempt = 0; attempt < kDeleteAttempts; ++attempt) {
    if (DeleteFileA(path.c_str())) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
    Sleep(kDeleteRetryMs);
  }
  return false;
}

void RemoveAtRestart(const std::string& self, const std::string& installDir) {
  MoveFileExA(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  MoveFileExA(installDir.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace

bool HandOverSelfRemoval(const std::string& self, const std::string& installDir, bool quiet) {
  const std::string temp = TempFolder();
  const std::string copy = temp + "Kestamor-uninstall-" + std::to_string(GetCurrentProcessId()) + ".exe";
  if (temp.empty() || !CopyFileA(self.c_str(), copy.c_str(), FALSE)) {
    RemoveAtRestart(self, installDir);
    return false;
  }
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  // Only delete access: the loader's own open of the copy must not conflict with it.
  Handle copyFile(CreateFileA(copy.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inherit, OPEN_EXISTING,
                              FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  HANDLE selfProcess = nullptr;
  if (!copyFile || !DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &selfProcess,
                                    SYNCHRONIZE, TRUE, 0)) {
    if (!copyFile) DeleteFileA(copy.c_str());
    RemoveAtRestart(self, installDir);
    return false;
  }
  Handle selfProcessHandle(selfProcess);

  std::string commandLine = "\"" + copy + "\" " + kFinishSwitch + " " +
                            std::to_string(reinterpret_cast<std::uintptr_t>(selfProcess)) + " \"" + self + "\"";
  if (quiet) commandLine += " /quiet";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // The copy runs from the temporary folder: a current directory inside the
  // install directory would keep that directory from being removed.
  if (!CreateProcessA(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, temp.c_str(), &startup,
                      &process)) {
    RemoveAtRestart(self, installDir);
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

int FinishSelfRemoval(const FinishRequest& request) {
  // The handle value was inherited from the original; it is only waited on.
  HANDLE original = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(request.waitHandle));
  if (original != nullptr) {
    WaitForSingleObject(original, kOriginalExitWaitMs);
    CloseHandle(original);
  }
  const std::string installDir = DirectoryOf(request.original);
  const bool removed = DeleteWithRetries(request.original);
  if (!installDir.empty()) RemoveDirectoryA(installDir.c_str());  // stays when the user keeps files there
  if (!removed) {
    RemoveAtRestart(request.original, installDir);
    if (!request.quiet) ShowPartialRemoval({request.original});
    return 1;
  }
  if (!request.quiet) ShowRemoved();
  return 0;
}
