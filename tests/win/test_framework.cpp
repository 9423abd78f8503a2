// The window framework under Wine: ownership, message routing, painting of windowless
// controls, z-order, tab order, radio groups, edits, class names and the title rule.
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "WinTestSupport.h"

#include <chrono>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_log;

class TLogged : public TComponent {
 public:
  TLogged(TComponent* owner, const std::string& name) : TComponent(owner) { SetName(name); }
  ~TLogged() override { g_log.push_back(Name()); }
  FRAMEWORK_CLASS(TLogged)
  void Loaded() override {
    g_log.push_back("loaded " + Name());
    TComponent::Loaded();
  }
  void Notification(TComponent* c, TOperation op) override {
    if (op == TOperation::opRemove) g_log.push_back(Name() + " lost " + c->Name());
  }
};

class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {
    SetBorderStyle(TFormBorderStyle::bsNone);
    SetBounds(10, 10, 300, 200);
  }
  FRAMEWORK_CLASS(TTestForm)
};


template <class T>
T* Make(TWinControl* parent, int l, int t, int w, int h) {
  auto* c = new T(parent);
  c->SetParent(parent);
  c->SetBounds(l, t, w, h);
  return c;
}

}  // namespace

TEST(Components, OwnerFreesInReverseOrderAndSelfFreedLeaveTheList) {
  g_log.clear();
  auto* owner = new TLogged(nullptr, "owner");
  auto* a = new TLogged(owner, "a");
  auto* b = new TLogged(owner, "b");
  new TLogged(owner, "c");
  new TLogged(a, "a1");  // nested ownership
  new TLogged(a, "a2");
  ASSERT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->FindComponent("B"), b);

  delete b;
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(1)->Name(), "c");
  EXPECT_EQ(owner->FindComponent("b"), nullptr);

  delete owner;
  // Each destructor body logs first, then its owned components go, the newest first.
  EXPECT_EQ(g_log, (std::vector<std::string>{"b", "owner lost b", "owner", "c", "a", "a2", "a1"}));
}

TEST(Components, FreeNotificationAndLoading) {
  g_log.clear();
  auto* watcher = new TLogged(nullptr, "watcher");
  auto* owner = new TLogged(nullptr, "owner");
  owner->BeginLoading();
  auto* x = new TLogged(owner, "x");
  auto* y = new TLogged(owner, "y");
  EXPECT_TRUE(x->HasState(csLoading));
  watcher->FreeNotification(y);
  owner->EndLoading();
  EXPECT_FALSE(x->HasState(csLoading));
  EXPECT_FALSE(owner->HasState(csLoading));
  EXPECT_EQ(g_log, (std::vector<std::string>{"loaded x", "loaded y", "loaded owner"}));
  g_log.clear();
  delete owner;
  EXPECT_EQ(g_log, (std::vector<std::string>{"owner", "y", "watcher lost y", "x"}));
  delete watcher;
}

TEST(Messages, WindowProcSeesEveryMessageAndCanSwallow) {
  auto form = std::make_unique<TTestForm>(nullptr);
  form->AfterConstruction();
  auto* button = Make<TButton>(form.get(), 5, 5, 80, 25);
  HWND wnd = button->Handle();
  ASSERT_TRUE(wnd);
  std::vector<UINT> seen;
  TWndMethod old = button->WindowProc;
  bool swallowText = false;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg >= WM_USER && m.Msg < WM_USER + 100) seen.push_back(m.Msg);
    if (m.Msg == WM_SETTEXT) seen.push_back(m.Msg);
    if (m.Msg == WM_USER + 7) {
      m.Result = 42;
      return;
    }
    if (swallowText && m.Msg == WM_SETTEXT) return;
    old(m);
  };
  SendMessageA(wnd, WM_USER + 1, 0, 0);
  PostMessageA(wnd, WM_USER + 2, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(button->Perform(WM_USER + 7), 42);
  EXPECT_EQ(SendMessageA(wnd, WM_USER + 7, 0, 0), 42);
  button->SetCaption("Hello");
  EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 7, WM_USER + 7, WM_SETTEXT}));
  char text[32] = {};
  GetWindowTextA(wnd, text, sizeof text);
  EXPECT_STREQ(text, "Hello");  // passed on: the button's own procedure stored it
  swallowText = true;
  SetWindowTextA(wnd, "Changed");
  GetWindowTextA(wnd, text, sizeof text);
  EXPECT_STREQ(text, "Hello");
  button->WindowProc = old;
}

TEST(Messages, ExceptionInAHandlerGoesToTheApplication) {
  auto form = std::make_unique<TTestForm>(nullptr);
  form->AfterConstruction();
  auto* panel = Make<TPanel>(form.get(), 0, 0, 50, 50);
  TWndMethod old = panel->WindowProc;
  panel->WindowProc = [old](TMessage& m) {
    if (m.Msg == WM_USER + 3) throw std::runtime_error("boom");
    old(m);
  };
  std::string caught;
  TObject* sender = nullptr;
  Application->OnException = [&](TObject* s, const std::exception& e) {
    caught = e.what();
    sender = s;
  };
  SendMessageA(panel->Handle(), WM_USER + 3, 0, 0);
  Application->OnException = nullptr;
  EXPECT_EQ(caught, "boom");
  EXPECT_EQ(sender, panel);
}

TEST(Messages, FrameworkNotificationsReachTheControlsTheyConcern) {
  auto form = std::make_unique<TTestForm>(nullptr);
  form->AfterConstruction();
  auto* panel = Make<TPanel>(form.get(), 0, 0, 100, 100);
  auto* edit = Make<TEdit>(panel, 0, 0, 50, 20);
  panel->HandleNeeded();
  std::vector<std::string> seen;
  auto watch = [&](TControl* c, const std::string& who) {
    TWndMethod old = c->WindowProc;
    c->WindowProc = [&seen, who, old, c](TMessage& m) {
      switch (m.Msg) {
        case CM_VISIBLECHANGED: seen.push_back(who + " visible " + std::to_string(m.WParam)); break;
        case CM_ENABLEDCHANGED: seen.push_back(who + " enabled"); break;
        case CM_TEXTCHANGED: seen.push_back(who + " text"); break;
        case CM_RECREATEWND: seen.push_back(who + " recreate " + (static_cast<TWinControl*>(c)->HandleAllocated() ? "with window" : "without")); break;
        case CM_CONTROLLISTCHANGE:
          seen.push_back(who + (m.LParam ? " inserted " : " removed ") +
                         reinterpret_cast<TControl*>(m.WParam)->ClassName());
          break;
        default: break;
      }
      old(m);
    };
  };
  watch(panel, "panel");
  watch(edit, "edit");
  edit->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(edit->Handle()));
  edit->SetVisible(true);
  edit->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(edit->Handle()));
  edit->SetText("typed");
  edit->RecreateWnd();
  EXPECT_EQ(edit->Text(), "typed");  // kept across the new window
  EXPECT_FALSE(IsWindowEnabled(edit->Handle()));
  auto* label = Make<TLabel>(panel, 0, 0, 10, 10);
  label->Free();
  EXPECT_EQ(seen, (std::vector<std::string>{"edit visible 0", "edit visible 1", "edit enabled", "edit text",
                                            "edit recreate with window", "panel inserted TLabel",
                                            "panel removed TLabel"}));
}

TEST(Appearance, ParentFontAndColourFollowUntilSetOwn) {
  auto form = std::make_unique<TTestForm>(nullptr);
  auto* panel = Make<TPanel>(form.get(), 0, 0, 200, 100);
  auto* edit = Make<TEdit>(panel, 0, 0, 50, 20);
  auto* label = Make<TLabel>(panel, 0, 40, 50, 20);
  form->AfterConstruction();
  form->Font().SetName("Tahoma");
  form->Font().SetHeight(-15);
  EXPECT_EQ(panel->Font().Height(), -15);
  EXPECT_EQ(edit->Font().Height(), -15);
  EXPECT_EQ(label->Font().Height(), -15);
  LOGFONTA lf{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit->Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -15);  // the window uses it too
  label->Font().SetColor(clRed);  // its own font from now on
  EXPECT_FALSE(label->ParentFont());
  form->Font().SetHeight(-20);
  EXPECT_EQ(edit->Font().Height(), -20);
  EXPECT_EQ(label->Font().Height(), -15);
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit->Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -20);

  panel->SetColor(clTeal);
  EXPECT_EQ(label->Color(), clTeal);  // labels take their parent's colour
  EXPECT_EQ(edit->Color(), clWindow);  // edits keep their own
  // The parent asks the child for its colours (WM_CTLCOLOREDIT reflected to it).
  edit->SetColor(clBlack);
  edit->Font().SetColor(0x998989);
  HDC dc = GetDC(edit->Handle());
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(panel->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit->Handle())));
  LOGBRUSH lb{};
  GetObjectA(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, static_cast<COLORREF>(clBlack));
  EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(0x998989));
  ReleaseDC(edit->Handle(), dc);
}

TEST(Appearance, LabelAutoSizeFollowsTextAndKeepsItsRightEdge) {
  auto form = std::make_unique<TTestForm>(nullptr);
  form->AfterConstruction();
  auto* label = Make<TLabel>(form.get(), 100, 10, 10, 10);
  label->SetCaption("Short");
  const int shortWidth = label->Width();
  EXPECT_GT(shortWidth, 10);
  EXPECT_GT(label->Height(), 8);
  label->SetCaption("A much longer caption");
  EXPECT_GT(label->Width(), shortWidth);
  label->SetAlignment(TAlignment::taRightJustify);
  const int right = label->Left() + label->Width();
  label->SetCaption("Short");
  EXPECT_EQ(label->Left() + label->Width(), right);
  // Word wrap keeps the width and grows the height.
  label->SetWordWrap(true);
  label->SetBounds(0, 0, 40, 10);
  label->SetCaption("one two three four five");
  EXPECT_EQ(label->Width(), 40);
  EXPECT_GT(label->Height(), 2 * 13 - 1);
  label->SetAutoSize(false);
  label->SetCaption("x");
  EXPECT_GT(label->Height(), 2 * 13 - 1);
}

TEST(Painting, WindowlessChildrenPaintedByParentClippedInZOrder) {
  auto form = std::make_unique<TTestForm>(nullptr);
  form->AfterConstruction();
  auto* panel = Make<TPanel>(form.get(), 0, 0, 100, 100);
  panel->SetBevelOuter(TBevelCut::bvNone);
  panel->SetColor(clRed);
  auto* blue = Make<TImage>(panel, 10, 10, 30, 30);
  blue->Picture().SetSize(50, 50);  // larger than the control: clipped to 30 x 30
  blue->Picture().View().Fill(Pixel32{255, 0, 0, 0});
  auto* green = Make<TImage>(panel, 30, 30, 30, 30);
  green->Picture().SetSize(30, 30);
  green->Picture().View().Fill(Pixel32{0, 255, 0, 0});
  panel->HandleNeeded();

  TBitmap target(100, 100);
  auto paint = [&] {
    HDC dc = target.Canvas().Handle();
    panel->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    return target.Canvas().Pixel(35, 35);
  };
  EXPECT_EQ(paint(), clLime);  // the later-created image lies above
  EXPECT_EQ(target.Canvas().Pixel(5, 5), clRed);
  EXPECT_EQ(target.Canvas().Pixel(15, 15), clBlue);
  EXPECT_EQ(target.Canvas().Pixel(45, 20), clRed);  // the blue picture's clipped part
  EXPECT_EQ(target.Canvas().Pixel(65, 65), clRed);
  blue->BringToFront();
  EXPECT_EQ(paint(), clBlue);
  blue->SetVisible(false);
  EXPECT_EQ(paint(), clLime);
}

TEST(Painting, DoubleBufferedFormOnScreen) {
  auto form = std::make_unique<TTestForm>(nullptr);
  form->SetDoubleBuffered(true);
  form->SetColor(clNavy);
  auto* label = new TLabel(form.get());
  label->SetParent(form.get());
  label->SetAutoSize(false);
  label->SetBounds(20, 20, 60, 20);
  label->SetColor(clYellow);
  label->SetCaption("");
  form->AfterConstruction();
  form->SetFormStyle(TFormStyle::fsStayOnTop);
  form->Show();
  PumpUntil([] { return false; }, 200);
  form->Repaint();
  WindowDC dc(form->Handle());
  EXPECT_EQ(GetPixel(dc.get(), 5, 5), static_cast<COLORREF>(clNavy));
  EXPECT_EQ(GetPixel(dc.get(), 30, 30), static_cast<COLORREF>(clYellow));
}

TEST(Mouse, WindowlessChildGetsClicksAndEnterLeave) {
  auto form = std::make_unique<TTestForm>(nullptr);
  form->AfterConstruction();
  auto* panel = Make<TPanel>(form.get(), 0, 0, 200, 100);
  auto* label = Make<TLabel>(panel, 10, 10, 50, 20);
  label->SetAutoSize(false);
  std::vector<std::string> events;
  label->OnClick = [&](TObject*) { events.push_back("label click"); };
  panel->OnClick = [&](TObject*) { events.push_back("panel click"); };
  label->OnMouseEnter = [&](TObject*) { events.push_back("label enter"); };
  label->OnMouseLeave = [&](TObject*) { events.push_back("label leave"); };
  HWND wnd = panel->Handle();
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  EXPECT_TRUE(label->MouseInControl());
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
  EXPECT_FALSE(label->MouseInControl());
  EXPECT_EQ(Application->MouseControl(), panel);
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
  SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(100, 50));
  // Pressed on the label, released outside it: no click for anyone.
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(100, 50));
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
  EXPECT_EQ(events, (std::vector<std::string>{"label enter", "label click", "label leave", "panel click",
                                              "label enter", "label leave"}));
  delete label;  // the application forgets it
  EXPECT_NE(Application->MouseControl(), static_cast<TControl*>(label));
}

TEST(ZOrder, BringToFrontAndSendToBackMoveWindowsAndList) {
  auto form = std::make_unique<TTestForm>(nullptr);
  form->AfterConstruction();
  auto* p1 = Make<TPanel>(form.get(), 0, 0, 100, 100);
  auto* p2 = Make<TPanel>(form.get(), 0, 0, 100, 100);
  form->HandleNeeded();
  auto* p3 = Make<TPanel>(form.get(), 0, 0, 100, 100);  // window made after the others
  auto topChild = [&] { return GetWindow(form->Handle(), GW_CHILD); };
  EXPECT_EQ(topChild(), p3->Handle());
  p1->BringToFront();
  EXPECT_EQ(topChild(), p1->Handle());
  EXPECT_EQ(form->Controls(form->ControlCount() - 1), p1);
  EXPECT_EQ(GetWindow(p1->Handle(), GW_HWNDNEXT), p3->Handle());
  p1->SendToBack();
  EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), p3->Handle());
  EXPECT_EQ(GetWindow(p3->Handle(), GW_HWNDNEXT), p2->Handle());
  EXPECT_EQ(form->Controls(0), p1);
  // A window recreated later goes back to its place in the z-order.
  p2->RecreateWnd();
  EXPECT_EQ(GetWindow(p3->Handle(), GW_HWNDNEXT), p2->Handle());
}

TEST(TabOrder, PerParentOrderSkipsWhatCannotTakeFocus) {
  auto form = std::make_unique<TTestForm>(nullptr);
  form->AfterConstruction();
  auto* e1 = Make<TEdit>(form.get(), 0, 0, 50, 20);
  auto* panel = Make<TPanel>(form.get(), 0, 30, 200, 100);
  auto* e2 = Make<TEdit>(panel, 0, 0, 50, 20);
  auto* e3 = Make<TEdit>(panel, 0, 30, 50, 20);
  auto* b = Make<TButton>(form.get(), 0, 150, 50, 20);
  e3->SetTabOrder(0);
  b->SetTabOrder(1);
  EXPECT_EQ(e2->TabOrder(), 1);
  EXPECT_EQ(panel->TabOrder(), 2);
  std::vector<TWinControl*> list;
  form->GetTabOrderList(list);
  EXPECT_EQ(list, (std::vector<TWinControl*>{e1, b, panel, e3, e2}));
  EXPECT_EQ(form->FindNextControl(e1, true, true, false), b);
  EXPECT_EQ(form->FindNextControl(b, true, true, false), e3);  // the panel is no tab stop
  EXPECT_EQ(form->FindNextControl(e2, true, true, false), e1);  // wraps
  EXPECT_EQ(form->FindNextControl(e1, false, true, false), e2);
  e3->SetEnabled(false);
  EXPECT_EQ(form->FindNextControl(b, true, true, false), e2);
  panel->SetVisible(false);
  EXPECT_EQ(form->FindNextControl(b, true, true, false), e1);
}

TEST(TabOrder, TabKeyMovesFocusThroughTheMessageLoop) {
  auto form = std::make_unique<TTestForm>(nullptr);
  auto* e1 = Make<TEdit>(form.get(), 0, 0, 50, 20);
  auto* e2 = Make<TEdit>(form.get(), 0, 30, 50, 20);
  auto* memo = Make<TMemo>(form.get(), 0, 60, 100, 50);
  form->AfterConstruction();
  form->Show();
  SetForegroundWindow(form->Handle());
  ASSERT_TRUE(PumpUntil([&] { return e1->Focused(); }));
  EXPECT_EQ(form->ActiveControl(), e1);
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  ASSERT_TRUE(PumpUntil([&] { return e2->Focused(); }));
  EXPECT_EQ(form->ActiveControl(), e2);
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  ASSERT_TRUE(PumpUntil([&] { return memo->Focused(); }));
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);  // the memo does not keep the Tab key
  ASSERT_TRUE(PumpUntil([&] { return e1->Focused(); }));
  // Shift+Tab goes back (and wraps).
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_TAB, 0), 1);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_TRUE(memo->Focused());
  EXPECT_EQ(form->ActiveControl(), memo);
}

// As in the system's dialogs, Tab reaches a group of radio buttons at its checked button, or
// at its first while none is checked. A button hidden since it took the focus takes no Return.
TEST(TabOrder, RadioGroupsAndButtonsThatWentAway) {
  auto form = std::make_unique<TTestForm>(nullptr);
  auto* e = Make<TEdit>(form.get(), 0, 0, 50, 20);
  auto* box = Make<TGroupBox>(form.get(), 0, 30, 200, 100);
  auto* r1 = Make<TRadioButton>(box, 10, 10, 80, 20);
  auto* r2 = Make<TRadioButton>(box, 10, 40, 80, 20);
  auto* b = Make<TButton>(form.get(), 0, 140, 80, 25);
  form->AfterConstruction();
  EXPECT_EQ(form->FindNextControl(e, true, true, false), r1);
  EXPECT_EQ(form->FindNextControl(r1, true, true, false), b);
  r2->SetChecked(true);
  EXPECT_EQ(form->FindNextControl(e, true, true, false), r2);
  EXPECT_EQ(form->FindNextControl(r2, true, true, false), b);

  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  b->SetFocus();
  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(clicks, 1);
  b->SetVisible(false);
  form->Perform(CM_DIALOGKEY, VK_RETURN, 0);
  EXPECT_EQ(clicks, 1);
}

TEST(RadioButtons, CheckingOneUnchecksItsSiblingsBeforeItsClick) {
  auto form = std::make_unique<TTestForm>(nullptr);
  auto* box = Make<TGroupBox>(form.get(), 0, 0, 200, 100);
  auto* r1 = Make<TRadioButton>(box, 10, 10, 80, 20);
  auto* r2 = Make<TRadioButton>(box, 10, 40, 80, 20);
  auto* other = Make<TRadioButton>(form.get(), 10, 120, 80, 20);
  form->AfterConstruction();
  std::vector<std::string> clicks;
  r1->OnClick = [&](TObject*) { clicks.push_back(std::string("r1 ") + (r2->Checked() ? "r2 on" : "r2 off")); };
  r2->OnClick = [&](TObject*) { clicks.push_back(std::string("r2 ") + (r1->Checked() ? "r1 on" : "r1 off")); };
  other->SetChecked(true);
  EXPECT_FALSE(r1->TabStop());
  r1->SetChecked(true);
  EXPECT_TRUE(r1->TabStop());
  r2->SetChecked(true);
  EXPECT_FALSE(r1->Checked());
  EXPECT_FALSE(r1->TabStop());
  EXPECT_TRUE(other->Checked());  // another parent, another group
  r2->SetChecked(true);            // no change, no click
  r2->SetChecked(false);           // unchecking fires nothing
  // A click by the user (the button's own BN_CLICKED) goes the same way.
  SendMessageA(r1->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(r1->Checked());
  EXPECT_EQ(SendMessageA(r1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(r2->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks, (std::vector<std::string>{"r1 r2 off", "r2 r1 off", "r1 r2 off"}));
}

TEST(RadioButtons, ArrowKeysMoveAndCheckWithinTheGroup) {
  auto form = std::make_unique<TTestForm>(nullptr);
  auto* box = Make<TGroupBox>(form.get(), 0, 0, 200, 100);
  auto* r1 = Make<TRadioButton>(box, 10, 10, 80, 20);
  auto* r2 = Make<TRadioButton>(box, 10, 40, 80, 20);
  auto* edit = Make<TEdit>(form.get(), 0, 120, 80, 20);
  form->AfterConstruction();
  r1->SetChecked(true);
  form->Show();
  SetForegroundWindow(form->Handle());
  r1->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return r1->Focused(); }));
  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_DOWN, 0), 1);
  EXPECT_TRUE(r2->Focused());
  EXPECT_TRUE(r2->Checked());
  EXPECT_FALSE(r1->Checked());
  form->Perform(CM_DIALOGKEY, VK_DOWN, 0);  // stays among the siblings
  EXPECT_TRUE(r1->Focused());
  EXPECT_FALSE(edit->Focused());
}

TEST(Edits, OnChangeFollowsEveryChangeButNotLoading) {
  auto form = std::make_unique<TTestForm>(nullptr);
  auto* edit = Make<TEdit>(form.get(), 0, 0, 100, 20);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->SetText("while loading");
  EXPECT_EQ(changes, 0);
  form->AfterConstruction();
  edit->SetText("no window yet");
  EXPECT_EQ(changes, 1);
  edit->HandleNeeded();
  EXPECT_EQ(edit->Text(), "no window yet");
  edit->SetText("with a window");
  EXPECT_EQ(changes, 2);
  edit->SetText("with a window");
  EXPECT_EQ(changes, 2);
  SendMessageA(edit->Handle(), EM_SETSEL, 100, 100);
  SendMessageA(edit->Handle(), WM_CHAR, 'x', 0);  // typing
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(edit->Text(), "with a windowx");

  auto* memo = Make<TMemo>(form.get(), 0, 30, 100, 60);
  memo->OnChange = [&](TObject*) { ++changes; };
  memo->SetText("one\ntwo\rthree\r\n");
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(memo->Text(), "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"one", "two", "three"}));
}

namespace {

std::string g_hookClass;
TWinControl* g_hookCreating = nullptr;

LRESULT CALLBACK CreationHook(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_CREATEWND) {
    auto* cs = reinterpret_cast<CBT_CREATEWNDA*>(l)->lpcs;
    if (!IS_INTRESOURCE(cs->lpszClass) && std::string(cs->lpszClass) == "TTestForm") {
      g_hookClass = cs->lpszClass;
      g_hookCreating = TWinControl::CreatingControl();
    }
  }
  return CallNextHookEx(nullptr, code, w, l);
}

}  // namespace

TEST(Classes, WindowClassNamesAreClassNames) {
  const std::string& createdClass = g_hookClass;
  TWinControl*& creating = g_hookCreating;
  HHOOK hook = SetWindowsHookExA(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
  auto form = std::make_unique<TTestForm>(nullptr);
  auto* button = Make<TButton>(form.get(), 0, 0, 10, 10);
  auto* edit = Make<TEdit>(form.get(), 0, 0, 10, 10);
  auto* memo = Make<TMemo>(form.get(), 0, 0, 10, 10);
  auto* check = Make<TCheckBox>(form.get(), 0, 0, 10, 10);
  auto* panel = Make<TPanel>(form.get(), 0, 0, 10, 10);
  auto* bar = Make<TProgressBar>(form.get(), 0, 0, 10, 10);
  form->AfterConstruction();
  form->HandleNeeded();
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(createdClass, "TTestForm");
  EXPECT_EQ(creating, form.get());  // hooks can tell which form is being made
  EXPECT_EQ(WindowClass(form->Handle()), "TTestForm");
  EXPECT_EQ(WindowClass(button->Handle()), "TButton");
  EXPECT_EQ(WindowClass(edit->Handle()), "TEdit");
  EXPECT_EQ(WindowClass(memo->Handle()), "TMemo");
  EXPECT_EQ(WindowClass(check->Handle()), "TCheckBox");
  EXPECT_EQ(WindowClass(panel->Handle()), "TPanel");
  EXPECT_EQ(WindowClass(bar->Handle()), "TProgressBar");
  EXPECT_EQ(TWinControl::FindControl(edit->Handle()), edit);
  // Superclassed controls keep the behaviour of their Windows class.
  bar->SetPosition(150);
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), 100);
}

TEST(Forms, ClientSizeHoldsForTheBorderStyle) {
  auto form = std::make_unique<TTestForm>(nullptr);
  form->SetBorderStyle(TFormBorderStyle::bsToolWindow);
  form->SetBorderIcons(biSystemMenu);
  form->SetClientSize(476, 428);
  form->AfterConstruction();
  EXPECT_EQ(form->ClientWidth(), 476);
  HWND wnd = form->Handle();
  RECT r;
  GetClientRect(wnd, &r);
  EXPECT_EQ(r.right, 476);
  EXPECT_EQ(r.bottom, 428);
  EXPECT_TRUE(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongPtrA(wnd, GWL_STYLE) & WS_SYSMENU);
  // With no main form it holds the taskbar button, which minimizes only through a minimize
  // box (the tool window's caption shows none).
  EXPECT_TRUE(GetWindowLongPtrA(wnd, GWL_STYLE) & WS_MINIMIZEBOX);
  form->SetBorderStyle(TFormBorderStyle::bsSizeable);
  GetClientRect(wnd, &r);
  EXPECT_EQ(r.right, 476);
  EXPECT_EQ(r.bottom, 428);
}

TEST(Forms, CreationLoadsComponentsThenRunsOnCreateOnce) {
  g_log.clear();
  auto form = std::make_unique<TTestForm>(nullptr);
  new TLogged(form.get(), "first");
  new TLogged(form.get(), "second");
  auto* label = Make<TLabel>(form.get(), 0, 0, 10, 10);
  label->SetCaption("A longer caption");
  EXPECT_EQ(label->Width(), 10);  // sized when loading ends
  form->OnCreate = [&](TObject*) { g_log.push_back("create"); };
  form->AfterConstruction();
  form->AfterConstruction();
  EXPECT_EQ(g_log, (std::vector<std::string>{"loaded first", "loaded second", "create"}));
  EXPECT_GT(label->Width(), 10);
  EXPECT_FALSE(form->HasState(csLoading));
}

namespace {

// A .bmp file image: 24 bits per pixel, 3 x 2, bottom-up rows padded to 4 bytes.
std::vector<uint8_t> SmallBmp() {
  const int w = 3, h = 2, stride = 12;
  std::vector<uint8_t> b(54 + stride * h, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  b[26] = 1;
  b[28] = 24;
  // Bottom row (y = 1) first: blue, green, red; top row: white, black, grey.
  const uint8_t rows[2][9] = {{255, 0, 0, 0, 255, 0, 0, 0, 255}, {255, 255, 255, 0, 0, 0, 128, 128, 128}};
  for (int r = 0; r < 2; ++r)
    for (int i = 0; i < 9; ++i) b[54 + r * stride + i] = rows[r][i];
  return b;
}

}  // namespace

TEST(Bitmaps, LoadBmpBytesIntoA32BitViewAndRejectDamagedFiles) {
  const std::vector<uint8_t> bmp = SmallBmp();
  for (bool topDown : {false, true}) {
    TBitmap bitmap;
    bitmap.SetTopDown(topDown);
    bitmap.LoadFromBmpBytes(bmp.data(), bmp.size());
    ASSERT_EQ(bitmap.Width(), 3);
    ASSERT_EQ(bitmap.Height(), 2);
    Bitmap32 view = bitmap.View();
    EXPECT_EQ(view.RowDelta(), topDown ? 12 : -12);
    EXPECT_EQ(view.At(0, 0), (Pixel32{255, 255, 255, 0}));
    EXPECT_EQ(view.At(2, 0), (Pixel32{128, 128, 128, 0}));
    EXPECT_EQ(view.At(0, 1), (Pixel32{255, 0, 0, 0}));
    EXPECT_EQ(view.At(2, 1), (Pixel32{0, 0, 255, 0}));
    EXPECT_EQ(bitmap.Canvas().Pixel(2, 1), clRed);
    // Drawing it unscaled on another bitmap's canvas.
    TBitmap copy(4, 4, !topDown);
    copy.Canvas().Draw(1, 1, bitmap);
    EXPECT_EQ(copy.Canvas().Pixel(1, 2), clBlue);
    EXPECT_EQ(copy.Canvas().Pixel(0, 0), clBlack);
  }
  TBitmap bitmap;
  std::vector<uint8_t> truncated(bmp.begin(), bmp.end() - 1);
  EXPECT_THROW(bitmap.LoadFromBmpBytes(truncated.data(), truncated.size()), std::runtime_error);
  std::vector<uint8_t> huge = bmp;
  huge[18] = 0xFF;  // width far beyond the bytes there are
  huge[19] = 0x7F;
  EXPECT_THROW(bitmap.LoadFromBmpBytes(huge.data(), huge.size()), std::runtime_error);
  std::vector<uint8_t> offset = bmp;
  offset[10] = 200;  // pixel data said to start past the end
  EXPECT_THROW(bitmap.LoadFromBmpBytes(offset.data(), offset.size()), std::runtime_error);
  EXPECT_THROW(bitmap.LoadFromBmpBytes("BM", 2), std::runtime_error);
}

TEST(Bitmaps, RowOrderChangeAndCopyKeepThePicture) {
  TBitmap a(2, 2);
  Bitmap32 v = a.View();
  v.At(0, 0) = Pixel32{1, 2, 3, 4};
  v.At(1, 1) = Pixel32{5, 6, 7, 8};
  a.SetTopDown(true);
  EXPECT_TRUE(a.TopDown());
  EXPECT_EQ(a.View().At(0, 0), (Pixel32{1, 2, 3, 4}));
  EXPECT_EQ(a.View().At(1, 1), (Pixel32{5, 6, 7, 8}));
  TBitmap b;
  b.Assign(a);
  EXPECT_EQ(b.View().At(1, 1), (Pixel32{5, 6, 7, 8}));
  b.View().At(1, 1) = Pixel32{};
  EXPECT_EQ(a.View().At(1, 1), (Pixel32{5, 6, 7, 8}));  // its own pixels
  b.SetSize(0, 5);
  EXPECT_TRUE(b.Empty());
  EXPECT_TRUE(b.View().Empty());
  // A canvas keeps working across font changes (the old font leaves the DC first).
  TBitmap c(50, 20);
  c.Canvas().Font().SetHeight(-8);
  const int small = c.Canvas().TextWidth("Kestamor");
  c.Canvas().Font().SetHeight(-16);
  EXPECT_GT(c.Canvas().TextWidth("Kestamor"), small);
}

TEST(CheckBoxes, UserClickTogglesAndFiresOnClick) {
  auto form = std::make_unique<TTestForm>(nullptr);
  auto* box = Make<TCheckBox>(form.get(), 0, 0, 100, 20);
  box->SetChecked(true);  // while loading: no click
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  form->AfterConstruction();
  EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  box->SetState(TCheckBoxState::cbGrayed);
  SendMessageA(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 3);
}

TEST(Title, ExecutableNameRule) {
  // The first character keeps its case.
  EXPECT_EQ(TApplication::TitleFromExeName("C:\\Setup\\install_KESTAMOR.exe"), "install_kestamor");
  EXPECT_EQ(TApplication::TitleFromExeName("D:\\INSTALL_KESTAMOR.EXE"), "Install_kestamor");
  EXPECT_EQ(TApplication::TitleFromExeName("C:\\a.b\\SETUP"), "Setup");
  EXPECT_EQ(TApplication::TitleFromExeName("MY.Tool.v2.exe"), "My");
  EXPECT_EQ(TApplication::TitleFromExeName("C:\\dir\\.hidden"), "");
  EXPECT_EQ(TApplication::TitleFromExeName("x"), "x");
  EXPECT_EQ(Application->Title(), "test_framework");
  Application->SetTitle("Given");
  EXPECT_EQ(Application->Title(), "Given");
}
