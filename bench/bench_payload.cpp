// Payload extraction into real files against its floor: one inflate of each whole
// record into memory followed by one write. Runs on the demo payload (the one a
// Windows build packed, or KESTAMOR_BENCH_PAYLOAD) and on a synthetic 64 MB one.
// The "ratio" counter is our throughput as a fraction of the floor's (goal: 0.8
// or more); "unbuffered_ratio" is the same with one system call per chunk.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "installer/PayloadLayout.h"
#include "installer/PayloadRecord.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

struct Payload {
  std::string name;
  Bytes bytes;
  std::vector<size_t> inflatedSizes;  // what the floor allocates, known in advance
  uint64_t inflatedTotal = 0;
};

Bytes ReadAll(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// Sizes of the records' content, from one untimed pass.
void Measure(Payload& p) {
  struct Count : PayloadOutput {
    void Write(const void*, size_t n) override { total += n; }
    size_t total = 0;
  };
  PayloadMemoryInput in(p.bytes.data(), p.bytes.size());
  while (!in.AtEnd()) {
    Count c;
    ExtractRecord(in, c);
    p.inflatedSizes.push_back(c.total);
    p.inflatedTotal += c.total;
  }
}

Payload DemoPayload() {
  Payload p{"demo", {}, {}, 0};
  std::vector<fs::path> candidates;
  if (const char* env = std::getenv("KESTAMOR_BENCH_PAYLOAD")) candidates.emplace_back(env);
  for (const char* build : {"win32", "win64"})
    candidates.push_back(fs::path(KESTAMOR_SOURCE_DIR) / "build" / build / "installer" / "payload.bin");
  for (const fs::path& c : candidates) {
    if (fs::exists(c)) {
      p.bytes = ReadAll(c);
      std::printf("Demo payload: %s (%zu bytes)\n", c.c_str(), p.bytes.size());
      break;
    }
  }
  if (!p.bytes.empty()) Measure(p);
  return p;
}

// 64 MB in eight records shaped like a product: code-like bytes, text, sound.
Payload SyntheticPayload() {
  Payload p{"synthetic64", {}, {}, 0};
  std::mt19937 rng(42);
  const size_t sizes[] = {24u << 20, 16u << 20, 8u << 20, 1u << 10, 2u << 20, 6u << 20, 3u << 20, (5u << 20) - 1024};
  for (size_t size : sizes) {
    Bytes content(size);
    int16_t wave = 0;
    for (size_t i = 0; i < size; ++i) {
      switch ((i >> 12) % 4) {
        case 0: content[i] = uint8_t(rng() % 16); break;               // small operands
        case 1: content[i] = uint8_t("mov eax, [ebp+8]\r\n"[i % 18]); break;  // text
        case 2: wave = int16_t(wave + int(rng() % 64) - 32); content[i] = uint8_t(wave >> (i % 2 ? 8 : 0)); break;
        default: content[i] = uint8_t(rng()); break;                   // noise
      }
    }
    uLongf n = compressBound(uLong(size));
    Bytes stream(n);
    if (compress2(stream.data(), &n, content.data(), uLong(size), 9) != Z_OK) throw std::runtime_error("compress2");
    const uint32_t len = uint32_t(n);
    p.bytes.insert(p.bytes.end(), {uint8_t(len), uint8_t(len >> 8), uint8_t(len >> 16), uint8_t(len >> 24)});
    p.bytes.insert(p.bytes.end(), stream.begin(), stream.begin() + long(n));
  }
  Measure(p);
  std::printf("Synthetic payload: %zu bytes, %llu inflated\n", p.bytes.size(),
              static_cast<unsigned long long>(p.inflatedTotal));
  return p;
}

const Payload& Get(int which) {
  static const Payload demo = DemoPayload();
  static const Payload synthetic = SyntheticPayload();
  return which == 0 ? demo : synthetic;
}

fs::path Target(size_t record) {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("bench_payload-" + std::to_string(getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir / ("record" + std::to_string(record));
}

int Create(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) throw std::runtime_error("cannot create " + path.string());
  return fd;
}

void WriteFd(int fd, const void* data, size_t n) {
  const auto* p = static_cast<const uint8_t*>(data);
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w <= 0) throw EPayloadRecordError("write failed");
    p += w;
    n -= size_t(w);
  }
}

// The target file as the installer has it: gathered writes, flushed before closing.
class TargetFile : public BufferedPayloadOutput {
 public:
  explicit TargetFile(const fs::path& path) : fd_(Create(path)) {}
  ~TargetFile() override {
    Flush();
    ::close(fd_);
  }

 protected:
  void WriteThrough(const void* data, size_t n) override { WriteFd(fd_, data, n); }

 private:
  int fd_;
};

// Every chunk a system call of its own, for comparison.
class UnbufferedFile : public PayloadOutput {
 public:
  explicit UnbufferedFile(const fs::path& path) : fd_(Create(path)) {}
  ~UnbufferedFile() override { ::close(fd_); }
  void Write(const void* data, size_t n) override { WriteFd(fd_, data, n); }

 private:
  int fd_;
};

template <class File>
void Extract(const Payload& p) {
  PayloadMemoryInput in(p.bytes.data(), p.bytes.size());
  for (size_t r = 0; !in.AtEnd(); ++r) {
    File out(Target(r));
    ExtractRecord(in, out);
  }
}

void Floor(const Payload& p) {
  size_t at = 0;
  for (size_t r = 0; r < p.inflatedSizes.size(); ++r) {
    const uint32_t n = uint32_t(p.bytes[at]) | uint32_t(p.bytes[at + 1]) << 8 | uint32_t(p.bytes[at + 2]) << 16 |
                       uint32_t(p.bytes[at + 3]) << 24;
    Bytes content(p.inflatedSizes[r]);
    uLongf size = uLongf(content.size());
    if (n > 0 && uncompress(content.data(), &size, p.bytes.data() + at + 4, n) != Z_OK)
      throw std::runtime_error("uncompress");
    const int fd = Create(Target(r));
    WriteFd(fd, content.data(), size);
    ::close(fd);
    at += 4 + n;
  }
}

template <class F>
double Seconds(F f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The three ways run in turn within each iteration, so that load from other
// processes and the page cache's write-back fall on all of them alike. The
// iteration time is ours; the counters give each way's throughput and ours as
// a fraction of the floor's.
void BM_ExtractVsFloor(benchmark::State& state) {
  const Payload& p = Get(int(state.range(0)));
  if (p.bytes.empty()) {
    state.SkipWithError("no demo payload: build the win32 preset or set KESTAMOR_BENCH_PAYLOAD");
    return;
  }
  double ours = 0, floor = 0, unbuffered = 0;
  for (auto _ : state) {
    const double t = Seconds([&] { Extract<TargetFile>(p); });
    floor += Seconds([&] { Floor(p); });
    unbuffered += Seconds([&] { Extract<UnbufferedFile>(p); });
    ours += t;
    state.SetIterationTime(t);
  }
  const double mb = double(p.inflatedTotal) * double(state.iterations()) / 1e6;
  state.counters["ours_MBps"] = mb / ours;
  state.counters["floor_MBps"] = mb / floor;
  state.counters["ratio"] = floor / ours;
  state.counters["unbuffered_ratio"] = floor / unbuffered;
  state.SetLabel(p.name);
}
BENCHMARK(BM_ExtractVsFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  fs::remove_all(Target(0).parent_path());
  benchmark::Shutdown();
  return 0;
}
