// The desktop link to the installed program, made on the worker thread.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "framework/ComObj.h"
#include "installer/Unit1.h"

namespace {

constexpr char kLinkDescription[] = "Click here to start Kestamor";

// The desktop's file-system folder with a closing "\", or empty when the shell has none.
std::string DesktopDirectory(HWND owner) {
  PIDLIST_ABSOLUTE items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_DESKTOPDIRECTORY, &items)) || !items) return {};
  char path[MAX_PATH] = {};
  const BOOL ok = SHGetPathFromIDListA(items, path);
  ComRef<IMalloc> allocator;
  if (SUCCEEDED(SHGetMalloc(reinterpret_cast<IMalloc**>(allocator.out())))) allocator->Free(items);
  std::string dir = ok ? path : "";
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir;
}

std::wstring Wide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(n > 0 ? n : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
  wide.resize(wide.size() - 1);
  return wide;
}

}  // namespace

std::string TForm1::DesktopShortcutPath(HWND owner) { return DesktopDirectory(owner) + kDesktopLinkName; }

// Best effort: a link that cannot be made or saved is not reported.
void TForm1::CreateDesktopShortcut(const std::string& linkPath, const std::string& installDir) {
  ComInitScope com;
  ComRef<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out()))) return;
  const std::string target = installDir + "kestamor.exe";
  link->SetPath(target.c_str());
  link->SetDescription(kLinkDescription);
  ComRef<IPersistFile> file;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.out()))) file->Save(Wide(linkPath).c_str(), TRUE);
}
