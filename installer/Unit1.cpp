#include "installer/Unit1.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "installer/InflateZlib.h"
#include "installer/InstallMessages.h"
#include "installer/InstallPaths.h"
#include "installer/PayloadRecord_win.h"
#include "installer/ProgramFilesDir.h"
#include "installer/ResourceData.h"
#include "installer/unpack_thread_unit.h"
#include "framework/Dialogs.h"
#include "skin/frame/acFrameJoin.h"
#include "resources/installer/installer_resources.h"

InstallerState Installer;
TForm1* Form1 = nullptr;

namespace {

// The pinkish grey of the wizard's texts (red 153, green 137, blue 137).
constexpr TColor kTextColor = 9013657;
// The skin folder of the machine the installer is built on; no target machine has it, so the
// embedded skin is the one loaded.
constexpr const char* kBuildSkinDirectory = "D:\\Kestamor\\Build\\Skins";
// Starts the installed program by its full path (no search: nothing else of a similar name
// can run in its place), quoted on its command line; the result is not examined.
void LaunchProgram(const std::string& path) {
  std::string commandLine = "\"" + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

void UseTahoma(TFont& font) {
  font.SetName("Tahoma");
  font.SetHeight(-11);
}

// Controls drawn in the wizard's text colour carry their own font.
void UseTextColour(TControl* c) {
  c->SetParentFont(false);
  UseTahoma(c->Font());
  c->Font().SetColor(kTextColor);
}

}  // namespace

// Controls are created in the order of the window's layout, so a later control
// lies above an earlier one of the same parent. Tab orders are per parent and
// are applied once every sibling exists.
TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  SetName("Form1");
  BeginLoading();
  SetCaption("Kestamor Installer");
  SetBorderStyle(TFormBorderStyle::bsToolWindow);
  SetBorderIcons(biSystemMenu);
  SetFormStyle(TFormStyle::fsStayOnTop);
  SetPosition(TPosition::poDesktopCenter);
  SetColor(clBtnFace);
  UseTahoma(Font());
  Font().SetColor(clWindowText);
  SetClientSize(476, 428);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };

  // The manager comes first: its skin is in use by the time the controls finish loading. The
  // frame joins before it, so that the window hook follows its skin.
  acJoinFrame();
  sSkinManager1 = new TsSkinManager(this);
  sSkinManager1->SetName("sSkinManager1");
  TsStoredSkin& garnet = sSkinManager1->InternalSkins.Add();
  garnet.Name = "Garnet (internal)";
  garnet.Data = LoadResourceBytes(IDR_GARNET);
  sSkinManager1->SetSkinDirectory(kBuildSkinDirectory);
  sSkinManager1->SetSkinName("Garnet (internal)");

  DdeClient = new TDdeClientConv(this);
  DdeClient->SetName("DdeClient");

  Image2 = new TImage(this);
  Image2->SetName("Image2");
  Image2->SetParent(this);
  Image2->SetBounds(1, 1, 480, 422);
  const std::vector<uint8_t> picture = InflateZlib(LoadResourceBytes(IDR_BACKGROUND));
  if (!picture.empty()) Image2->Picture().LoadFromBmpBytes(picture.data(), picture.size());

  CreatePathPage();
  CreateFinishPage();
  CreateLicencePage();

  sPanel_2_license->SetTabOrder(0);
  sPanel_3_install->SetTabOrder(1);
  sPanel_4_finish->SetTabOrder(2);
}

// A worker still running when the window goes must find no window to report to; it then
// undoes its work silently.
TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
  if (run_) run_->Release(true);
}

namespace {

template <class T>
T* Place(TForm1* form, TWinControl* parent, const char* name, int left, int top, int width, int height) {
  T* control = new T(form);
  control->SetName(name);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

TsPanel* PagePanel(TForm1* form, const char* name) {
  auto* panel = Place<TsPanel>(form, form, name, 122, 101, 356, 322);
  panel->SetCaption("");
  panel->SkinData().SetSkinSection("CHECKBOX");
  return panel;
}

TsPanel* ContentPanel(TForm1* form, TWinControl* page, const char* name) {
  auto* panel = Place<TsPanel>(form, page, name, 5, 6, 349, 277);
  panel->SetCaption("");
  panel->SkinData().SetSkinSection("PANEL");
  panel->SetTabOrder(0);
  return panel;
}

TsLabel* Label(TForm1* form, TWinControl* parent, const char* name, int l, int t, int w, int h, const char* text,
              bool fixedSize = false) {
  auto* label = Place<TsLabel>(form, parent, name, l, t, w, h);
  if (fixedSize) label->SetAutoSize(false);
  label->SetCaption(text);
  UseTextColour(label);
  return label;
}

TsButton* Button(TForm1* form, TWinControl* parent, const char* name, int left, const char* text,
                 std::function<void(TObject*)> onClick, bool showFocus = false) {
  auto* button = Place<TsButton>(form, parent, name, left, 289, 89, 25);
  button->SetCaption(text);
  button->SkinData().SetSkinSection("BUTTON");
  button->SetShowFocus(showFocus);
  button->OnClick = std::move(onClick);
  return button;
}

void BlackEdit(TControl* edit) {
  edit->SetColor(clBlack);
  UseTextColour(edit);
}

}  // namespace

void TForm1::CreatePathPage() {
  sPanel_3_install = PagePanel(this, "sPanel_3_install");
  sPanel6 = ContentPanel(this, sPanel_3_install, "sPanel6");
  sLabel4 = Label(this, sPanel6, "sLabel4", 17, 27, 82, 13, "Installation path:");
  sLabel5 = Label(this, sPanel6, "sLabel5", 17, 73, 319, 30,
                  "If You would like to install Kestamor into a different folder then click and select another "
                  "folder.",
                  true);
  sLabel5->SetWordWrap(true);
  sLabel6 = Label(this, sPanel6, "sLabel6", 17, 109, 319, 30,
                  "Enter the Start Menu folder in which You would like Setup to create the program\x92s shortcuts:",
                  true);
  sLabel6->SetWordWrap(true);
  sLabel7 = Label(this, sPanel6, "sLabel7", 18, 180, 51, 13, "Additional:");

  sDirectoryEdit1 = Place<TsDirectoryEdit>(this, sPanel6, "sDirectoryEdit1", 15, 46, 241, 21);
  sDirectoryEdit1->SkinData().SetSkinSection("EDIT");
  sDirectoryEdit1->SetMaxLength(255);
  sDirectoryEdit1->SetDirectInput(false);
  sDirectoryEdit1->SetRoot("rfDesktop");
  BlackEdit(sDirectoryEdit1);
  sDirectoryEdit1->OnChange = [this](TObject* s) { sDirectoryEdit1Change(s); };

  sEdit1 = Place<TsEdit>(this, sPanel6, "sEdit1", 15, 142, 241, 21);
  sEdit1->SkinData().SetSkinSection("EDIT");
  sEdit1->SetText("Kestamor");
  BlackEdit(sEdit1);

  sCheckBox1 = Place<TsCheckBox>(this, sPanel6, "sCheckBox1", 16, 206, 132, 19);
  sCheckBox1->SkinData().SetSkinSection("CHECKBOX");
  sCheckBox1->SetImgChecked(0);
  sCheckBox1->SetImgUnchecked(0);
  sCheckBox1->SetCaption("Create a desktop icon");
  sCheckBox1->SetShowFocus(false);
  sCheckBox2 = Place<TsCheckBox>(this, sPanel6, "sCheckBox2", 16, 231, 157, 19);
  sCheckBox2->SkinData().SetSkinSection("CHECKBOX");
  sCheckBox2->SetImgChecked(0);
  sCheckBox2->SetImgUnchecked(0);
  sCheckBox2->SetCaption("Create a Quick Launch icon");
  sCheckBox2->SetVisible(false);  // never shown, never read

  sDirectoryEdit1->SetTabOrder(0);
  sEdit1->SetTabOrder(1);
  sCheckBox1->SetTabOrder(2);
  sCheckBox2->SetTabOrder(3);

  sButton_cansel3 = Button(this, sPanel_3_install, "sButton_cansel3", 265, "Cancel",
                           [this](TObject* s) { sButton_cansel3Click(s); }, true);
  sButton_next3 = Button(this, sPanel_3_install, "sButton_next3", 170, "Install",
                         [this](TObject* s) { sButton_next3Click(s); });
  sButton_prev3 = Button(this, sPanel_3_install, "sButton_prev3", 75, "< Back",
                         [this](TObject* s) { sButton_prev3Click(s); });
  sButton_cansel3->SetTabOrder(1);
  sButton_next3->SetTabOrder(2);
  sButton_prev3->SetTabOrder(3);
}

void TForm1::CreateFinishPage() {
  sPanel_4_finish = PagePanel(this, "sPanel_4_finish");
  sPanel9 = ContentPanel(this, sPanel_4_finish, "sPanel9");
  sLabel16 = Label(this, sPanel9, "sLabel16", 18, 26, 46, 13, "Progress:");
  sLabel19 = Label(this, sPanel9, "sLabel19", 18, 148, 187, 13, "Click Finish to complete the installation.");
  sLabel19->SetVisible(false);
  sLabel1 = Label(this, sPanel9, "sLabel1", 18, 69, 35, 13, "Status:");
  sLabel_status = Label(this, sPanel9, "sLabel_status", 66, 69, 54, 13, "Progress...");

  sProgressBar3 = Place<TsProgressBar>(this, sPanel9, "sProgressBar3", 15, 46, 320, 17);
  sProgressBar3->SkinData().SetSkinSection("GAUGE");
  sProgressBar3->SetRange(0, 100);
  sProgressBar3->SetPosition(0);
  sCheckBox4 = Place<TsCheckBox>(this, sPanel9, "sCheckBox4", 18, 118, 101, 19);
  sCheckBox4->SkinData().SetSkinSection("CHECKBOX");
  sCheckBox4->SetImgChecked(0);
  sCheckBox4->SetImgUnchecked(0);
  sCheckBox4->SetCaption("Launch Kestamor");
  sCheckBox4->SetShowFocus(false);
  sCheckBox4->SetChecked(true);
  sCheckBox4->SetVisible(false);
  sProgressBar3->SetTabOrder(0);
  sCheckBox4->SetTabOrder(1);

  sButton_4_finish = Button(this, sPanel_4_finish, "sButton_4_finish", 265, "Finish",
                            [this](TObject* s) { sButton_4_finishClick(s); });
  sButton_4_finish->SetEnabled(false);
  sButton_4_finish->SetTabOrder(1);
}

void TForm1::CreateLicencePage() {
  sPanel_2_license = PagePanel(this, "sPanel_2_license");
  sPanel4 = ContentPanel(this, sPanel_2_license, "sPanel4");
  sLabel2 = Label(this, sPanel4, "sLabel2", 8, 8, 337, 13, "Licence Agreement", true);

  sMemo1 = Place<TsMemo>(this, sPanel4, "sMemo1", 5, 30, 339, 177);
  sMemo1->SkinData().SetSkinSection("EDIT");
  sMemo1->SetReadOnly(true);
  sMemo1->SetScrollBars(TScrollStyle::ssVertical);
  BlackEdit(sMemo1);
  // The stored line list comes first; the paragraph text applied after it is what shows.
  const std::string lines = LoadResourceText(IDR_LICENCE_LINES);
  std::vector<std::string> list;
  for (size_t start = 0; start < lines.size();) {
    size_t end = lines.find("\r\n", start);
    if (end == std::string::npos) end = lines.size();
    list.push_back(lines.substr(start, end - start));
    start = end + 2;
  }
  sMemo1->SetLines(list);
  sMemo1->SetText(LoadResourceText(IDR_LICENCE));

  sGroupBox1 = Place<TsGroupBox>(this, sPanel4, "sGroupBox1", 5, 208, 339, 65);
  sGroupBox1->SetCaption("");
  sRadioButton1 = Place<TsRadioButton>(this, sGroupBox1, "sRadioButton1", 10, 16, 90, 19);
  sRadioButton1->SkinData().SetSkinSection("RADIOBUTTON");
  sRadioButton1->SetCaption("Yes. I agree.");
  sRadioButton1->SetShowFocus(false);
  sRadioButton1->OnClick = [this](TObject* s) { sRadioButton1Click(s); };
  sRadioButton2 = Place<TsRadioButton>(this, sGroupBox1, "sRadioButton2", 10, 41, 113, 19);
  sRadioButton2->SkinData().SetSkinSection("RADIOBUTTON");
  sRadioButton2->SetCaption("No. I don\x92t agree.");
  sRadioButton2->SetShowFocus(false);
  sRadioButton2->OnClick = [this](TObject* s) { sRadioButton2Click(s); };
  sRadioButton1->SetTabOrder(0);
  sRadioButton2->SetTabOrder(1);
  sMemo1->SetTabOrder(0);
  sGroupBox1->SetTabOrder(1);

  sButton_cansel2 = Button(this, sPanel_2_license, "sButton_cansel2", 265, "Cancel",
                           [this](TObject* s) { sButton_cansel2Click(s); });
  sButton_next2 = Button(this, sPanel_2_license, "sButton_next2", 170, "Next >",
                         [this](TObject* s) { sButton_next2Click(s); });
  sButton_next2->SetEnabled(false);
  sButton_cansel2->SetTabOrder(1);
  sButton_next2->SetTabOrder(2);
}

void TForm1::FormCreate(TObject*) {
  Installer.PayloadOffset = PayloadLayout::Offset;
  ShowPage(sPanel_2_license);
  sLabel1->SetVisible(true);
  sLabel_status->SetVisible(true);
  SetDoubleBuffered(true);
}

void TForm1::sRadioButton1Click(TObject*) { sButton_next2->SetEnabled(sRadioButton1->Checked()); }

// Tests "Yes", not itself: both handlers see the group's new state.
void TForm1::sRadioButton2Click(TObject*) { sButton_next2->SetEnabled(sRadioButton1->Checked()); }

// A covered page stays where it is under the one in front but is disabled: nothing on it takes
// the focus, a key or a click. (Hidden instead, its controls could still paint over the page in
// front while they lose the focus.)
void TForm1::ShowPage(TsPanel* page) {
  currentPage_ = page;
  page->SetEnabled(true);
  page->BringToFront();
  for (TsPanel* other : {sPanel_2_license, sPanel_3_install, sPanel_4_finish})
    if (other != page) other->SetEnabled(false);
  // The focus leaves a page that went away for the first control of the new one.
  if (!ActiveControl() || !ActiveControl()->CanFocus()) SetWindowFocus();
}

void TForm1::sButton_next2Click(TObject*) {
  if (currentPage_ != sPanel_2_license || !sRadioButton1->Checked()) return;
  // A wrong value type raises here, before anything changes: the page stays.
  std::string programFiles = ReadProgramFilesDirValue();
  // A value that names no absolute folder (empty, or relative to whatever the current
  // directory is) is no proposal.
  if (!IsAbsolutePath(programFiles)) programFiles = FallbackProgramFilesDir(ShellProgramFilesDir());
  Installer.InstallDirectory = WithTrailingBackslash(programFiles);
  sDirectoryEdit1->SetText(ProposedInstallFolder(Installer.InstallDirectory));
  Installer.InstallDirectory = WithTrailingBackslash(sDirectoryEdit1->Text());
  ShowPage(sPanel_3_install);
}

void TForm1::sButton_cansel2Click(TObject*) { Close(); }

// An empty text leaves the install directory empty rather than "\".
void TForm1::sDirectoryEdit1Change(TObject*) {
  Installer.InstallDirectory = WithTrailingBackslash(sDirectoryEdit1->Text());
}

void TForm1::sButton_prev3Click(TObject*) {
  if (currentPage_ == sPanel_3_install) ShowPage(sPanel_2_license);
}

// One installation per press, from the path page only. The worker gets the choices as they
// stand now and never looks at the wizard's controls again.
void TForm1::sButton_next3Click(TObject*) {
  if (currentPage_ != sPanel_3_install || run_) return;
  InstallChoices choices;
  choices.Directory = Installer.InstallDirectory;
  choices.ProgramGroup = ProgramGroupName(sEdit1->Text());
  choices.DesktopIcon = sCheckBox1->Checked();
  choices.PayloadFile = Installer.PayloadFile.empty() ? PayloadFileInput::OwnExecutablePath() : Installer.PayloadFile;
  choices.PayloadOffset = Installer.PayloadOffset;
  choices.Owner = Handle();
  Installer.MainExecutablePath = choices.Directory + "kestamor.exe";
  run_ = std::make_shared<InstallRun>();
  closeWhenStopped_ = false;
  ShowPage(sPanel_4_finish);
  ShowProgressStep(progress::kCreateDirectories);
  Installer.Worker = TThread::Create<unpack_thread>(std::move(choices), run_);
  Installer.Worker->Start();
}

void TForm1::FormCloseQuery(TObject*, bool& canClose) {
  if (!run_) return;
  canClose = false;
  if (closeWhenStopped_) return;  // already stopping: the window goes once it is undone
  const std::shared_ptr<InstallRun> run = run_;
  run->Hold();
  const bool stop = MessageDlg(install_message::kStopQuestion, TMsgDlgType::mtCustom, mbYes | mbNo) == mrYes;
  if (stop && !run_) {  // it completed while the question was open: close as asked
    run->Release(false);
    canClose = true;
    return;
  }
  closeWhenStopped_ = stop;
  run->Release(stop);
}

void TForm1::ShowProgressStep(const ProgressStep& step) {
  sProgressBar3->SetPosition(step.Position);
  sProgressBar3->Repaint();
  sLabel_status->SetCaption(step.Status);
  sLabel_status->Repaint();
  Repaint();
}

void TForm1::ShowDirectoryFailure() {
  run_.reset();
  if (closeWhenStopped_) {
    Close();
    return;
  }
  ShowMessage(install_message::kDirectoryFailure);
  ShowPage(sPanel_3_install);
  sDirectoryEdit1->SetFocus();
}

// In the directory failure's style: the title as caption, no icon, centred on the screen.
bool TForm1::ShowInstallFailure(const std::string& text, bool offerRetry) {
  if (!offerRetry) {
    ShowMessage(text);
    return false;
  }
  return MessageDlg(text, TMsgDlgType::mtCustom, mbRetry | mbCancel) == mrRetry;
}

void TForm1::FinishInstallation(const InstallResult& installed) {
  run_.reset();
  Installer.MainExecutablePath = installed.MainExecutablePath;
  Installer.ProgramGroupName = installed.ProgramGroupName;
  Installer.DesktopShortcutPath = installed.DesktopShortcutPath;
  ShowProgressStep(progress::kCompleted);
  sLabel19->SetVisible(true);
  sCheckBox4->SetVisible(true);
  sCheckBox4->Repaint();
  sButton_4_finish->SetEnabled(true);
  // Return on the last page finishes.
  sButton_4_finish->SetFocus();
  Repaint();
}

void TForm1::ShowInstallStopped(bool earlier, const std::vector<std::string>& notUndone) {
  run_.reset();
  sLabel_status->SetCaption(install_message::kStoppedStatus);
  sLabel_status->Repaint();
  if (closeWhenStopped_ && notUndone.empty()) {
    Close();
    return;
  }
  ShowMessage(install_message::StoppedOutcome(earlier, notUndone));
  if (closeWhenStopped_) Close();
}

void TForm1::sButton_cansel3Click(TObject*) { Close(); }

void TForm1::sButton_4_finishClick(TObject*) {
  if (run_ || !sButton_4_finish->Enabled()) return;
  if (sCheckBox4->Checked()) LaunchProgram(Installer.MainExecutablePath);
  Close();
}
