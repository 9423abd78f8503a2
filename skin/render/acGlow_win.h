// Glow windows: a skin image laid around a title button or a control, shown at full strength
// in a layered window of its own above the form, so that it can reach past the window's
// frame. Glows are kept in one list; a glow's index there is the handle its caller keeps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class TsSkinManager;

class TacGlowEffect {
 public:
  TacGlowEffect(TsSkinManager* manager, int32_t maskIndex, int32_t margin);
  ~TacGlowEffect();
  TacGlowEffect(const TacGlowEffect&) = delete;
  TacGlowEffect& operator=(const TacGlowEffect&) = delete;

  TsSkinManager* const SkinManager;
  const int32_t MaskIndex;  // the glow image in the skin's image list
  const int32_t Margin;

  // Lays the image around `target` (screen coordinates), cut where `clip` (the target's
  // visible part, in its own coordinates) cuts the target, and shows it above `owner`.
  // False when there is nothing to show.
  bool Show(const RECT& target, const RECT& clip, HWND owner);
  // The glow's window; nullptr before it is shown or once its owner has taken it along.
  HWND Window() const { return wnd_; }

 private:
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND wnd_ = nullptr;
};

// The manager (the default one when null) lets glows show, layered windows exist and the
// platform has not switched glowing off.
bool GlowingAllowed(const TsSkinManager* manager);

// Shows the image `baseName` + "0" of `section` around `target` (screen coordinates), clipped
// by `clip` (the target's visible part in its own coordinates), above `owner`. Returns the
// glow's handle, or -1 when nothing is shown.
int32_t ShowGlow(const RECT& target, const RECT& clip, const std::string& section, TsSkinManager* manager, HWND owner,
                 int32_t margin, const std::string& baseName);
// Removes one glow; -1 and handles outside the list are ignored.
void HideGlow(int32_t handle);
// Removes every glow (skin changes, hiding forms, the mouse leaving a control).
void HideAllGlows();
// The glow behind a handle, or nullptr once it is hidden.
const TacGlowEffect* GlowEffect(int32_t handle);
