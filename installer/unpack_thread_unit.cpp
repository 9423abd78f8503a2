#include "installer/unpack_thread_unit.h"

#include <windows.h>
#include <objbase.h>

#include <array>
#include <functional>

#include "installer/Directories_win.h"
#include "installer/FileError_win.h"
#include "installer/InstallMessages.h"
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

// Tells the user why the installation stops; true when they chose Retry.
bool Tell(TThread* worker, const std::string& text, bool offerRetry = false) {
  bool retry = false;
  OnWizard(worker, [&](TForm1& form) { retry = form.ShowInstallFailure(text, offerRetry); });
  return retry;
}

// Appends the instance identifier after record 1's content; a GUID the system cannot make
// fails the file like a bad write would.
void WriteInstanceId(const std::string& path, PayloadOutput& out) {
  GUID guid;
  if (const HRESULT hr = CoCreateGuid(&guid); FAILED(hr)) throw EFileError(EFileError::Access::Write, path, hr);
  std::array<uint8_t, 8> tail;
  for (size_t i = 0; i < tail.size(); ++i) tail[i] = guid.Data4[i];
  const std::string id = InstanceIdText(guid.Data1, guid.Data2, guid.Data3, tail);
  out.Write(id.data(), id.size());
}

// Writes one record's file, again from its start for as long as the user asks to retry a
// file the system refuses. False when the user cancelled.
bool WriteWithRetry(TThread* worker, const std::vector<uint8_t>& compressed, const std::string& target,
                    const PayloadExtraWrite& extraWrite) {
  for (;;) {
    try {
      WriteRecordToFile(compressed, target, extraWrite);
      return true;
    } catch (const EFileError& e) {
      const std::string text = e.InUse() ? install_message::TargetInUse(e.Path(), e.Reason())
                                         : install_message::TargetNotWritten(e.Path(), e.Reason());
      if (!Tell(worker, text, true)) return false;
    }
  }
}

// The eight records from one handle on the payload, read front to back; the handle is
// closed on return. False when the installation stops (the user has been told why).
bool ExtractRecords(TThread* worker, const std::string& dir) {
  const std::string source =
      Installer.PayloadFile.empty() ? PayloadFileInput::OwnExecutablePath() : Installer.PayloadFile;
  try {
    PayloadFileInput payload(source, Installer.PayloadOffset);
    for (size_t record = 0; record < PayloadLayout::RecordCount; ++record) {
      const std::string target = dir + PayloadLayout::Targets[record];
      PayloadExtraWrite extraWrite;
      if (record == PayloadLayout::MainExecutableRecord)
        extraWrite = [&](PayloadOutput& out) { WriteInstanceId(target, out); };
      try {
        if (!WriteWithRetry(worker, ReadPayloadRecord(payload), target, extraWrite)) return false;
      } catch (const EPayloadDamaged&) {
        Tell(worker, install_message::InstallerDamaged(PayloadLayout::Targets[record]));
        return false;
      }
      if (record < progress::kAfterRecord.size())
        Step(worker, progress::kAfterRecord[record], progress::kPauseAfterRecord[record]);
    }
  } catch (const EFileError& e) {  // the payload's own file: writes are handled above
    Tell(worker, install_message::InstallerNotRead(e.Path(), e.Reason()));
    return false;
  }
  return true;
}

}  // namespace

unpack_thread::unpack_thread() : TThread(true) {
  SetFreeOnTerminate(true);
  SetPriority(TThreadPriority::tpLower);
}

// A failure stops the installation where it is: the user is told why, the page keeps its
// last step and Finish stays disabled. Without a window to tell, the worker ends silently
// (the thread's start routine swallows what is thrown here).
void unpack_thread::Execute() {
  try {
    Install();
  } catch (const EAbort&) {
    throw;
  } catch (const std::exception& e) {
    Tell(this, install_message::Stopped(e.what()));
  }
}

void unpack_thread::Install() {
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

  if (!ExtractRecords(this, dir)) return;

  Step(this, progress::kCreateProgramGroup, true);
  OnWizard(this, [](TForm1& form) { form.CreateProgramGroup(); });

  bool desktopIcon = false;
  OnWizard(this, [&](TForm1& form) { desktopIcon = form.sCheckBox1->Checked(); });
  if (desktopIcon) TForm1::CreateDesktopShortcut(owner);
  Step(this, progress::kCreateDesktopShortcut, true);

  // The box is read again: it cannot have changed, but the record states what it shows.
  OnWizard(this, [&](TForm1& form) { desktopIcon = form.sCheckBox1->Checked(); });
  try {
    TForm1::WriteUninstallRecord(desktopIcon);
  } catch (const EFileError& e) {
    Tell(this, install_message::UninstallRecordNotWritten(e.Path(), e.Reason()));
    return;
  }

  OnWizard(this, [](TForm1& form) { form.FinishInstallation(); });
}
