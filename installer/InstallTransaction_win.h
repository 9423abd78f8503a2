// One installation as a transaction: every file it replaces is kept aside beside the original
// (a rename on the same volume), every directory, file, group and link it makes is noted, and
// an installation that does not complete is undone in the reverse order, leaving the computer
// as it was. Paths are 8-bit strings in the system code page.
#pragma once

#include <functional>
#include <string>
#include <vector>

class InstallTransaction {
 public:
  InstallTransaction() = default;
  // An installation neither committed nor rolled back (an unexpected way out) is undone.
  ~InstallTransaction();
  InstallTransaction(const InstallTransaction&) = delete;
  InstallTransaction& operator=(const InstallTransaction&) = delete;

  // Makes `dir` and any missing parent, noting each directory made; false when it cannot
  // be made (what was made of it is still noted).
  bool MakeDirectories(std::string dir);

  // Before `path` is written anew: an existing file is moved aside, to be put back on undo
  // and deleted on commit; a missing one is noted as new, to be deleted on undo. A file that
  // another program holds open, or that cannot be moved, throws EFileError and stays where
  // it is: a running program is never moved out of its way. Calling again for the same path
  // does nothing (a retried write goes over the file this run made).
  void Replace(const std::string& path);

  // Before a file is edited in place: a copy of the existing file is kept to be put back on
  // undo; a missing one is noted as new. Throws EFileError when the copy cannot be made.
  void KeepCopy(const std::string& path);

  // A program group this run made, and how to remove it again.
  void NoteGroup(std::string name, std::function<bool(const std::string&)> remove);

  // The installation completed: the kept copies are deleted (best effort: a copy that cannot
  // be deleted only costs space).
  void Commit();

  // Undoes everything, newest first; returns what could not be put back (files, folders or
  // the group, by name). Empty when the computer is as it was.
  std::vector<std::string> Rollback();

 private:
  enum class Kind { Directory, NewFile, MovedFile, CopiedFile, Group };
  struct Entry {
    Kind kind;
    std::string path;  // the directory, the file, or the group's name
    std::string kept;  // where the earlier file waits
    std::function<bool(const std::string&)> removeGroup;
  };
  const Entry* Find(const std::string& path) const;
  static bool Undo(const Entry& e);

  std::vector<Entry> entries_;
  bool done_ = false;
};

// A free name beside `path` for its kept copy (`path` + ".kestamor-old", numbered when taken).
std::string KeptCopyName(const std::string& path);
