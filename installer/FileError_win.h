// Files of the installation that the system refused to read or write, kept with the system's
// error code so that the user can be told the file and the system's own reason.
#pragma once

#include <string>

#include "framework/Classes.h"

// The system's text for an error code, without the closing full stop and line break.
std::string SystemErrorText(unsigned long code);

class EFileError : public EOSError {
 public:
  enum class Access { Read, Write };
  // `code` is the system error code (GetLastError) of the refused operation.
  EFileError(Access access, std::string path, unsigned long code);

  Access FileAccess() const { return access_; }
  const std::string& Path() const { return path_; }
  std::string Reason() const { return SystemErrorText(Code); }
  // Another program holds the file open (typically the installed program, still running).
  bool InUse() const;

 private:
  Access access_;
  std::string path_;
};
