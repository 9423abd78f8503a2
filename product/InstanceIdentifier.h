// The identifier the installer appends to the main executable: exactly 32
// upper-case hexadecimal digits. Header-only, so that the product's program
// needs no C++ library code for it.
#pragma once

#include <string_view>

constexpr bool IsInstanceIdentifier(std::string_view text) {
  if (text.size() != 32) return false;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  return true;
}
