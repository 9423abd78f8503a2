// The window-creation hook. The installer's code never names the skin: every top-level window
// of the application that is created or activated while a skin is active gets its skin
// handler here — a run-time provider for a form of ours, a dialog handler for a native
// dialog — unless it has one already, is one of the engine's own windows, or the skin
// manager's rules leave its kind alone.
#pragma once

#include <windows.h>

#include "skin/frame/acProviderList.h"

// The thread's CBT hook procedure; set while the default manager's skin is active.
LRESULT CALLBACK acCbtHookProc(int code, WPARAM wParam, LPARAM lParam);
// Gives the window its skin handler when the rules allow; true when something was attached.
// `created` is the creation record while the window is being created.
bool acAttach(HWND wnd, const CREATESTRUCTA* created = nullptr);
// Makes the hook follow the engine's default manager from now on (once per process).
void acJoinHook();
