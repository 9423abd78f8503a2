// The eight records of a real installer extracted over an existing installation, as one
// installation does it (read from the installer's file, inflate, write, flush, close), with
// and without the transaction that keeps each replaced file aside and deletes the kept copies
// when done. The two are interleaved round by round so that the machine's load hits both.
//   bench_extract <installer.exe>   (default: install_kestamor.exe beside the build)
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "installer/InstallTransaction_win.h"
#include "installer/PayloadLayout.h"
#include "installer/PayloadRecord_win.h"

namespace fs = std::filesystem;

namespace {

double Now() {
  LARGE_INTEGER freq, t;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t);
  return 1e3 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// One extraction of all records into `dir`: milliseconds of the extraction, and of the commit
// that deletes the kept copies once the installation has completed.
std::pair<double, double> Extract(const std::string& installer, const std::string& dir, bool transactional) {
  const double start = Now();
  InstallTransaction transaction;
  PayloadFileInput payload(installer, PayloadLayout::Offset);
  for (size_t record = 0; record < PayloadLayout::RecordCount; ++record) {
    const std::string target = dir + PayloadLayout::Targets[record];
    const std::vector<uint8_t> compressed = ReadPayloadRecord(payload);
    if (transactional) transaction.Replace(target);
    WriteRecordToFile(compressed, target);
  }
  const double extracted = Now();
  transaction.Commit();
  return {extracted - start, Now() - extracted};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string installer = argc > 1 ? argv[1] : "installer\\install_kestamor.exe";
  const fs::path root = fs::temp_directory_path() / "kestamor-bench-extract";
  fs::remove_all(root);
  fs::create_directories(root / "sounds");
  const std::string dir = root.string() + "\\";
  try {
    Extract(installer, dir, false);  // the existing installation both runs replace
    constexpr int kRounds = 40;
    double plain = 0, transactional = 0, commit = 0;
    for (int i = 0; i < kRounds; ++i) {
      plain += Extract(installer, dir, false).first;
      const auto [extracted, committed] = Extract(installer, dir, true);
      transactional += extracted;
      commit += committed;
    }
    plain /= kRounds;
    transactional /= kRounds;
    commit /= kRounds;
    std::printf("%-34s %10s\n", "eight records over an installation", "ms");
    std::printf("%-34s %10.2f\n%-34s %10.2f\n%-34s %10.3f (goal <= 1.05)\n%-34s %10.2f\n", "written in place", plain,
                "with the transaction", transactional, "ratio", transactional / plain,
                "commit (kept copies deleted)", commit);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_extract: %s\n", e.what());
    return 1;
  }
  fs::remove_all(root);
  return 0;
}
