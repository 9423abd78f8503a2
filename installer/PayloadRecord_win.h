// Payload records read from the installer's own executable file and written to
// target files. Paths are 8-bit strings in the system code page. A file the system
// refuses to open, read or write throws EFileError; damaged records throw as in
// PayloadRecord.h.
#pragma once

#include "framework/Handles.h"
#include "installer/PayloadRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// A file opened for reading, shared with every other reader and writer (deny
// none), positioned once at an offset and then read strictly in sequence.
class PayloadFileInput : public PayloadInput {
 public:
  // Throws EFileError (Read) when the file cannot be opened or positioned.
  PayloadFileInput(const std::string& path, std::int64_t offset);
  // The running executable's own file, positioned at the payload.
  static PayloadFileInput OpenOwnPayload();
  // Full path of the running executable.
  static std::string OwnExecutablePath();

  std::size_t Read(void* buffer, std::size_t n) override;

 private:
  [[noreturn]] void Fail() const;

  std::string path_;
  UniqueKernelHandle file_;
};

// Writes one record's content (its compressed bytes, as ReadPayloadRecord gives
// them) to `targetPath`, created anew (an existing file is replaced) and held
// exclusively while open. `extraWrite` may append bytes before the file is
// closed. A partly written target stays on disk. Writing the same bytes again
// after a failure starts the file over.
void WriteRecordToFile(const std::vector<std::uint8_t>& compressed, const std::string& targetPath,
                       const PayloadExtraWrite& extraWrite = {});

// Reads the next record from `input` and writes it to `targetPath`. A record whose
// length field is bad fails before the target is created.
void ExtractRecordToFile(PayloadInput& input, const std::string& targetPath,
                         const PayloadExtraWrite& extraWrite = {});
