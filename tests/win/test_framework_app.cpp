// The framework's application side under Wine: thread hand-offs, modal forms, the message
// dialog, and the main form ending the message loop.
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Thread.h"

#include <gtest/gtest.h>

#include "WinTestSupport.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {


std::string WindowText(HWND wnd) {
  char text[256] = {};
  GetWindowTextA(wnd, text, sizeof text);
  return text;
}

class THandOff : public TThread {
 public:
  THandOff() : TThread(true) {}
  FRAMEWORK_CLASS(THandOff)
  DWORD uiThread = 0;
  bool waited = false;
  std::string error;

 protected:
  void Execute() override {
    bool done = false;
    Synchronize([&] {
      uiThread = GetCurrentThreadId();
      Sleep(50);
      done = true;
    });
    waited = done;
    try {
      Synchronize([] { throw std::runtime_error("from the UI thread"); });
    } catch (const std::exception& e) {
      error = e.what();
    }
    SetReturnValue(7);
  }
};

class TSelfFreeing : public TThread {
 public:
  explicit TSelfFreeing(bool suspended, std::atomic<bool>* gone, std::atomic<int>* priority, bool* ran)
      : TThread(suspended), gone_(gone), priority_(priority), ran_(ran) {}
  ~TSelfFreeing() override { *gone_ = true; }
  FRAMEWORK_CLASS(TSelfFreeing)

 protected:
  void Execute() override {
    *priority_ = static_cast<int>(Priority());
    Synchronize([this] { *ran_ = true; });
  }

 private:
  std::atomic<bool>* gone_;
  std::atomic<int>* priority_;
  bool* ran_;
};

}  // namespace

TEST(Threads, SynchronizeRunsOnTheUiThreadWhileTheWorkerWaits) {
  auto* t = new THandOff;
  t->Start();
  EXPECT_EQ(t->WaitFor(), 7);
  EXPECT_EQ(t->uiThread, GetCurrentThreadId());
  EXPECT_NE(t->ThreadID(), GetCurrentThreadId());
  EXPECT_TRUE(t->waited);
  EXPECT_EQ(t->error, "from the UI thread");
  EXPECT_TRUE(t->Finished());
  EXPECT_THROW(t->Start(), EInvalidOperation);
  delete t;
}

TEST(Threads, SelfFreeingThreadAtLowerPriorityAndOnTerminate) {
  std::atomic<bool> gone{false};
  std::atomic<int> priority{-1};
  bool ran = false;
  DWORD terminateThread = 0;
  auto* t = new TSelfFreeing(true, &gone, &priority, &ran);
  t->SetFreeOnTerminate(true);
  t->SetPriority(TThreadPriority::tpLower);
  t->OnTerminate = [&](TObject*) { terminateThread = GetCurrentThreadId(); };
  t->Start();
  ASSERT_TRUE(PumpUntil([&] { return gone.load(); }));
  EXPECT_TRUE(ran);
  EXPECT_EQ(priority.load(), static_cast<int>(TThreadPriority::tpLower));
  EXPECT_EQ(terminateThread, GetCurrentThreadId());

  // Created running: starts once fully built.
  gone = false;
  ran = false;
  auto* running = TThread::Create<TSelfFreeing>(false, &gone, &priority, &ran);
  running->SetFreeOnTerminate(true);
  ASSERT_TRUE(PumpUntil([&] { return gone.load(); }));
  EXPECT_TRUE(ran);

  // Never started: freeing it does not run Execute.
  gone = false;
  ran = false;
  delete new TSelfFreeing(true, &gone, &priority, &ran);
  Application->ProcessMessages();
  EXPECT_TRUE(gone);
  EXPECT_FALSE(ran);
}

namespace {

struct DialogSeen {
  std::string caption;
  std::vector<std::string> childClasses;
  std::vector<std::string> childTexts;
};
DialogSeen g_seen;
std::function<void(HWND)> g_act;

struct FindWindowOfClass {
  const char* name;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<FindWindowOfClass*>(lp);
  if (IsWindowVisible(w) && WindowClass(w) == f->name) {
    f->found = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK RecordChild(HWND w, LPARAM) {
  g_seen.childClasses.push_back(WindowClass(w));
  g_seen.childTexts.push_back(WindowText(w));
  return TRUE;
}

HWND FindThreadWindow(const char* className) {
  FindWindowOfClass find{className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchClass, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

VOID CALLBACK WatchForDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = FindThreadWindow("TMessageForm");
  if (!dialog) return;
  KillTimer(nullptr, id);
  g_seen = DialogSeen{};
  g_seen.caption = WindowText(dialog);
  EnumChildWindows(dialog, RecordChild, 0);
  g_act(dialog);
}

HWND ChildWithText(HWND parent, const std::string& text) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (WindowText(c) == text) return c;
  return nullptr;
}

int RunDialog(std::function<void(HWND)> act, std::function<int()> show) {
  g_act = std::move(act);
  SetTimer(nullptr, 0, 30, WatchForDialog);
  return show();
}

}  // namespace

TEST(MessageDialog, FormOfClassTMessageFormWithTButtons) {
  const int result = RunDialog([](HWND dialog) { SendMessageA(ChildWithText(dialog, "&No"), BM_CLICK, 0, 0); },
                               [] { return MessageDlg("Remove it?", TMsgDlgType::mtConfirmation, mbYes | mbNo); });
  EXPECT_EQ(result, mrNo);
  EXPECT_EQ(g_seen.caption, "Confirm");
  // The icon and the text are windowless: the only child windows are the buttons.
  EXPECT_EQ(g_seen.childClasses, (std::vector<std::string>{"TButton", "TButton"}));
  EXPECT_EQ(g_seen.childTexts, (std::vector<std::string>{"&No", "&Yes"}));  // z-order: newest on top
  EXPECT_EQ(FindThreadWindow("TMessageForm"), nullptr);
}

TEST(MessageDialog, EnterPressesTheDefaultAndEscapeTheCancelButton) {
  auto pressKey = [](WPARAM key) {
    return [key](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, key, 0); };
  };
  EXPECT_EQ(RunDialog(pressKey(VK_RETURN),
                      [] { return MessageDlg("Go on?", TMsgDlgType::mtWarning, mbYes | mbNo | mbCancel); }),
            mrYes);
  EXPECT_EQ(g_seen.caption, "Warning");
  EXPECT_EQ(RunDialog(pressKey(VK_ESCAPE),
                      [] { return MessageDlg("Go on?", TMsgDlgType::mtError, mbOK | mbCancel); }),
            mrCancel);
  EXPECT_EQ(g_seen.caption, "Error");
  EXPECT_EQ(RunDialog([](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); },
                      [] {
                        ShowMessage("Plain");
                        return 0;
                      }),
            0);
  EXPECT_EQ(g_seen.caption, Application->Title());
  EXPECT_EQ(g_seen.childTexts, (std::vector<std::string>{"OK"}));
}

namespace {

class TDialogForm : public TForm {
 public:
  explicit TDialogForm(TComponent* owner) : TForm(owner) {
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientSize(200, 100);
    Timer = new TTimer(this);
    Timer->SetInterval(20);
  }
  FRAMEWORK_CLASS(TDialogForm)
  TTimer* Timer;
};

}  // namespace

TEST(Forms, ShowModalDisablesOtherWindowsAndAsksOnClose) {
  auto other = std::unique_ptr<TForm>(NewForm<TForm>(nullptr));
  other->Show();
  auto form = std::unique_ptr<TDialogForm>(NewForm<TDialogForm>(nullptr));
  int ticks = 0, closeAsks = 0;
  bool otherEnabledDuring = true;
  form->Timer->OnTimer = [&](TObject*) {
    ++ticks;
    otherEnabledDuring = IsWindowEnabled(other->Handle()) != FALSE;
    form->SetModalResult(mrRetry);
  };
  form->OnClose = [&](TObject*, TCloseAction& action) {
    if (++closeAsks == 1) action = TCloseAction::caNone;  // refuse the first time
  };
  EXPECT_EQ(form->ShowModal(), mrRetry);
  EXPECT_EQ(closeAsks, 2);
  EXPECT_GE(ticks, 2);
  EXPECT_FALSE(otherEnabledDuring);
  EXPECT_TRUE(IsWindowEnabled(other->Handle()));
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(form->IsModal());
  // Centred on the screen.
  EXPECT_NEAR(form->Left() + form->Width() / 2, Screen->Width() / 2, 1);
  EXPECT_THROW(other->ShowModal(), EInvalidOperation);  // already visible
}

TEST(Forms, CloseFreesHidesOrRefusesAsTheHandlersSay) {
  bool destroyed = false;
  auto* form = NewForm<TForm>(nullptr);
  form->OnDestroy = [&](TObject*) { destroyed = true; };
  form->Show();
  bool canClose = false;
  form->OnCloseQuery = [&](TObject*, bool& can) { can = canClose; };
  form->Close();
  EXPECT_TRUE(form->Showing());  // refused
  canClose = true;
  form->Close();  // the default action hides
  EXPECT_FALSE(form->Showing());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  form->Show();
  form->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
  PostMessageA(form->Handle(), WM_CLOSE, 0, 0);  // the title bar's close button
  ASSERT_TRUE(PumpUntil([&] { return destroyed; }));
  EXPECT_EQ(Screen->FormCount(), 0);
}

TEST(Forms, OnCreateErrorsGoToTheApplicationAndAbortIsSilent) {
  std::vector<std::string> shown;
  Application->OnException = [&](TObject*, const std::exception& e) { shown.push_back(e.what()); };
  struct TFailing : public TForm {
    explicit TFailing(TComponent* owner) : TForm(owner) {
      OnCreate = [](TObject*) { throw std::runtime_error("Invalid data type for 'ProgramFilesDir'"); };
    }
  };
  std::unique_ptr<TForm>(NewForm<TFailing>(nullptr));
  struct TAborting : public TForm {
    explicit TAborting(TComponent* owner) : TForm(owner) {
      OnCreate = [](TObject*) { Abort(); };
    }
  };
  std::unique_ptr<TForm>(NewForm<TAborting>(nullptr));
  Application->OnException = nullptr;
  EXPECT_EQ(shown, (std::vector<std::string>{"Invalid data type for 'ProgramFilesDir'"}));
}

namespace {

class TMainForm : public TForm {
 public:
  explicit TMainForm(TComponent* owner) : TForm(owner) {
    SetCaption("Main");
    Timer = new TTimer(this);
    Timer->SetInterval(30);
    OnCreate = [this](TObject*) { created = true; };
  }
  FRAMEWORK_CLASS(TMainForm)
  TTimer* Timer;
  bool created = false;
};

}  // namespace

// Last: once Run has returned the application is done.
TEST(Application, ClosingTheMainFormEndsRun) {
  TMainForm* main = nullptr;
  Application->Initialize();
  Application->CreateForm(main);
  ASSERT_EQ(Application->MainForm(), main);
  EXPECT_TRUE(main->created);
  EXPECT_TRUE(main->HandleAllocated());
  EXPECT_EQ(WindowClass(main->Handle()), "TMainForm");
  bool wasShowing = false;
  main->Timer->OnTimer = [&](TObject*) {
    wasShowing = main->Showing();
    main->Close();
  };
  Application->Run();
  EXPECT_TRUE(wasShowing);
  EXPECT_TRUE(Application->Terminated());
  delete main;
  EXPECT_EQ(Application->MainForm(), nullptr);
}
