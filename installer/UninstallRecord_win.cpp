// uninstall.ini in the install directory, read by the product's uninstaller.
#include <windows.h>

#include <string>

#include "installer/FileError_win.h"
#include "installer/Unit1.h"

namespace {

constexpr char kSection[] = "main_section";

// The profile functions cache a file; closing flushes it to disk, on every path.
class UninstallRecord {
 public:
  explicit UninstallRecord(std::string fileName) : file_(std::move(fileName)) {}
  ~UninstallRecord() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, file_.c_str()); }
  UninstallRecord(const UninstallRecord&) = delete;
  UninstallRecord& operator=(const UninstallRecord&) = delete;

  void Write(const char* key, const std::string& value) {
    if (!WritePrivateProfileStringA(kSection, key, value.c_str(), file_.c_str())) {
      const DWORD code = GetLastError();
      throw EFileError(EFileError::Access::Write, file_, code);
    }
  }

 private:
  std::string file_;
};

}  // namespace

void TForm1::WriteUninstallRecord(bool desktopIcon) {
  UninstallRecord record(Installer.InstallDirectory + "uninstall.ini");
  record.Write("u_path", Installer.MainExecutablePath);
  record.Write("u_group", Installer.ProgramGroupName);
  record.Write("u_ico", desktopIcon ? "1" : "0");
  record.Write("u_ico_path", desktopIcon ? Installer.DesktopShortcutPath : std::string("..."));
}
