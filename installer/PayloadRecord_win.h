// Payload records read from the installer's own executable file and written to
// target files. Paths are 8-bit strings in the system code page.
#pragma once

#include "framework/Handles.h"
#include "installer/PayloadRecord.h"

#include <cstdint>
#include <string>

// A file opened for reading, shared with every other reader and writer (deny
// none), positioned once at an offset and then read strictly in sequence.
class PayloadFileInput : public PayloadInput {
 public:
  // Throws EPayloadRecordError when the file cannot be opened or positioned.
  PayloadFileInput(const std::string& path, std::int64_t offset);
  // The running executable's own file, positioned at the payload.
  static PayloadFileInput OpenOwnPayload();
  // Full path of the running executable.
  static std::string OwnExecutablePath();

  std::size_t Read(void* buffer, std::size_t n) override;

 private:
  UniqueKernelHandle file_;
};

// Reads the next record from `input` and writes its content to `targetPath`,
// created anew (an existing file is replaced) and held exclusively while open.
// `extraWrite` may append bytes before the file is closed. Throws
// EPayloadRecordError on failure; a partly written target stays on disk, and a
// record whose length field is bad fails before the target is created.
void ExtractRecordToFile(PayloadInput& input, const std::string& targetPath,
                         const PayloadExtraWrite& extraWrite = {});
