#include "skin/controls/sLabel.h"

#include "framework/Controls.h"
#include "skin/data/acntUtils.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStyleSimply_win.h"

namespace {
// Changing the font colour while painting would call for another paint: the labels of the
// process share one guard (an engine part).
struct LabelColourGuard {
  bool Adjusting = false;
};
}  // namespace

TsCustomLabel::TsCustomLabel(TComponent* AOwner) : TLabel(AOwner) { SetTransparent(true); }

void TsCustomLabel::SetSkinSection(const std::string& v) {
  skinSection_ = UpperCase(v);
  Invalidate();
}

void TsLabel::SetUseSkinColor(bool v) {
  if (v == useSkinColor_) return;
  useSkinColor_ = v;
  Invalidate();
}

void TsCustomLabel::ApplySkinFontColor() {
  TsSkinManager* m = DefaultManager();
  bool& adjusting = acEngine().Part<LabelColourGuard>().Adjusting;
  if (adjusting || !m || !m->SkinActive() || !FollowsSkinColor()) return;
  const TacFlagScope guard(adjusting);
  const TsSkinModel& model = m->Model();
  TColor c = clFuchsia;
  const int32_t section = FindFontSection(this, -1, m);
  if (section >= 0) {
    c = model.Sections[static_cast<size_t>(section)].FontColor;
  } else if (model.Cache.GlobalInfo >= 0) {
    c = m->GetGlobalFontColor();
  }
  if (!skinSection_.empty()) {
    const int32_t own = model.FindSection(skinSection_);
    if (own >= 0) c = model.Sections[static_cast<size_t>(own)].FontColor;
  }
  if (c != clFuchsia && c != Font().Color()) Font().SetColor(c);
}

void TsCustomLabel::Paint() {
  ApplySkinFontColor();
  TsSkinManager* m = DefaultManager();
  if (!skinSection_.empty() && m && m->SkinActive()) {
    const int32_t index = m->Model().FindSection(skinSection_);
    if (index > 0) {
      ParentBgQuery q;
      if (Parent()) GetParentBg(q, Parent(), false);
      PaintSectionToDc(index, skinSection_, BgInfoFromQueryWin(q), m, Canvas().Handle(), TsPoint{Left(), Top()},
                       ClientRect(), 0);
    }
  }
  TLabel::Paint();
}

void TsCustomLabel::DoDrawText(RECT& rect, UINT flags) {
  TsSkinManager* m = DefaultManager();
  if (Enabled() || !m || !m->SkinActive()) {
    TLabel::DoDrawText(rect, flags);
    return;
  }
  // Disabled text under a skin: one pass in a colour between the font's and the parent's,
  // never the embossed look.
  std::string text = Caption();
  if ((flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == "&"))) text += ' ';
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.Font().SetColor(MixColors(ColorToRGB(Font().Color()), GetControlColor(Parent()), 0.4));
  canvas.DrawText(text, rect, flags);
}

void TsCustomLabel::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD) {
    if (m.WParamHi() == SkinCommand::RemoveSkin && reinterpret_cast<TsSkinManager*>(m.LParam) == DefaultManager()) {
      if (FollowsSkinColor()) Font().SetColor(clWindowText);
      return;
    }
    if (m.WParamHi() == SkinCommand::NewSkin || m.WParamHi() == SkinCommand::RefreshSkin) {
      ApplySkinFontColor();
      Invalidate();
      return;
    }
  }
  TLabel::WndProc(m);
}
