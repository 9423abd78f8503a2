#include "product/uninstall/ProgmanGroup.h"

#include <windows.h>
#include <ddeml.h>
#include <shlobj.h>

#include "product/ProductRules.h"

namespace {

constexpr DWORD kExecuteTimeoutMs = 10000;

HDDEDATA CALLBACK DdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// One DDEML client instance with the service and topic names, freed in reverse.
class DdeClient {
 public:
  DdeClient() {
    if (DdeInitializeA(&instance_, DdeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) instance_ = 0;
    if (instance_ != 0) progman_ = DdeCreateStringHandleA(instance_, "PROGMAN", CP_WINANSI);
  }
  ~DdeClient() {
    if (conversation_ != nullptr) DdeDisconnect(conversation_);
    if (progman_ != nullptr) DdeFreeStringHandle(instance_, progman_);
    if (instance_ != 0) DdeUninitialize(instance_);
  }
  DdeClient(const DdeClient&) = delete;
  DdeClient& operator=(const DdeClient&) = delete;

  bool Connect() {
    if (progman_ == nullptr) return false;
    conversation_ = DdeConnect(instance_, progman_, progman_, nullptr);
    return conversation_ != nullptr;
  }

  // A synchronous execute: the group is gone (or refused) when this returns.
  bool Execute(const std::string& command) {
    std::string data = command;
    data.push_back('\0');
    DWORD result = 0;
    return DdeClientTransaction(reinterpret_cast<LPBYTE>(data.data()), static_cast<DWORD>(data.size()),
                                conversation_, nullptr, CF_TEXT, XTYP_EXECUTE, kExecuteTimeoutMs,
                                &result) != nullptr;
  }

 private:
  DWORD instance_ = 0;
  HSZ progman_ = nullptr;
  HCONV conversation_ = nullptr;
};

bool FolderExists(int csidl, const std::string& group) {
  char programs[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, programs))) return false;
  const std::string path = std::string(programs) + "\\" + ProgmanGroupName(group);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool ProgramGroupExists(const std::string& group) {
  return FolderExists(CSIDL_PROGRAMS, group) || FolderExists(CSIDL_COMMON_PROGRAMS, group);
}

bool DeleteProgmanGroup(const std::string& group) {
  if (!IsRemovableGroupName(group)) return false;
  if (!ProgramGroupExists(group)) return true;
  {
    DdeClient client;
    if (client.Connect()) client.Execute(DeleteGroupCommand(group));
  }
  // The service's answer says little (a group made for all users may be
  // refused): what counts is whether the folder is gone.
  return !ProgramGroupExists(group);
}
