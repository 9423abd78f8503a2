// uninstall.ini in the install directory, read by the product's uninstaller.
#include <windows.h>

#include <string>

#include "framework/Handles.h"
#include "installer/FileError_win.h"
#include "installer/Unit1.h"
#include "installer/unpack_thread_unit.h"

namespace {

constexpr char kSection[] = "main_section";

// The profile functions cache a file; it is written out on every path, and Close() makes
// sure that it reached the disk.
class UninstallRecord {
 public:
  explicit UninstallRecord(std::string fileName) : file_(std::move(fileName)) {}
  ~UninstallRecord() {
    if (!closed_) WritePrivateProfileStringA(nullptr, nullptr, nullptr, file_.c_str());
  }
  UninstallRecord(const UninstallRecord&) = delete;
  UninstallRecord& operator=(const UninstallRecord&) = delete;

  void Write(const char* key, const std::string& value) {
    if (!WritePrivateProfileStringA(kSection, key, value.c_str(), file_.c_str())) {
      const DWORD code = GetLastError();
      throw EFileError(EFileError::Access::Write, file_, code);
    }
  }

  // The flush request itself reports nothing useful (Wine answers false on success), so the
  // file written out is opened and flushed to the disk, and its close is checked.
  void Close() {
    closed_ = true;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file_.c_str());
    UniqueKernelHandle file(CreateFileA(file_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) file.release();
    if (!file || !FlushFileBuffers(file.get()) || !CloseHandle(file.release())) {
      const DWORD code = GetLastError();
      throw EFileError(EFileError::Access::Write, file_, code);
    }
  }

 private:
  std::string file_;
  bool closed_ = false;
};

}  // namespace

void TForm1::WriteUninstallRecord(const std::string& file, const InstallResult& installed) {
  UninstallRecord record(file);
  record.Write("u_path", installed.MainExecutablePath);
  record.Write("u_group", installed.ProgramGroupName);
  record.Write("u_ico", installed.DesktopIcon ? "1" : "0");
  record.Write("u_ico_path", installed.DesktopIcon ? installed.DesktopShortcutPath : std::string("..."));
  record.Close();
}
