#include "skin/render/acGlow_win.h"

#include <climits>
#include <memory>
#include <utility>
#include <vector>

#include "skin/data/acEngine.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/acGlow.h"
#include "skin/render/acLayered_win.h"
#include "skin/render/sGraphUtils.h"

namespace {

constexpr char kClassName[] = "TacGlowEffect";

// The glows by handle: a hidden glow leaves a null entry so that the other handles stay valid.
// Once the list is empty the next handles start past the old ones, so that a handle kept
// after its glow went can never hide a later glow. Glows are pictures of one skin: they go
// when it does.
struct GlowList final : TacSkinListener {
  std::vector<std::unique_ptr<TacGlowEffect>> Items;
  int32_t First = 0;  // the handle of Items[0]

  std::unique_ptr<TacGlowEffect>* Find(int32_t handle) {
    const int64_t i = int64_t{handle} - First;
    return handle >= 0 && i >= 0 && i < static_cast<int64_t>(Items.size()) ? &Items[static_cast<size_t>(i)] : nullptr;
  }
  // Takes every entry out; the next handles start past them.
  std::vector<std::unique_ptr<TacGlowEffect>> TakeAll() {
    const size_t n = Items.size();
    First = n < static_cast<size_t>(INT32_MAX - First) ? First + static_cast<int32_t>(n) : 0;
    return std::exchange(Items, {});
  }

  // Out of the list first: a window that goes may bring messages that ask for it.
  void SkinGoing() override { const auto going = TakeAll(); }

  TacListening Listening{*this};
};

GlowList& Glows() { return acEngine().Part<GlowList>(); }

TsRect ToTsRect(const RECT& r) { return TsRect{r.left, r.top, r.right, r.bottom}; }

bool Topmost(HWND wnd) { return wnd && (GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST); }

// Directly above the owner: after the window that lies above it, or on top of the owner's
// band of the z-order when none of that band does.
HWND InsertAfter(HWND owner) {
  if (!owner) return HWND_TOP;
  if (Topmost(owner)) return HWND_TOPMOST;
  const HWND above = GetWindow(owner, GW_HWNDPREV);
  return above && !Topmost(above) ? above : HWND_TOP;
}

}  // namespace

TacGlowEffect::TacGlowEffect(TsSkinManager* manager, int32_t maskIndex, int32_t margin)
    : SkinManager(manager), MaskIndex(maskIndex), Margin(margin) {}

TacGlowEffect::~TacGlowEffect() {
  if (!wnd_) return;
  SetWindowLongPtrA(wnd_, GWLP_USERDATA, 0);
  DestroyWindow(wnd_);
}

bool TacGlowEffect::Show(const RECT& target, const RECT& clip, HWND owner) {
  const TsSkinModel& model = SkinManager->Model();
  if (MaskIndex < 0 || MaskIndex >= static_cast<int32_t>(model.Images.size())) return false;
  const TsMaskData& image = model.Images[static_cast<size_t>(MaskIndex)];
  const TsRect t = ToTsRect(target);
  const TsGlowSides sides = GlowSides(image, t.Width(), t.Height(), Margin);
  const TsGlowPlacement place = PlaceGlow(t, ToTsRect(clip), Margin, sides);
  const Bitmap32 picture = GlowWindowPicture(image, sides, place);
  if (picture.Empty()) return false;
  const HWND after = InsertAfter(owner);  // before the glow itself joins the z-order
  wnd_ = CreateLayeredPopup(kClassName, &TacGlowEffect::WndProc, owner, Topmost(owner));
  if (!wnd_) return false;
  SetWindowLongPtrA(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowPos(wnd_, after, place.Window.Left, place.Window.Top, place.Window.Width(),
               place.Window.Height(), SWP_NOACTIVATE);
  // Painted once: the layered window keeps its own copy, this one goes at once.
  TBitmap bitmap(picture.Width(), picture.Height(), true);
  Bitmap32 view = bitmap.View();
  CopyRect32(view, 0, 0, picture, TsRect{0, 0, picture.Width(), picture.Height()});
  UpdateLayeredPicture(wnd_, POINT{place.Window.Left, place.Window.Top}, bitmap, 255);
  ShowWindow(wnd_, SW_SHOWNOACTIVATE);
  return true;
}

LRESULT CALLBACK TacGlowEffect::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  // An owner that goes takes its glow along.
  if (msg == WM_NCDESTROY)
    if (auto* self = reinterpret_cast<TacGlowEffect*>(GetWindowLongPtrA(wnd, GWLP_USERDATA))) self->wnd_ = nullptr;
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

bool GlowingAllowed(const TsSkinManager* manager) {
  if (!manager) manager = DefaultManager();
  return manager && manager->Effects.AllowGlowing && acLayered().Update && !acLayered().GlowingOffForPlatform;
}

int32_t ShowGlow(const RECT& target, const RECT& clip, const std::string& section, TsSkinManager* manager, HWND owner,
                 int32_t margin, const std::string& baseName) {
  if (!acLayered().Update) return -1;
  if (!manager) manager = DefaultManager();
  if (!manager || !manager->SkinActive()) return -1;
  const TsSkinModel& model = manager->Model();
  // A section that inherits its GLOW inherits the image too.
  const int32_t image = model.FindImage(model.FindSection(section), section, baseName + "0");
  if (image < 0) return -1;
  auto effect = std::make_unique<TacGlowEffect>(manager, image, margin);
  if (!effect->Show(target, clip, owner)) return -1;
  GlowList& glows = Glows();
  glows.Items.push_back(std::move(effect));
  return glows.First + static_cast<int32_t>(glows.Items.size()) - 1;
}

void HideGlow(int32_t handle) {
  GlowList& glows = Glows();
  auto* entry = glows.Find(handle);
  if (!entry) return;
  entry->reset();
  for (const auto& g : glows.Items)
    if (g) return;
  glows.TakeAll();
}

void HideAllGlows() { Glows().SkinGoing(); }

const TacGlowEffect* GlowEffect(int32_t handle) {
  auto* entry = Glows().Find(handle);
  return entry ? entry->get() : nullptr;
}
