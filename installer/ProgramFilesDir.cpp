#include "installer/ProgramFilesDir.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "framework/Handles.h"

namespace {

constexpr char kKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kValueName[] = "ProgramFilesDir";

// %Name% references replaced by the environment's values; a reference that cannot be
// expanded stays as it is (and the text is then no absolute path).
std::string ExpandedText(const std::string& text) {
  const DWORD n = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (n == 0) return text;
  std::vector<char> out(n + 1, '\0');
  if (ExpandEnvironmentStringsA(text.c_str(), out.data(), n + 1) == 0) return text;
  return std::string(out.data());
}

}  // namespace

std::string ReadProgramFilesDirValue() {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKeyPath, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return {};
  const UniqueKey key(opened);
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), kValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException(std::string("Invalid data type for '") + kValueName + "'");
  std::vector<char> buf(size + 1, '\0');
  if (RegQueryValueExA(key.get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) !=
      ERROR_SUCCESS)
    return {};
  const std::string value(buf.data());  // stops at the stored terminator, if any
  return type == REG_EXPAND_SZ ? ExpandedText(value) : value;
}

std::string ShellProgramFilesDir() {
  char path[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return path;
}
