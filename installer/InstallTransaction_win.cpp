#include "installer/InstallTransaction_win.h"

#include <windows.h>

#include "framework/Handles.h"
#include "installer/Directories_win.h"
#include "installer/FileError_win.h"

namespace {

bool Missing(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

[[noreturn]] void FailWrite(const std::string& path, DWORD code) {
  throw EFileError(EFileError::Access::Write, path, code);
}

// DWORD attributes of `path`, or INVALID_FILE_ATTRIBUTES with the reason in `code`.
DWORD Attributes(const std::string& path, DWORD& code) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  code = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
  return attributes;
}

// Opening for writing without sharing is refused while another program has the file open
// (a running program's image included): such a file must stay where it is.
void ExpectNotInUse(const std::string& path) {
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) FailWrite(path, GetLastError());
  UniqueKernelHandle probe(h);
}

}  // namespace

std::string KeptCopyName(const std::string& path) {
  const std::string base = path + ".kestamor-old";
  std::string name = base;
  for (int n = 2; GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; ++n) name = base + std::to_string(n);
  return name;
}

InstallTransaction::~InstallTransaction() {
  if (!done_) Rollback();
}

bool InstallTransaction::MakeDirectories(std::string dir) {
  std::vector<std::string> made;
  const bool ok = ForceDirectories(std::move(dir), &made);
  for (std::string& d : made) entries_.push_back({Kind::Directory, std::move(d), {}, {}});
  return ok;
}

const InstallTransaction::Entry* InstallTransaction::Find(const std::string& path) const {
  for (const Entry& e : entries_)
    if (e.kind != Kind::Group && e.kind != Kind::Directory && lstrcmpiA(e.path.c_str(), path.c_str()) == 0) return &e;
  return nullptr;
}

void InstallTransaction::Replace(const std::string& path) {
  if (Find(path)) return;
  DWORD code = 0;
  const DWORD attributes = Attributes(path, code);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // Anything but "not there" is for the write itself to report.
    entries_.push_back({Kind::NewFile, path, {}, {}});
    return;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) FailWrite(path, ERROR_ACCESS_DENIED);
  ExpectNotInUse(path);
  const std::string kept = KeptCopyName(path);
  if (!MoveFileExA(path.c_str(), kept.c_str(), 0)) FailWrite(path, GetLastError());
  entries_.push_back({Kind::MovedFile, path, kept, {}});
}

void InstallTransaction::KeepCopy(const std::string& path) {
  if (Find(path)) return;
  DWORD code = 0;
  if (Attributes(path, code) == INVALID_FILE_ATTRIBUTES) {
    entries_.push_back({Kind::NewFile, path, {}, {}});
    return;
  }
  const std::string kept = KeptCopyName(path);
  if (!CopyFileA(path.c_str(), kept.c_str(), TRUE)) FailWrite(path, GetLastError());
  entries_.push_back({Kind::CopiedFile, path, kept, {}});
}

void InstallTransaction::NoteGroup(std::string name, std::function<bool(const std::string&)> remove) {
  entries_.push_back({Kind::Group, std::move(name), {}, std::move(remove)});
}

void InstallTransaction::Commit() {
  for (const Entry& e : entries_)
    if (e.kind == Kind::MovedFile || e.kind == Kind::CopiedFile) DeleteFileA(e.kept.c_str());
  entries_.clear();
  done_ = true;
}

bool InstallTransaction::Undo(const Entry& e) {
  switch (e.kind) {
    case Kind::Directory:
      if (RemoveDirectoryA(e.path.c_str())) return true;
      return Missing(GetLastError());
    case Kind::NewFile:
      if (DeleteFileA(e.path.c_str())) return true;
      return Missing(GetLastError());
    case Kind::CopiedFile:
      // The profile functions may still hold the edited file; let them write it out first,
      // so that nothing of it lands over the copy put back.
      WritePrivateProfileStringA(nullptr, nullptr, nullptr, e.path.c_str());
      [[fallthrough]];
    case Kind::MovedFile:
      return MoveFileExA(e.kept.c_str(), e.path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    case Kind::Group:
      return e.removeGroup && e.removeGroup(e.path);
  }
  return false;
}

std::vector<std::string> InstallTransaction::Rollback() {
  std::vector<std::string> notUndone;
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    bool undone = false;
    try {
      undone = Undo(*it);
    } catch (...) {  // runs from the destructor too: nothing may escape
    }
    if (!undone) notUndone.push_back(it->path);
  }
  entries_.clear();
  done_ = true;
  return notUndone;
}
