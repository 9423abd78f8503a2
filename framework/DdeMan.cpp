#include "framework/DdeMan.h"

namespace {

HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

class DdeManager {
 public:
  DdeManager() {
    if (DdeInitializeA(&instance_, ClientCallback, APPCLASS_STANDARD, 0) != DMLERR_NO_ERROR) instance_ = 0;
  }
  ~DdeManager() {
    if (instance_) DdeUninitialize(instance_);
  }
  DdeManager(const DdeManager&) = delete;
  DdeManager& operator=(const DdeManager&) = delete;
  DWORD Instance() const { return instance_; }

 private:
  DWORD instance_ = 0;
};

// Show command of a service program started to answer a conversation.
constexpr UINT kServiceShowCommand = SW_SHOWMINNOACTIVE;

}  // namespace

DWORD DdeInstance() {
  static DdeManager manager;
  return manager.Instance();
}

std::string DdeExecuteData(const std::vector<std::string>& lines) {
  std::string data;
  for (const std::string& line : lines) data += line + "\r\n";
  data += '\0';
  return data;
}

TDdeClientConv::TDdeClientConv(TComponent* AOwner) : TComponent(AOwner) { DdeInstance(); }

TDdeClientConv::~TDdeClientConv() { CloseLink(); }

bool TDdeClientConv::SetLink(const std::string& service, const std::string& topic) {
  CloseLink();
  service_ = service;
  topic_ = topic;
  return connectMode_ == TDataMode::ddeAutomatic ? OpenLink() : true;
}

bool TDdeClientConv::OpenLink() {
  const DWORD instance = DdeInstance();
  if (conv_) return true;
  if (!instance || service_.empty()) return false;
  FreeStringHandles();
  serviceHandle_ = DdeCreateStringHandleA(instance, service_.c_str(), CP_WINANSI);
  topicHandle_ = DdeCreateStringHandleA(instance, topic_.c_str(), CP_WINANSI);
  CONVCONTEXT context{};
  context.cb = sizeof(context);
  context.iCodePage = CP_WINANSI;
  conv_ = DdeConnect(instance, serviceHandle_, topicHandle_, &context);
  if (!conv_) {
    // Quoted, so that a path with blanks names one program and nothing shorter.
    const std::string program = serviceApplication_.empty() ? service_ : serviceApplication_;
    const std::string command = "\"" + program + "\" " + topic_;
    if (WinExec(command.c_str(), kServiceShowCommand) >= 32)
      conv_ = DdeConnect(instance, serviceHandle_, topicHandle_, &context);
  }
  if (!conv_) {
    FreeStringHandles();
    return false;
  }
  CONVINFO info{};
  info.cb = sizeof(info);
  format_ = CF_TEXT;
  if (DdeQueryConvInfo(conv_, QID_SYNC, &info) && info.wFmt) format_ = info.wFmt;
  return true;
}

void TDdeClientConv::CloseLink() {
  if (conv_) {
    DdeSetUserHandle(conv_, QID_SYNC, 0);
    DdeDisconnect(conv_);
    conv_ = nullptr;
  }
  FreeStringHandles();
  service_.clear();
  topic_.clear();
}

void TDdeClientConv::FreeStringHandles() {
  const DWORD instance = DdeInstance();
  if (serviceHandle_) DdeFreeStringHandle(instance, serviceHandle_);
  if (topicHandle_) DdeFreeStringHandle(instance, topicHandle_);
  serviceHandle_ = topicHandle_ = nullptr;
}

bool TDdeClientConv::ExecuteMacroLines(const std::vector<std::string>& lines, bool wait) {
  if (!conv_ || lines.empty()) return false;
  std::string data = DdeExecuteData(lines);
  HDDEDATA handle = DdeCreateDataHandle(DdeInstance(), reinterpret_cast<LPBYTE>(data.data()),
                                        static_cast<DWORD>(data.size()), 0, nullptr, format_, 0);
  if (!handle) return false;
  // A data handle passed to a transaction belongs to the system from then on.
  const HDDEDATA result = DdeClientTransaction(reinterpret_cast<LPBYTE>(handle), static_cast<DWORD>(-1), conv_,
                                               nullptr, format_, XTYP_EXECUTE, wait ? 10000 : TIMEOUT_ASYNC, nullptr);
  return result != nullptr;
}
