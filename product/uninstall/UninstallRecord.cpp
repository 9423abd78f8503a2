#include "product/uninstall/UninstallRecord.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "product/ProductRules.h"

namespace {

constexpr char kSection[] = "main_section";

std::string ReadKey(const char* key, const std::string& iniPath) {
  std::vector<char> buffer(4096);
  const DWORD n = GetPrivateProfileStringA(kSection, key, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                           iniPath.c_str());
  return std::string(buffer.data(), n);
}

}  // namespace

std::string CanonicalPath(const std::string& path) {
  char full[MAX_PATH * 4];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return path;
  std::string result(full, n);
  char longer[MAX_PATH * 4];
  n = GetLongPathNameA(result.c_str(), longer, sizeof longer);
  if (n > 0 && n < sizeof longer) result.assign(longer, n);
  return result;
}

UninstallRecord ReadUninstallRecord(const std::string& iniPath, const std::string& installDir) {
  // The profile functions return defaults for a file they cannot open, so the
  // file is opened once first to tell "missing" from "empty".
  HANDLE file = CreateFileA(iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw std::runtime_error("The uninstall information " + iniPath +
                             " cannot be read. Nothing has been removed.");
  CloseHandle(file);

  UninstallRecord record;
  record.mainExecutable = ReadKey("u_path", iniPath);
  record.group = ReadKey("u_group", iniPath);
  record.desktopIcon = ReadKey("u_ico", iniPath) == "1";
  record.desktopLink = ReadKey("u_ico_path", iniPath);
  if (record.mainExecutable.empty())
    throw std::runtime_error("The uninstall information " + iniPath +
                             " is incomplete. Nothing has been removed.");
  // Only the installation this uninstaller belongs to is removed, whatever
  // the record says: a record naming another folder is refused.
  const std::string recorded = DirectoryOf(record.mainExecutable);
  if (recorded.empty() || lstrcmpiA(CanonicalPath(recorded).c_str(), CanonicalPath(installDir).c_str()) != 0)
    throw std::runtime_error("The uninstall information " + iniPath + " describes an installation in " +
                             (recorded.empty() ? record.mainExecutable : recorded) +
                             ", not this one. Nothing has been removed.");
  return record;
}
