#include "product/uninstall/Messages.h"

#include <windows.h>

namespace {

constexpr char kCaption[] = "Kestamor Uninstall";

int Box(const std::string& text, UINT flags) {
  return MessageBoxA(nullptr, text.c_str(), kCaption, flags | MB_SETFOREGROUND);
}

}  // namespace

bool ConfirmRemoval() {
  return Box("Remove Kestamor and all of its components?", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void ShowRemoved() { Box("Kestamor has been removed.", MB_OK | MB_ICONINFORMATION); }

void ShowPartialRemoval(const std::vector<std::string>& leftovers) {
  std::string text = "Kestamor has been removed, but these items could not be deleted:\n";
  for (const auto& item : leftovers) text += "\n" + item;
  text += "\n\nClose any program that uses them and delete them by hand.";
  Box(text, MB_OK | MB_ICONWARNING);
}

void ShowError(const std::string& message) { Box(message, MB_OK | MB_ICONERROR); }
