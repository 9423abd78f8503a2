// Program entry: the wizard window is the main form; the message loop runs until it closes.
#include <windows.h>

#include "framework/Forms.h"
#include "installer/Unit1.h"
#include "skin/data/sSkinManager_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application->Initialize();
  acEngineStartup(CommandLineArgs());
  Application->CreateForm(Form1);
  Application->Run();
  return 0;
}
