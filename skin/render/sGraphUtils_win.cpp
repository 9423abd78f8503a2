#include "skin/render/sGraphUtils_win.h"

#include "framework/Controls.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sGraphUtils.h"

namespace {

class DcScope {
 public:
  DcScope(HDC dc, const RECT& clip) : dc_(dc), saved_(SaveDC(dc)) {
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    SetBkMode(dc, TRANSPARENT);
  }
  ~DcScope() { RestoreDC(dc_, saved_); }
  DcScope(const DcScope&) = delete;
  DcScope& operator=(const DcScope&) = delete;

 private:
  HDC dc_;
  int saved_;
};

void DrawIn(TCanvas& canvas, const std::string& text, TColor color, RECT r, UINT format) {
  canvas.Font().SetColor(color);
  canvas.DrawText(text, r, format);
}

void DrawContoursAndText(TCanvas& canvas, const std::string& text, const TsGenState& s, RECT r, UINT format,
                         TColor (*tint)(TColor, const TsCommonData*), const TsCommonData* sd) {
  const TColor contours[4] = {s.TCLeft, s.TCTop, s.TCRight, s.TCBottom};
  const int dx[4] = {-1, 0, 1, 0}, dy[4] = {0, -1, 0, 1};
  for (int i = 0; i < 4; ++i) {
    if (contours[i] == clAbsent) continue;
    RECT moved = r;
    OffsetRect(&moved, dx[i], dy[i]);
    DrawIn(canvas, text, tint(contours[i], sd), moved, format);
  }
  DrawIn(canvas, text, tint(s.FontColor, sd), r, format | DT_NOCLIP);
}

TColor Tint(TColor c, const TsCommonData* sd) {
  if (!sd) return c;
  if (sd->HUEOffset() != 0) c = ShiftHue(c, sd->HUEOffset());
  if (sd->Saturation() != 0) c = ChangeSaturation(c, sd->Saturation());
  return c;
}

TColor NoTint(TColor c, const TsCommonData*) { return c; }

bool DrawnOnParent(const TsCommonData& sd) {
  TControl* owner = sd.OwnerControl;
  if (!owner) return false;
  return dynamic_cast<TGraphicControl*>(owner) || sd.ClassCode == ccCheckBox || sd.ClassCode == ccRadioButton ||
         sd.ClassCode == ccGroupBox;
}

}  // namespace

void WriteSkinText(TCanvas& canvas, const std::string& text, bool enabled, bool hot, TsCommonData& sd, UINT format,
                   RECT rect) {
  if (text.empty()) return;
  if (hot && sd.SkinSection() == "WEBBUTTON") canvas.Font().SetStyle(canvas.Font().Style() | fsUnderline);
  HDC dc = canvas.Handle();
  DcScope scope(dc, rect);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  const TsSkinModel* model = sd.Model();
  if (sd.IsSkinned() && !sd.CustomFont() && model) {
    const int s = hot ? 1 : 0;
    int32_t section = sd.SectionIndex;
    TControl* owner = sd.OwnerControl;
    if (DrawnOnParent(sd) && owner->ParentFont() && owner->Parent() &&
        model->Sections[static_cast<size_t>(section)].StateProps[s].Transparency > 0)
      section = FindFontSection(owner, section, sd.Manager());
    if (section < 0 || section >= static_cast<int32_t>(model->Sections.size())) {
      canvas.DrawText(text, rect, format);
      return;
    }
    const TsGeneralData& g = model->Sections[static_cast<size_t>(section)];
    if (!enabled) {
      const TColor global = sd.Manager() ? sd.Manager()->GetGlobalColor() : clBtnFace;
      DrawIn(canvas, text, Tint(MixColors(g.StateProps[0].FontColor, ColorToRGB(global), 0.4), &sd), rect, format);
      return;
    }
    DrawContoursAndText(canvas, text, g.StateProps[s], rect, format, &Tint, &sd);
    return;
  }
  if (enabled) {
    canvas.DrawText(text, rect, format);
    return;
  }
  RECT moved = rect;
  OffsetRect(&moved, 1, 1);
  DrawIn(canvas, text, clBtnHighlight, moved, format);
  DrawIn(canvas, text, clBtnShadow, rect, format);
}

void WriteSkinTextByIndex(TCanvas& canvas, const std::string& text, bool enabled, TsSkinManager* manager, bool hot,
                          int32_t sectionIndex, UINT format, RECT rect) {
  if (text.empty()) return;
  TsSkinManager* m = manager ? manager : DefaultManager();
  HDC dc = canvas.Handle();
  DcScope scope(dc, rect);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  if (!m || sectionIndex < 0 || sectionIndex >= static_cast<int32_t>(m->Model().Sections.size())) {
    canvas.DrawText(text, rect, format);
    return;
  }
  const TsGeneralData& g = m->Model().Sections[static_cast<size_t>(sectionIndex)];
  if (!enabled) {
    DrawIn(canvas, text, MixColors(g.StateProps[0].FontColor, g.StateProps[0].Color, 0.4), rect, format);
    return;
  }
  DrawContoursAndText(canvas, text, g.StateProps[hot ? 1 : 0], rect, format, &NoTint, nullptr);
}
