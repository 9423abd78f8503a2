#include "installer/ResourceData.h"

#include <windows.h>

std::vector<uint8_t> LoadResourceBytes(int id) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!info) return {};
  HGLOBAL handle = LoadResource(module, info);  // not a real allocation: nothing to free
  const DWORD size = SizeofResource(module, info);
  const auto* data = static_cast<const uint8_t*>(handle ? LockResource(handle) : nullptr);
  if (!data) return {};
  return std::vector<uint8_t>(data, data + size);
}

std::string LoadResourceText(int id) {
  const std::vector<uint8_t> bytes = LoadResourceBytes(id);
  return std::string(bytes.begin(), bytes.end());
}
