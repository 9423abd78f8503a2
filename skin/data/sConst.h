// The skin command message: the one channel between the skin engine's windows and controls.
// The command code travels in the high word of wParam, a small parameter in the low word;
// lParam carries a pointer or value and the result carries the answer.
#pragma once

#include <cstdint>

inline constexpr unsigned SM_ALPHACMD = 0xA100;

namespace SkinCommand {
enum : uint16_t {
  NewSkin = 1,
  RemoveSkin = 2,
  RefreshSkin = 3,
  GetProvider = 4,
  ResumePainting = 6,
  IsHandled = 7,
  SetUpdating = 8,
  SetUrgentPainting = 9,
  GetNeedsRepaint = 10,
  GetHalfVisible = 11,
  RefreshSection = 13,
  SetSection = 15,
  AnimationDone = 16,
  BackgroundChanged = 17,
  ShowAnimationFrame = 18,
  GetTransparency = 19,
  ParentBackgroundChanged = 20,
  GetBackgroundColor = 21,
  SetHalfVisible = 22,
  PrepareCache = 23,
  PaintFadeFrame = 24,
  AddControl = 25,
  GetSkinIndex = 26,
  GetCaptionHeight = 27,
  ActiveControlEnter = 29,
  ActiveControlLeave = 30,
  UpdatingOn = 31,
  UpdatingOff = 32,
  GetBackgroundInfo = 34,
  ControlSkinState = 36,
  SetPrintDC = 38,
  GetApplication = 60,
  ClientOrigin = 61,  // x in the low word, y in the high word
};
}  // namespace SkinCommand

// wParam of a skin command.
inline constexpr uintptr_t MakeSkinCommand(uint16_t command, uint16_t param = 0) {
  return (static_cast<uintptr_t>(command) << 16) | param;
}

// The record a child hands its parent with GetSkinIndex: the parent writes its section index.
struct TacSectionInfo {
  int32_t SkinIndex = -1;
};

// Class codes: what kind of control a skin binding belongs to. They pick a control's default
// section and change how it reacts to the mouse, focus and colours.
enum : int32_t {
  ccEdit = 3,
  ccMemo = 7,
  ccCheckBox = 32,
  ccRadioButton = 33,
  ccPanel = 51,
  ccScrollBox = 58,
  ccGroupBox = 74,
  ccSpeedButton = 92,
  ccButton = 93,
  ccBitBtn = 94,
  ccTreeView = 96,
  ccDirectoryEdit = 134,
  ccProgressBar = 161,
  ccSkinProvider = 224,
  ccFrameAdapter = 226,
  ccWndAdapterItem = 227,
};
