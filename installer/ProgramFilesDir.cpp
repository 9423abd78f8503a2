#include "installer/ProgramFilesDir.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace {

constexpr char kKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kValueName[] = "ProgramFilesDir";

class RegKey {
 public:
  RegKey(HKEY root, const char* path, REGSAM access) {
    if (RegOpenKeyExA(root, path, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::string ReadProgramFilesDirValue() {
  RegKey key(HKEY_LOCAL_MACHINE, kKeyPath, KEY_ALL_ACCESS);
  if (!key.get()) return {};
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), kValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException(std::string("Invalid data type for '") + kValueName + "'");
  std::vector<char> buf(size + 1, '\0');
  if (RegQueryValueExA(key.get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) !=
      ERROR_SUCCESS)
    return {};
  return std::string(buf.data());  // stops at the stored terminator, if any
}

std::string ShellProgramFilesDir() {
  char path[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return path;
}
