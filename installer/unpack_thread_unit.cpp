#include "installer/unpack_thread_unit.h"

#include <windows.h>
#include <objbase.h>

#include <array>
#include <chrono>
#include <functional>

#include "installer/FileError_win.h"
#include "installer/InstallMessages.h"
#include "installer/InstallSequence.h"
#include "installer/InstallTransaction_win.h"
#include "installer/PayloadLayout.h"
#include "installer/PayloadRecord_win.h"
#include "installer/ProgramGroup_win.h"
#include "installer/Unit1.h"

namespace {

// A directory of the installation could not be made.
struct EDirectoryFailure {};

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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

// One run of the installation on the worker's thread: the steps in their order, each change
// of the window handed to the UI thread, everything made noted in the transaction.
class Installation {
 public:
  Installation(TThread* worker, const InstallChoices& choices, InstallRun& run)
      : worker_(worker), choices_(choices), run_(run) {}

  InstallResult Run() {
    const std::string& dir = choices_.Directory;
    result_.MainExecutablePath = dir + "kestamor.exe";
    result_.ProgramGroupName = choices_.ProgramGroup;
    for (const char* sub : kInstallDirectories)
      if (!transaction_.MakeDirectories(dir + sub)) throw EDirectoryFailure{};
    Step(progress::kUnpackFiles);
    ExtractRecords();
    Step(progress::kCreateProgramGroup, true);
    CreateProgramGroup();
    if (choices_.DesktopIcon) CreateDesktopShortcut();
    Step(progress::kCreateDesktopShortcut, true);
    WriteUninstallRecord();
    run_.Checkpoint();  // the last moment a stop can still undo everything
    transaction_.Commit();
    return result_;
  }

  // Runs `work` with the wizard window on the UI thread and waits. A window that is already
  // gone, or a UI thread that no longer takes hand-offs, ends the installation (EAbort).
  void OnWizard(const std::function<void(TForm1&)>& work) {
    bool done = false;
    TThread::Synchronize(worker_, [&] {
      if (!Form1) return;
      work(*Form1);
      done = true;
    });
    if (!done) Abort();
  }

  // Tells the user why the installation cannot go on; true when they chose Retry.
  bool Tell(const std::string& text, bool offerRetry = false) {
    run_.Checkpoint();  // a user who already chose to stop needs no further question
    bool retry = false;
    OnWizard([&](TForm1& form) { retry = form.ShowInstallFailure(text, offerRetry); });
    return retry;
  }

  InstallTransaction& Transaction() { return transaction_; }

 private:
  void Step(const ProgressStep& step, bool pause = false) {
    run_.Checkpoint();
    OnWizard([&](TForm1& form) { form.ShowProgressStep(step); });
    if (pause) run_.Pause(std::chrono::milliseconds(kStepPauseMs));
    run_.Checkpoint();
  }

  // Writes one record's file, again from its start for as long as the user asks to retry a
  // file the system refuses; Cancel stops the installation.
  void WriteWithRetry(const std::vector<uint8_t>& compressed, const std::string& target,
                      const PayloadExtraWrite& extraWrite) {
    for (;;) {
      try {
        transaction_.Replace(target);
        WriteRecordToFile(compressed, target, extraWrite);
        return;
      } catch (const EFileError& e) {
        const std::string text = e.InUse() ? install_message::TargetInUse(e.Path(), e.Reason())
                                           : install_message::TargetNotWritten(e.Path(), e.Reason());
        if (!Tell(text, true)) throw EInstallStopped{};
      }
    }
  }

  // The eight records from one handle on the payload, read front to back.
  void ExtractRecords() {
    try {
      PayloadFileInput payload(choices_.PayloadFile, choices_.PayloadOffset);
      for (size_t record = 0; record < PayloadLayout::RecordCount; ++record) {
        const std::string target = choices_.Directory + PayloadLayout::Targets[record];
        PayloadExtraWrite extraWrite;
        if (record == PayloadLayout::MainExecutableRecord)
          extraWrite = [&](PayloadOutput& out) { WriteInstanceId(target, out); };
        try {
          WriteWithRetry(ReadPayloadRecord(payload), target, extraWrite);
        } catch (const EPayloadDamaged&) {
          Tell(install_message::InstallerDamaged(PayloadLayout::Targets[record]));
          throw EInstallStopped{};
        }
        if (record < progress::kAfterRecord.size())
          Step(progress::kAfterRecord[record], progress::kPauseAfterRecord[record]);
      }
    } catch (const EFileError& e) {  // the payload's own file: writes are handled above
      Tell(install_message::InstallerNotRead(e.Path(), e.Reason()));
      throw EInstallStopped{};
    }
  }

  // A group that was there before is left as it is; one this run made is removed on undo.
  void CreateProgramGroup() {
    const std::string& group = choices_.ProgramGroup;
    const bool existed = ProgramGroupExists(group);
    run_.Checkpoint();
    OnWizard([&](TForm1& form) { form.CreateProgramGroup(group, choices_.Directory); });
    if (existed) return;
    transaction_.NoteGroup(group, [this](const std::string& name) {
      bool removed = false;
      OnWizard([&](TForm1& form) { removed = form.DeleteProgramGroup(name); });
      return removed;
    });
  }

  // Best effort, as the link always was: a link that cannot be moved aside is left alone.
  void CreateDesktopShortcut() {
    result_.DesktopIcon = true;
    result_.DesktopShortcutPath = TForm1::DesktopShortcutPath(static_cast<HWND>(choices_.Owner));
    if (result_.DesktopShortcutPath == TForm1::kDesktopLinkName) return;  // the shell has no desktop folder
    try {
      transaction_.Replace(result_.DesktopShortcutPath);
    } catch (const EFileError&) {
      return;
    }
    TForm1::CreateDesktopShortcut(result_.DesktopShortcutPath, choices_.Directory);
  }

  void WriteUninstallRecord() {
    const std::string file = choices_.Directory + "uninstall.ini";
    for (;;) {
      try {
        transaction_.KeepCopy(file);
        TForm1::WriteUninstallRecord(file, result_);
        return;
      } catch (const EFileError& e) {
        if (!Tell(install_message::UninstallRecordNotWritten(e.Path(), e.Reason()), true)) throw EInstallStopped{};
      }
    }
  }

  TThread* worker_;
  const InstallChoices& choices_;
  InstallRun& run_;
  InstallTransaction transaction_;
  InstallResult result_;
};

}  // namespace

unpack_thread::unpack_thread(InstallChoices choices, std::shared_ptr<InstallRun> run)
    : TThread(true), choices_(std::move(choices)), run_(std::move(run)) {
  SetFreeOnTerminate(true);
  SetPriority(TThreadPriority::tpLower);
}

// Whatever stops the installation undoes it; then the user is told in one message what
// state the computer is in. Without a window to tell, the worker undoes silently and ends.
void unpack_thread::Execute() {
  const bool earlier = FileExists(choices_.Directory + "kestamor.exe") ||
                       FileExists(choices_.Directory + "uninstall.ini");
  Installation installation(this, choices_, *run_);
  try {
    const InstallResult result = installation.Run();
    installation.OnWizard([&](TForm1& form) { form.FinishInstallation(result); });
    return;
  } catch (const EAbort&) {
    installation.Transaction().Rollback();
    throw;
  } catch (const EDirectoryFailure&) {
    installation.Transaction().Rollback();
    installation.OnWizard([](TForm1& form) { form.ShowDirectoryFailure(); });
    return;
  } catch (const EInstallStopped&) {
  } catch (const std::exception& e) {
    try {
      installation.Tell(install_message::Stopped(e.what()));
    } catch (const EInstallStopped&) {
    } catch (const EAbort&) {
      installation.Transaction().Rollback();
      throw;
    }
  }
  const std::vector<std::string> notUndone = installation.Transaction().Rollback();
  installation.OnWizard([&](TForm1& form) { form.ShowInstallStopped(earlier, notUndone); });
}
