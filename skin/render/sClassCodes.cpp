#include "skin/render/sClassCodes.h"

namespace {
bool In(int32_t c, int32_t lo, int32_t hi) { return c >= lo && c <= hi; }
}  // namespace

std::string DefaultSectionForClassCode(int32_t c) {
  if (In(c, 2, 8) || c == 10 || c == 41 || c == 76 || c == 78 || In(c, 83, 85) || c == 96 || c == 131 ||
      c == 140 || c == 227)
    return "EDIT";
  if (In(c, 11, 18) || c == 81 || c == 82) return "COMBOBOX";
  switch (c) {
    case 19: return "BAR";
    case 20: return "BARTITLE";
    case 32: case 152: return "CHECKBOX";
    case 33: return "RADIOBUTTON";
    case 51: case 59: case 68: case 73: return "PANEL";
    case 52: case 58: return "PANEL_LOW";
    case 53: case 54: case 60: return "TOOLBAR";
    case 56: return "DRAGBAR";
    case 57: return "TABSHEET";
    case 74: case 226: return "GROUPBOX";
    case 75: return "SPLITTER";
    case 92: case 95: return "SPEEDBUTTON";
    case 93: case 94: return "BUTTON";
    case 98: return "TOOLBUTTON";
    case 141: case 143: return "PAGECONTROL";
    case 151: return "STATUSBAR";
    case 161: return "GAUGE";
    case 165: return "TRACKBAR";
    default: return "";
  }
}

bool IsEditLikeCode(int32_t c) {
  return In(c, 2, 18) || c == 41 || In(c, 76, 84) || c == 96 || In(c, 131, 140);
}

bool IsContainerCode(int32_t c) { return c == 19 || In(c, 51, 74) || c == 110 || In(c, 141, 161); }

bool IsNoGlowCode(int32_t c) {
  switch (c) {
    case 51: case 52: case 54: case 56: case 57: case 58: case 59: case 60: case 68: case 73: case 74:
    case 110: case 141: case 143: case 151: case 161: case 226: case 92: case 93: case 94:
      return true;
    default:
      return false;
  }
}
