#include "skin/render/sCommonData_win.h"

#include <algorithm>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/data/acntUtils.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/acGlow.h"
#include "skin/render/acGlow_win.h"
#include "skin/render/sClassCodes.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStateImage.h"
#include "skin/render/sStyleSimply_win.h"

namespace {

constexpr TColor kSysBtnFace = static_cast<TColor>(0xFF00000F);
constexpr TColor kSysWindow = static_cast<TColor>(0xFF000005);
constexpr TColor kSysWindowText = static_cast<TColor>(0xFF000008);

TWinControl* AsWin(TControl* c) { return dynamic_cast<TWinControl*>(c); }

uint8_t Channel(TColor c, int shift) { return static_cast<uint8_t>((static_cast<uint32_t>(c) >> shift) & 0xFF); }

// The colour a parent answers to GetBackgroundColor, or its own Color without an answer.
TColor ParentBgColorAnswer(TControl* parent) {
  if (!parent) return clFuchsia;
  const auto answer = static_cast<TColor>(SendSkinCommand(parent, SkinCommand::GetBackgroundColor));
  if (answer == 0 && !HandlesSkinCommandsControl(parent)) return ColorToRGB(parent->Color());
  return answer == clFuchsia ? ColorToRGB(parent->Color()) : answer;
}

}  // namespace

TsCommonData::TsCommonData(TControl* owner, int32_t classCode)
    : OwnerControl(owner), OwnerObject(owner), ClassCode(classCode) {}

TsCommonData::~TsCommonData() {
  RemoveGlow();
  SectionIndex = BorderMaskIndex = TextureIndex = HotTextureIndex = -1;
  skinManager_ = nullptr;
}

// ---- Published ------------------------------------------------------------------------

void TsCommonData::SetSkinSection(const std::string& value) {
  skinSection_ = value.empty() ? std::string("UNKNOWN") : UpperCase(value);
  TsSkinManager* m = Manager();
  if (m && m->Active() && !m->Model().Sections.empty()) {
    UpdateIndexes();
  } else {
    SectionIndex = -1;
  }
  if (OwnerControl && !OwnerLoading() && !OwnerDestroying() && OwnerControl->Parent())
    SendSkinCommand(OwnerControl, SectionIndex >= 0 ? SkinCommand::RefreshSkin : SkinCommand::RemoveSkin, 0,
                    reinterpret_cast<LPARAM>(m));
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
  skinManager_ = value == DefaultManager() ? nullptr : value;
  SetSkinSection(skinSection_);
}

void TsCommonData::SetCustomColor(bool value) {
  if (value == customColor_) return;
  customColor_ = value;
  if (!OwnerLoading()) UpdateColors(true);
}

void TsCommonData::SetCustomFont(bool value) {
  if (value == customFont_) return;
  customFont_ = value;
  if (!OwnerLoading()) UpdateColors(true);
}

void TsCommonData::SetHUEOffset(int32_t value) {
  if (value == hueOffset_) return;
  hueOffset_ = value;
  InitSkin();
  RepaintOwner();
}

void TsCommonData::SetSaturation(int32_t value) {
  if (value == saturation_) return;
  saturation_ = value;
  InitSkin();
  RepaintOwner();
}

// ---- Cache ----------------------------------------------------------------------------

Bitmap32 TsCommonData::CacheView() const { return cache_ && !cache_->Empty() ? cache_->View() : Bitmap32(); }

void TsCommonData::ReleaseCache() {
  if (cache_) cache_->SetSize(0, 0);
}

void TsCommonData::InitCache() {
  if (!cache_) cache_ = std::make_unique<TBitmap>();
  const int w = OwnerControl ? std::max(OwnerControl->Width(), 0) : 0;
  const int h = OwnerControl ? std::max(OwnerControl->Height(), 0) : 0;
  if (cache_->Width() != w || cache_->Height() != h) cache_->SetSize(w, h);
}

// ---- Skin -----------------------------------------------------------------------------

TsSkinManager* TsCommonData::Manager() const { return skinManager_ ? skinManager_ : DefaultManager(); }

const TsSkinModel* TsCommonData::Model() const {
  TsSkinManager* m = Manager();
  return m ? &m->Model() : nullptr;
}

const TsGeneralData* TsCommonData::Section() const {
  const TsSkinModel* model = Model();
  if (!model || SectionIndex < 0 || SectionIndex >= static_cast<int32_t>(model->Sections.size())) return nullptr;
  return &model->Sections[static_cast<size_t>(SectionIndex)];
}

TsSectionBinding TsCommonData::Binding() const {
  TsSectionBinding b;
  b.SkinManager = Model();
  b.SkinSection = skinSection_;
  b.SectionIndex = SectionIndex;
  b.BorderMaskIndex = BorderMaskIndex;
  b.TextureIndex = TextureIndex;
  b.HotTextureIndex = HotTextureIndex;
  b.HUEOffset = hueOffset_;
  b.Saturation = saturation_;
  if (customColor_ && OwnerControl) b.CustomColor = ColorToRGB(OwnerControl->Color());
  return b;
}

bool TsCommonData::OwnerDestroying() const { return OwnerControl && OwnerControl->HasState(csDestroying); }
bool TsCommonData::OwnerLoading() const { return OwnerControl && OwnerControl->HasState(csLoading | csReading); }

void TsCommonData::RemoveGlow() {
  HideGlow(GlowHandle);
  GlowHandle = -1;
}

void TsCommonData::UpdateGlow(bool pressing) {
  const TsGeneralData* section = Section();
  if (!GlowingAllowed(Manager()) || !section || section->Glow < 1 || !OwnerControl) return;
  const bool buttonDown = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
  if (!MouseOver || buttonDown || (pressing && GlowEffect(GlowHandle))) {
    RemoveGlow();
    return;
  }
  // A glow already around the control stays; moving or resizing the control removes it.
  if (GlowEffect(GlowHandle)) return;
  TForm* form = GetParentForm(OwnerControl);
  if (!form || !form->HandleAllocated()) return;
  const HWND owner = form->Parent() && form->Parent()->HandleAllocated() ? form->Parent()->Handle() : form->Handle();
  RECT target, clip;
  if (HWND wnd = OwnerHandle()) {
    GetWindowRect(wnd, &target);
    FrameDC dc(wnd);
    if (!dc.get()) return;
    GetClipBox(dc.get(), &clip);
  } else {
    TWinControl* parent = OwnerControl->Parent();
    if (!parent || !parent->HandleAllocated()) return;
    const TsRect place{OwnerControl->Left(), OwnerControl->Top(), OwnerControl->Left() + OwnerControl->Width(),
                       OwnerControl->Top() + OwnerControl->Height()};
    const POINT origin = parent->ClientToScreen(POINT{place.Left, place.Top});
    target = RECT{origin.x, origin.y, origin.x + place.Width(), origin.y + place.Height()};
    RECT parentClip;
    WindowDC dc(parent->Handle());
    GetClipBox(dc.get(), &parentClip);
    const TsRect c =
        WindowlessGlowClip(TsRect{parentClip.left, parentClip.top, parentClip.right, parentClip.bottom}, place);
    clip = RECT{c.Left, c.Top, c.Right, c.Bottom};
  }
  GlowHandle = ShowGlow(target, clip, skinSection_, Manager(), owner, section->GlowMargin, "GLOW");
}

HWND TsCommonData::OwnerHandle() const {
  auto* w = AsWin(OwnerControl);
  return w && w->HandleAllocated() ? w->Handle() : nullptr;
}

bool TsCommonData::IsSkinned(bool needActive) const {
  TsSkinManager* m = Manager();
  if (skinSection_.empty() || !m || m->HasState(csDestroying) || OwnerDestroying() || !Section()) return false;
  return !needActive || m->SkinActive();
}

void TsCommonData::SetDefaultSection() {
  if (!skinSection_.empty()) {
    UpdateIndexes();
    return;
  }
  std::string name = DefaultSectionForClassCode(ClassCode);
  if (name.empty() && OwnerObject) name = OwnerObject->ClassName();
  SetSkinSection(name);
}

void TsCommonData::UpdateIndexes() {
  TsSkinManager* m = Manager();
  const TsSkinModel* model = Model();
  SectionIndex = m && m->Active() && !skinSection_.empty() ? model->FindSection(skinSection_) : -1;
  StateFlags = 0;
  BackgroundKind = 0;
  if (const TsGeneralData* g = Section()) {
    BorderMaskIndex = g->BorderMaskIndex;
    TextureIndex = model->FindTexture(SectionIndex, skinSection_, "PATTERN");
    HotTextureIndex = model->FindTexture(SectionIndex, skinSection_, "HOTPATTERN");
    if (g->ImagePercent != 0) BackgroundKind += 4;
    if (g->GradientPercent != 0 && !g->Gradient.empty()) {
      switch (g->Gradient.front().Mode) {
        case 0: BackgroundKind += 2; break;
        case 1: BackgroundKind += 1; break;
        case 2: BackgroundKind += 3; break;
        default: break;
      }
    }
    RecomputeSolid();
  } else {
    BorderMaskIndex = TextureIndex = HotTextureIndex = -1;
  }
  CacheStale = true;
}

void TsCommonData::RecomputeSolid() {
  StateFlags &= static_cast<uint16_t>(~sfSolid);
  const bool container = dynamic_cast<TPanel*>(OwnerControl) || dynamic_cast<TScrollingWinControl*>(OwnerControl);
  if (container && IsSolid()) StateFlags |= sfSolid;
}

void TsCommonData::UpdateColors(bool repaint) {
  if (IsEditLikeCode(ClassCode) && IsSkinned() && OwnerControl) {
    const TsGeneralData* g = Section();
    auto tint = [this](TColor c) {
      if (hueOffset_ != 0) c = ShiftHue(c, hueOffset_);
      if (saturation_ != 0) c = ChangeSaturation(c, saturation_);
      return c;
    };
    if (!customColor_) OwnerControl->SetColor(tint(g->Color));
    if (!customFont_) OwnerControl->Font().SetColor(tint(g->FontColor));
  }
  if (repaint) RepaintOwner();
}

void TsCommonData::InitSkin() {
  SetDefaultSection();
  if (IsSkinned() && OwnerControl && OwnerControl->Parent() && !OwnerLoading()) {
    if (auto* w = AsWin(OwnerControl)) {
      if (TForm* form = GetParentForm(w))
        SendSkinCommand(form, SkinCommand::AddControl, 0, reinterpret_cast<LPARAM>(OwnerControl));
    }
  }
  UpdateColors(false);
}

void TsCommonData::RepaintOwner() {
  CacheStale = true;
  if (!OwnerControl || OwnerLoading() || OwnerDestroying() || !OwnerControl->Parent()) return;
  if (HWND wnd = OwnerHandle()) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  } else if (!AsWin(OwnerControl)) {
    OwnerControl->Invalidate();
  }
}

void TsCommonData::BeginUpdate() {
  PaintingSuspended = true;
  StateFlags |= sfUpdating;
  if (OwnerControl) SendSkinCommand(OwnerControl, SkinCommand::UpdatingOn);
}

void TsCommonData::EndUpdate(bool repaint) {
  PaintingSuspended = false;
  StateFlags &= static_cast<uint16_t>(~sfUpdating);
  if (OwnerControl) SendSkinCommand(OwnerControl, SkinCommand::UpdatingOff);
  if (repaint) RepaintOwner();
}

bool TsCommonData::IsPaintingSuspended() const {
  if (!Manager()) return false;
  if (!MustRepaint()) return PaintingSuspended;
  if (OwnerDestroying() || PaintingSuspended) return PaintingSuspended;
  TControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
  return parent && SendSkinCommand(parent, SkinCommand::GetNeedsRepaint) != 0;
}

bool TsCommonData::IsActiveLook() const {
  if (!OwnerControl || OwnerDestroying() || !OwnerControl->Enabled()) return false;
  if (HasFocus) return true;
  if (HWND wnd = OwnerHandle(); wnd && GetFocus() == wnd && !dynamic_cast<TPanel*>(OwnerControl)) return true;
  return MouseOver && !IsContainerCode(ClassCode);
}

bool TsCommonData::MustRepaint() const { return acEngine().SkinChanging || !(StateFlags & sfSolid) || IsActiveLook(); }

bool TsCommonData::IsSolid() const {
  const TsGeneralData* g = Section();
  if (!g) return false;
  const TsSkinModel* model = Model();
  if (BorderMaskIndex >= 0 && BorderMaskIndex < static_cast<int32_t>(model->Images.size())) {
    const TsMaskData& b = model->Images[static_cast<size_t>(BorderMaskIndex)];
    if (b.WL + b.WR > 20 || b.WT + b.WB > 20) return false;
  }
  if (g->Transparency == 0) return g->ImagePercent == 0 && g->GradientPercent == 0;
  if (g->Transparency == 100) {
    TControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
    return parent && (SendSkinCommand(parent, SkinCommand::ControlSkinState) & sfSolid) != 0;
  }
  return false;
}

bool TsCommonData::NeedsParentBackground() const {
  if (UrgentPaint || !IsSkinned() || !OwnerControl || !OwnerControl->Enabled()) return true;
  const TsGeneralData* g = Section();
  if (g->Transparency <= 0) return false;
  TControl* parent = OwnerControl->Parent();
  return parent && SendSkinCommand(parent, SkinCommand::GetTransparency) != 0;
}

TColor TsCommonData::GetBgColor(int state, HWND wnd) const {
  const TsGeneralData* g = IsSkinned() ? Section() : nullptr;
  if (g) {
    const TsGenState& s = g->StateProps[state > 0 && g->States >= 2 ? 1 : 0];
    const int t = s.Transparency;
    if (t != 0) {
      TColor parent = kSysBtnFace;
      if (OwnerControl && OwnerControl->Parent()) {
        parent = GetControlColor(OwnerControl->Parent());
      } else if (wnd && GetParent(wnd)) {
        parent = GetControlColor(GetParent(wnd));
      }
      parent = ColorToRGB(parent);
      return t >= 100 ? parent : MixColors(parent, s.Color, t / 100.0);
    }
    if (!customColor_) return s.Color;
  }
  return OwnerControl ? OwnerControl->Color() : kSysBtnFace;
}

TColor TsCommonData::BackgroundColorAnswer() const {
  if (!IsSkinned()) return OwnerControl ? ColorToRGB(OwnerControl->Color()) : ColorToRGB(kSysBtnFace);
  const TsGeneralData* g = Section();
  const int t = g->Transparency;
  if (t == 0) return g->Color;
  TControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
  const TColor p = parent ? ParentBgColorAnswer(parent) : (OwnerControl ? ColorToRGB(OwnerControl->Color()) : 0);
  if (t >= 100) return p;
  const TColor s = g->Color;
  uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int v = std::clamp((t * (Channel(p, shift) - Channel(s, shift)) + Channel(s, shift) * 256) >> 8, 0, 255);
    result |= static_cast<uint32_t>(v) << shift;
  }
  return static_cast<TColor>(result);
}

void TsCommonData::FillBgQuery(ParentBgQuery& q, int state, HWND wnd) {
  const TsGeneralData* g = IsSkinned() ? Section() : nullptr;
  if (!g || customColor_) {
    q.AnswerKind = akColor;
    q.Color = OwnerControl ? OwnerControl->Color() : kSysBtnFace;
    return;
  }
  const TsGenState& s = g->StateProps[state > 0 && g->States >= 2 ? 1 : 0];
  const int t = s.Transparency;
  TBitmap* cache = cache_ && !cache_->Empty() ? cache_.get() : nullptr;
  if (t == 100 && ((StateFlags & sfSolid) || !cache || CacheStale)) {
    TControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
    if (parent) {
      GetParentBg(q, parent, q.DrawRequested);
      if (q.AnswerKind == akBitmap) {
        q.Offset.X += OwnerControl->Left();
        q.Offset.Y += OwnerControl->Top();
      }
    } else if (!wnd) {
      q.AnswerKind = akColor;
      q.Color = DefaultManager() ? DefaultManager()->GetGlobalColor() : kSysBtnFace;
    } else {
      GetParentBg(q, GetParent(wnd), q.DrawRequested);
      if (q.AnswerKind == akBitmap) {
        RECT r;
        GetWindowRect(wnd, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
        q.Offset.X += r.left;
        q.Offset.Y += r.top;
      }
    }
    return;
  }
  if (t > 0 && t < 100 && !cache) {
    q.AnswerKind = akColor;
    q.Color = clFuchsia;
    return;
  }
  if (t == 0) {
    if (s.GradientPercent <= 0 && s.ImagePercent < 1) {
      q.AnswerKind = akColor;
      q.Bmp = nullptr;
      q.Color = GetBgColor(state, wnd);
      if (q.DrawRequested && q.DC) {
        const RECT r{q.R.Left, q.R.Top, q.R.Right, q.R.Bottom};
        FillDcRect(static_cast<HDC>(q.DC), r, q.Color);
      }
      return;
    }
    q.Color = DefaultManager() ? DefaultManager()->GetGlobalColor() : kSysBtnFace;
    if (!cache) {
      q.AnswerKind = akColor;
      q.Color = clFuchsia;
      return;
    }
  }
  q.AnswerKind = akBitmap;
  cacheView_ = cache->View();  // the answer points at the cache's pixels
  q.Bmp = &cacheView_;
  if (q.DrawRequested && q.DC) {
    const RECT dst{q.R.Left, q.R.Top, q.R.Right, q.R.Bottom};
    BitBlt(static_cast<HDC>(q.DC), dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top,
           cache->Canvas().Handle(), q.Offset.X, q.Offset.Y, SRCCOPY);
  } else {
    q.Offset = TsPoint{0, 0};
  }
}

void TsCommonData::GetOwnBgInfo(BackgroundSource& info) const {
  if (!IsSkinned()) {
    info = BackgroundSource{};
    info.FillColor = ColorToRGB(GetBgColor(0));
    return;
  }
  ParentBgQuery q;
  if (OwnerControl && OwnerControl->Parent()) {
    GetParentBg(q, OwnerControl->Parent(), false);
  } else if (HWND wnd = OwnerHandle(); wnd && GetParent(wnd)) {
    GetParentBg(q, GetParent(wnd), false);
  }
  info = BgInfoFromQueryWin(q);
}

int32_t TsCommonData::BorderWidth() const {
  const TsSkinModel* model = Model();
  if (!model || BorderMaskIndex < 0 || BorderMaskIndex >= static_cast<int32_t>(model->Images.size())) return 0;
  const TsMaskData& b = model->Images[static_cast<size_t>(BorderMaskIndex)];
  if (b.DrawMode & 2) return 0;
  return std::max({b.WL, b.WT, b.WR, b.WB});
}

// ---- Messages -------------------------------------------------------------------------

bool TsCommonData::SkinCommandHandler(TMessage& m) {
  auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
  const bool fromOwnManager = manager && manager == Manager();
  switch (m.WParamHi()) {
    case SkinCommand::NewSkin:
      if (fromOwnManager) {
        UpdateIndexes();
        UpdateColors(false);
        // A skin removed earlier left painting suspended; the new one must be painted.
        PaintingSuspended = false;
      }
      return true;
    case SkinCommand::RemoveSkin:
      if (fromOwnManager) {
        if (manager->HasState(csDestroying)) skinManager_ = nullptr;
        SectionIndex = BorderMaskIndex = TextureIndex = HotTextureIndex = -1;
        PaintingSuspended = true;
        ReleaseCache();
        if (IsEditLikeCode(ClassCode) && OwnerControl) {
          if (!customColor_) OwnerControl->SetColor(kSysWindow);
          if (!customFont_) OwnerControl->Font().SetColor(kSysWindowText);
          if (HWND wnd = OwnerHandle()) RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        }
      }
      return true;
    case SkinCommand::RefreshSkin:
      if (fromOwnManager) {
        CacheStale = true;
        PaintingSuspended = false;
        UpdateColors(true);
        RecomputeSolid();
      }
      return true;
    case SkinCommand::IsHandled:
      m.Result = 1;
      return true;
    case SkinCommand::SetUpdating:
      PaintingSuspended = m.WParamLo() == 1;
      return true;
    case SkinCommand::SetUrgentPainting:
      UrgentPaint = m.WParamLo() == 1;
      return true;
    case SkinCommand::GetNeedsRepaint:
      m.Result = CacheStale || PaintingSuspended;
      return true;
    case SkinCommand::GetHalfVisible:
      m.Result = PartlyVisible;
      return true;
    case SkinCommand::SetHalfVisible:
      PartlyVisible = m.WParamLo() == 1;
      return true;
    case SkinCommand::RefreshSection:
      if (m.LParam && UpperCase(reinterpret_cast<const char*>(m.LParam)) == skinSection_) RepaintOwner();
      return true;
    case SkinCommand::SetSection:
      if (m.LParam) SetSkinSection(reinterpret_cast<const char*>(m.LParam));
      return true;
    case SkinCommand::BackgroundChanged:
      CacheStale = true;
      return true;
    case SkinCommand::GetTransparency: {
      const TsGeneralData* g = IsSkinned() ? Section() : nullptr;
      if (!g) return false;
      TControl* parent = OwnerControl ? OwnerControl->Parent() : nullptr;
      if (g->Transparency == 100 && parent)
        m.Result = SendSkinCommand(parent, SkinCommand::GetTransparency) & 0x7F;
      else
        m.Result = g->GradientPercent + g->ImagePercent > 0 || NeedsParentBackground();
      return true;
    }
    case SkinCommand::ParentBackgroundChanged:
      if (NeedsParentBackground()) {
        CacheStale = true;
        if (HWND wnd = OwnerHandle(); wnd && m.WParamLo() == 1)
          RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_NOERASE);
        if (auto* w = AsWin(OwnerControl))
          SendToChildren(w, SM_ALPHACMD, MakeSkinCommand(SkinCommand::ParentBackgroundChanged), 0);
      }
      return true;
    case SkinCommand::GetBackgroundColor:
      m.Result = static_cast<LRESULT>(static_cast<uint32_t>(BackgroundColorAnswer()));
      return true;
    case SkinCommand::GetSkinIndex:
      if (m.LParam) reinterpret_cast<TacSectionInfo*>(m.LParam)->SkinIndex = SectionIndex;
      return true;
    case SkinCommand::GetBackgroundInfo:
      if (m.LParam) FillBgQuery(*reinterpret_cast<ParentBgQuery*>(m.LParam), 0, nullptr);
      return true;
    case SkinCommand::ControlSkinState:
      if (m.LParam == 1) {
        RecomputeSolid();
        if (auto* w = AsWin(OwnerControl)) SendToChildren(w, SM_ALPHACMD, m.WParam, 1);
      } else {
        m.Result = StateFlags;
      }
      return true;
    case SkinCommand::SetPrintDC:
      PrintDc = reinterpret_cast<HDC>(m.LParam);
      if (PrintDc) {
        StateFlags |= sfPrinting;
      } else {
        StateFlags &= static_cast<uint16_t>(~sfPrinting);
      }
      return true;
    case SkinCommand::GetApplication:
      m.Result = reinterpret_cast<LRESULT>(Application);
      return true;
    default:
      return false;
  }
}

bool CommonSkinHandler(TMessage& m, TsCommonData& sd) {
  TControl* owner = sd.OwnerControl;
  switch (m.Msg) {
    case SM_ALPHACMD:
      return sd.SkinCommandHandler(m);
    case WM_MOVE:
      if (sd.NeedsParentBackground()) {
        sd.CacheStale = true;
        if (owner) SendSkinCommand(owner, SkinCommand::ParentBackgroundChanged, 1);
      }
      sd.RemoveGlow();
      return false;
    case WM_SIZE:
      if (sd.IsSkinned()) {
        sd.CacheStale = true;
        auto* w = dynamic_cast<TWinControl*>(owner);
        if (w && sd.Section()->GradientPercent > 0) {
          for (int i = 0; i < w->ControlCount(); ++i) {
            TControl* c = w->Controls(i);
            if (!c->HasState(csDestroying)) SendSkinCommand(c, SkinCommand::ParentBackgroundChanged, 1);
          }
        }
      }
      sd.RemoveGlow();
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      auto* w = dynamic_cast<TWinControl*>(owner);
      if (w && w->CanFocus() && w->Showing()) {
        sd.CacheStale = true;
        sd.HasFocus = m.Msg == WM_SETFOCUS;
        const TsGeneralData* g = sd.Section();
        if (IsEditLikeCode(sd.ClassCode) && g && g->States >= 2 && w->HandleAllocated())
          RedrawWindow(w->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
      return false;
    }
    case WM_FONTCHANGE:
    case CM_ENABLEDCHANGED:
      sd.MouseOver = false;
      sd.HasFocus = false;
      if (owner && !owner->Enabled()) sd.RemoveGlow();
      return false;
    case WM_UPDATEUISTATE:
      return sd.IsSkinned();
    case WM_PARENTNOTIFY:
      if (LOWORD(m.WParam) == WM_CREATE && owner && sd.IsSkinned()) {
        if (TForm* form = GetParentForm(owner))
          SendSkinCommand(form, SkinCommand::AddControl, 0, reinterpret_cast<LPARAM>(owner));
      }
      return false;
    case CM_VISIBLECHANGED:
      if (m.WParam) {
        sd.PaintingSuspended = false;
        sd.CacheStale = true;
      } else {
        sd.ReleaseCache();
      }
      return false;
    case CM_MOUSEENTER:
      if (owner && reinterpret_cast<TControl*>(m.LParam) == owner && sd.IsSkinned()) {
        if (!IsContainerCode(sd.ClassCode)) sd.MouseOver = true;
        if (TsSkinManager* dm = DefaultManager()) {
          if (HWND wnd = sd.OwnerHandle()) dm->SetActiveControl(wnd);
        }
        const TsGeneralData* g = sd.Section();
        if (!IsNoGlowCode(sd.ClassCode)) sd.UpdateGlow(false);
        if (IsEditLikeCode(sd.ClassCode) && g->States >= 2) {
          sd.CacheStale = true;
          if (HWND wnd = sd.OwnerHandle()) SendMessageA(wnd, WM_NCPAINT, 1, 0);
        }
      }
      return false;
    case CM_MOUSELEAVE:
      if (owner && reinterpret_cast<TControl*>(m.LParam) == owner) {
        if (!IsContainerCode(sd.ClassCode)) sd.MouseOver = false;
        if (!IsNoGlowCode(sd.ClassCode)) {
          HideAllGlows();
          sd.GlowHandle = -1;
        }
        if (IsEditLikeCode(sd.ClassCode) && sd.IsSkinned()) {
          sd.CacheStale = true;
          if (HWND wnd = sd.OwnerHandle()) SendMessageA(wnd, WM_NCPAINT, 1, 0);
        }
      }
      return false;
    case CM_SHOWINGCHANGED:
      if (owner && owner->Visible()) sd.InitSkin();
      return false;
    default:
      return false;
  }
}

int32_t FindFontSection(TControl* control, int32_t fallback, TsSkinManager* manager) {
  TsSkinManager* m = manager ? manager : DefaultManager();
  if (!m || !control) return fallback;
  const TsSkinModel& model = m->Model();
  TControl* parent = control->Parent();
  while (parent) {
    TacSectionInfo info;
    SendSkinCommand(parent, SkinCommand::GetSkinIndex, 0, reinterpret_cast<LPARAM>(&info));
    if (info.SkinIndex < 0 || info.SkinIndex >= static_cast<int32_t>(model.Sections.size())) return fallback;
    const TsGeneralData& g = model.Sections[static_cast<size_t>(info.SkinIndex)];
    if (g.Transparency > 50 && parent->Parent()) {
      parent = parent->Parent();
      continue;
    }
    return g.GiveOwnFont ? info.SkinIndex : fallback;
  }
  return fallback;
}

void RestoreCorners(TsCommonData& sd, int state) {
  const TsSkinModel* model = sd.Model();
  TBitmap* cache = sd.Cache();
  if (!model || !cache || cache->Empty() || !sd.OwnerControl) return;
  if (sd.BorderMaskIndex < 0 || sd.BorderMaskIndex >= static_cast<int32_t>(model->Images.size())) return;
  ParentBgQuery q;
  if (sd.OwnerControl->Parent()) {
    GetParentBg(q, sd.OwnerControl->Parent(), false);
  } else if (HWND wnd = sd.OwnerHandle()) {
    GetParentBg(q, GetParent(wnd), false);
  }
  if (q.AnswerKind == akBitmap) {
    q.Offset.X += sd.OwnerControl->Left();
    q.Offset.Y += sd.OwnerControl->Top();
  }
  Bitmap32 view = cache->View();
  RestoreCornerPixels(view, model->Images[static_cast<size_t>(sd.BorderMaskIndex)], state, BgInfoFromQueryWin(q));
}

void CopyCacheToDc(TWinControl* control, TsCommonData& sd, const RECT& src, int offsetY, int offsetX,
                   bool updateCorners, HDC dc, const RECT& dst) {
  TBitmap* cache = sd.Cache();
  if (!cache || cache->Empty()) return;
  if (updateCorners) RestoreCorners(sd, 0);
  SavedDC saved(dc);
  IntersectClipRect(dc, dst.left, dst.top, dst.right, dst.bottom);
  for (int i = 0; control && i < control->ControlCount(); ++i) {
    TControl* c = control->Controls(i);
    if (!c->Visible()) continue;
    // Transparent children (labels) are drawn over the copied cache, so only opaque ones
    // keep their area.
    if (!(c->ControlStyle() & csOpaque)) continue;
    RECT r = c->BoundsRect();
    OffsetRect(&r, offsetX, offsetY);
    RECT overlap;
    if (IntersectRect(&overlap, &r, &dst)) ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  BitBlt(dc, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, cache->Canvas().Handle(), src.left,
         src.top, SRCCOPY);
}

void CopyCacheToDcWnd(HWND wnd, TsCommonData& sd, const RECT& src, HDC dc, const RECT& dst) {
  TBitmap* cache = sd.Cache();
  if (!cache || cache->Empty()) return;
  SavedDC saved(dc);
  IntersectClipRect(dc, dst.left, dst.top, dst.right, dst.bottom);
  int wl = 0, wr = 0, wb = 0;
  if (const TsSkinModel* model = sd.Model()) {
    const int32_t gb = model->FindSection("GROUPBOX");
    const int32_t bi = gb >= 0 ? model->Sections[static_cast<size_t>(gb)].BorderMaskIndex : -1;
    if (bi >= 0) {
      const TsMaskData& b = model->Images[static_cast<size_t>(bi)];
      wl = b.WL;
      wr = b.WR;
      wb = b.WB;
    }
  }
  for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, wnd, reinterpret_cast<POINT*>(&r), 2);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(child, GWL_EXSTYLE);
    if ((style & 7) == 7 && !(exStyle & WS_EX_CLIENTEDGE)) {
      // A group box shows its parent inside: only its border is its own.
      const int caption = static_cast<int>(SendSkinCommand(child, SkinCommand::GetCaptionHeight));
      ExcludeClipRect(dc, r.left, r.top, r.right, r.top + caption);
      ExcludeClipRect(dc, r.left, r.top, r.left + wl, r.bottom);
      ExcludeClipRect(dc, r.right - wr, r.top, r.right, r.bottom);
      ExcludeClipRect(dc, r.left, r.bottom - wb, r.right, r.bottom);
    } else {
      ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
  }
  BitBlt(dc, dst.left, dst.top, dst.right - dst.left, dst.bottom - dst.top, cache->Canvas().Handle(), src.left,
         src.top, SRCCOPY);
}

void ResumeChildrenPainting(TWinControl* parent) {
  if (acEngine().EffectRunning || !parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(parent->Controls(i));
    if (w && w->HandleAllocated() && w->Showing()) SendSkinCommand(w->Handle(), SkinCommand::ResumePainting);
  }
}

void ResumeOwnPainting(TsCommonData& sd) {
  if (!sd.PaintingSuspended) return;
  sd.PaintingSuspended = false;
  sd.PaintingSuspended = sd.IsPaintingSuspended();
  if (HWND wnd = sd.OwnerHandle(); wnd && !sd.PaintingSuspended)
    RedrawWindow(wnd, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}
