#include "installer/FileError_win.h"

#include <windows.h>

std::string SystemErrorText(unsigned long code) {
  char* text = nullptr;
  const DWORD len = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string s = len ? std::string(text, len) : "Error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '.')) s.pop_back();
  return s;
}

EFileError::EFileError(Access access, std::string path, unsigned long code)
    : EOSError(code, std::string(access == Access::Read ? "Cannot read \"" : "Cannot write \"") + path +
                         "\": " + SystemErrorText(code)),
      access_(access),
      path_(std::move(path)) {}

bool EFileError::InUse() const {
  // A mapped file (a running program's image) cannot be cut short either.
  return Code == ERROR_SHARING_VIOLATION || Code == ERROR_LOCK_VIOLATION || Code == ERROR_USER_MAPPED_FILE;
}
