#include "installer/unpack_thread_unit.h"

#include <windows.h>
#include <objbase.h>

#include <array>
#include <functional>

#include "installer/Directories_win.h"
#include "installer/InstallSequence.h"
#include "installer/PayloadLayout.h"
#include "installer/PayloadRecord_win.h"
#include "installer/Unit1.h"

namespace {

// Runs `work` with the wizard window on the UI thread and waits. A window that is already
// gone, or a UI thread that no longer takes hand-offs (the user closed the window while the
// worker ran), ends the worker silently.
void OnWizard(TThread* worker, const std::function<void(TForm1&)>& work) {
  bool done = false;
  TThread::Synchronize(worker, [&] {
    if (!Form1) return;
    work(*Form1);
    done = true;
  });
  if (!done) Abort();
}

void Step(TThread* worker, const ProgressStep& step, bool pause = false) {
  OnWizard(worker, [&](TForm1& form) { form.ShowProgressStep(step); });
  if (pause) Sleep(kStepPauseMs);
}

// Appends the instance identifier after record 1's content; a GUID the system cannot make
// fails the record like a bad write would.
void WriteInstanceId(PayloadOutput& out) {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) throw EPayloadRecordError("Cannot create the instance identifier");
  std::array<uint8_t, 8> tail;
  for (size_t i = 0; i < tail.size(); ++i) tail[i] = guid.Data4[i];
  const std::string id = InstanceIdText(guid.Data1, guid.Data2, guid.Data3, tail);
  out.Write(id.data(), id.size());
}

}  // namespace

unpack_thread::unpack_thread() : TThread(true) {
  SetFreeOnTerminate(true);
  SetPriority(TThreadPriority::tpLower);
}

// Every failure but a directory one ends the worker without a word: the page keeps its last
// step and Finish stays disabled. The thread's start routine swallows what is thrown here.
void unpack_thread::Execute() {
  const std::string dir = Installer.InstallDirectory;
  Installer.MainExecutablePath = dir + "kestamor.exe";

  std::string groupText;
  HWND owner = nullptr;
  OnWizard(this, [&](TForm1& form) {
    groupText = form.sEdit1->Text();
    owner = form.Handle();
  });
  Installer.ProgramGroupName = ProgramGroupName(groupText);

  for (const char* sub : kInstallDirectories) {
    if (!ForceDirectories(dir + sub)) {
      OnWizard(this, [](TForm1& form) { form.ShowDirectoryFailure(); });
      return;
    }
  }
  Step(this, progress::kUnpackFiles);

  {
    PayloadFileInput payload(PayloadFileInput::OwnExecutablePath(), Installer.PayloadOffset);
    for (size_t record = 0; record < PayloadLayout::RecordCount; ++record) {
      const bool main = record == PayloadLayout::MainExecutableRecord;
      ExtractRecordToFile(payload, dir + PayloadLayout::Targets[record],
                          main ? PayloadExtraWrite(WriteInstanceId) : PayloadExtraWrite());
      if (record < progress::kAfterRecord.size())
        Step(this, progress::kAfterRecord[record], progress::kPauseAfterRecord[record]);
    }
  }  // the executable is closed before the program group step

  Step(this, progress::kCreateProgramGroup, true);
  OnWizard(this, [](TForm1& form) { form.CreateProgramGroup(); });

  bool desktopIcon = false;
  OnWizard(this, [&](TForm1& form) { desktopIcon = form.sCheckBox1->Checked(); });
  if (desktopIcon) TForm1::CreateDesktopShortcut(owner);
  Step(this, progress::kCreateDesktopShortcut, true);

  // The box is read again: it cannot have changed, but the record states what it shows.
  OnWizard(this, [&](TForm1& form) { desktopIcon = form.sCheckBox1->Checked(); });
  TForm1::WriteUninstallRecord(desktopIcon);

  OnWizard(this, [](TForm1& form) { form.FinishInstallation(); });
}
