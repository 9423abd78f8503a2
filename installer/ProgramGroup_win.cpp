// The Start-menu program group, made by the shell's Program Manager service over DDE.
#include "framework/DdeMan.h"
#include "installer/InstallSequence.h"
#include "installer/Unit1.h"

// Best effort on the UI thread (where the DDE instance lives): when nobody answers, nothing is
// sent; the asynchronous execute is not waited for.
void TForm1::CreateProgramGroup() {
  DdeClient->SetConnectMode(TDataMode::ddeManual);
  DdeClient->SetLink("PROGMAN", "PROGMAN");
  DdeClient->OpenLink();
  const std::vector<std::string> commands =
      ProgramGroupCommands(Installer.ProgramGroupName, Installer.InstallDirectory);
  DdeClient->ExecuteMacroLines(commands, false);
  DdeClient->CloseLink();
}
