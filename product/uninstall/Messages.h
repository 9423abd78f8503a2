// The uninstaller's dialogs.
#pragma once

#include <string>
#include <vector>

// "Remove Kestamor and all of its components?" with Yes and No; true for Yes.
bool ConfirmRemoval();

// "Kestamor has been removed."
void ShowRemoved();

// The removal ended but the named items are still there.
void ShowPartialRemoval(const std::vector<std::string>& leftovers);

// Nothing was removed, for the given reason.
void ShowError(const std::string& message);
