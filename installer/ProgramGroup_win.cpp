// The Start-menu program group, made and removed by the shell's Program Manager service over DDE.
#include "installer/ProgramGroup_win.h"

#include <windows.h>
#include <shlobj.h>

#include "framework/DdeMan.h"
#include "installer/InstallSequence.h"
#include "installer/Unit1.h"

namespace {

std::string ProgramsFolder(int csidl) {
  char path[MAX_PATH] = {};
  return SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK ? path : "";
}

bool GroupFolderExists(int csidl, const std::string& group) {
  const std::string folder = ProgramsFolder(csidl);
  if (folder.empty()) return false;
  const DWORD attributes = GetFileAttributesA((folder + "\\" + ProgramGroupFolderName(group)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Program Manager is the service and its own topic; it is started from the Windows directory
// by its full path, never found by a search that starts in the installer's own folder.
void LinkToProgramManager(TDdeClientConv& dde) {
  char windows[MAX_PATH] = {};
  const UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
  dde.SetConnectMode(TDataMode::ddeManual);
  dde.SetServiceApplication(n > 0 && n < MAX_PATH ? std::string(windows, n) + "\\progman.exe" : std::string());
  dde.SetLink("PROGMAN", "PROGMAN");
  dde.OpenLink();
}

}  // namespace

bool ProgramGroupExists(const std::string& group) {
  return GroupFolderExists(CSIDL_PROGRAMS, group) || GroupFolderExists(CSIDL_COMMON_PROGRAMS, group);
}

// Best effort on the UI thread (where the DDE instance lives): when nobody answers, nothing is
// sent; the asynchronous execute is not waited for.
void TForm1::CreateProgramGroup(const std::string& group, const std::string& installDir) {
  LinkToProgramManager(*DdeClient);
  DdeClient->ExecuteMacroLines(ProgramGroupCommands(group, installDir), false);
  DdeClient->CloseLink();
}

// Undoing an installation: the removal is waited for, so that its outcome can be told.
bool TForm1::DeleteProgramGroup(const std::string& group) {
  LinkToProgramManager(*DdeClient);
  DdeClient->ExecuteMacroLines({ProgramGroupDeleteCommand(group)}, true);
  DdeClient->CloseLink();
  return !ProgramGroupExists(group);
}
