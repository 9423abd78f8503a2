// What a control's class code means to its skin binding.
#pragma once

#include <cstdint>
#include <string>

// The section a binding takes when none is named; "" means the owner's class name.
std::string DefaultSectionForClassCode(int32_t code);
// Controls whose colours follow their section (edits, lists) and whose frame shows focus.
bool IsEditLikeCode(int32_t code);
// Containers never look hot under the mouse.
bool IsContainerCode(int32_t code);
// Entering these with the mouse starts no glow.
bool IsNoGlowCode(int32_t code);
