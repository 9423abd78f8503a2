// "skintool info": what a packed skin (or a skin folder) holds and what is wrong
// with it, checked the way the skin engine will load it.
#pragma once

#include <filesystem>
#include <ostream>

// The sections the installer's windows paint with; a skin without one of them
// leaves part of the installer unskinned, which info reports as a problem.
// Other sections the engine knows are only noted when missing.
inline constexpr const char* kInstallerSections[] = {
    "GLOBALINFO", "FORM", "FORMTITLE", "BUTTON", "CHECKBOX", "RADIOBUTTON", "EDIT", "PANEL",
    "GROUPBOX", "GAUGE", "PROGRESSH", "SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLSLIDERV",
    "SCROLLBAR1V", "SCROLLBAR2V"};
inline constexpr const char* kOtherEngineSections[] = {
    "DIALOG", "CAPTION", "MENULINE", "MDIAREA", "SPEEDBUTTON", "SPEEDBUTTON_SMALL", "TOOLBUTTON",
    "WEBBUTTON", "UPDOWNBTN", "COMBOBTN", "COMBOBOX", "PANEL_LOW", "BAR", "BARTITLE", "DRAGBAR",
    "SPLITTER", "TOOLBAR", "STATUSBAR", "DIVIDER", "DIVIDERV", "PROGRESSV", "SCROLLBTNLEFT",
    "SCROLLBTNRIGHT", "SCROLLSLIDERH", "SCROLLBAR1H", "SCROLLBAR2H", "PAGECONTROL", "TABSHEET",
    "TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT", "TRACKBAR", "COLHEADER", "SELECTION", "MAINMENU",
    "MENUITEM", "EXTRALINE", "ICOLINE", "UNKNOWN"};

// Writes the report for an ".asz" file or a skin folder to `out` and returns the
// number of problems found. Throws ToolError when the input cannot be read at all.
int SkinInfo(const std::filesystem::path& input, std::ostream& out);
