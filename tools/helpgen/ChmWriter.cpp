#include "tools/helpgen/ChmWriter.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "tools/helpgen/Lzx.h"

namespace {

constexpr std::uint32_t kChunkSize = 0x1000;
constexpr std::uint32_t kItsfHeaderSize = 0x60;
constexpr std::uint32_t kHeaderSection0Size = 0x18;
constexpr std::uint32_t kItspHeaderSize = 0x54;
constexpr std::uint32_t kPmglHeaderSize = 0x14;
constexpr std::uint32_t kQuickRefDensity = 2;  // a quick-reference offset every 1 + 2^2 entries

const char kLzxTransform[] = "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}";
const std::string kStorage = "::DataSpace/Storage/MSCompressed/";

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Put64(Bytes& out, std::uint64_t v) {
  Put32(out, static_cast<std::uint32_t>(v));
  Put32(out, static_cast<std::uint32_t>(v >> 32));
}
void PutText(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// GUIDs are stored as in memory: Data1..Data3 little-endian, then 8 bytes.
void PutGuid(Bytes& out, std::uint32_t d1, std::uint16_t d2, std::uint16_t d3,
             std::initializer_list<std::uint8_t> d4) {
  Put32(out, d1);
  Put16(out, d2);
  Put16(out, d3);
  out.insert(out.end(), d4);
}

// Variable-length integer of the directory: 7 bits a byte, most significant
// group first, high bit set on every byte but the last.
void PutEncInt(Bytes& out, std::uint64_t v) {
  std::uint8_t groups[10];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(v & 0x7F);
    v >>= 7;
  } while (v != 0);
  while (n-- > 0) out.push_back(static_cast<std::uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
}

// UTF-16LE text of an ASCII string.
void PutWide(Bytes& out, const std::string& text) {
  for (unsigned char c : text) Put16(out, c);
}

struct DirEntry {
  std::string name;
  std::uint32_t section;
  std::uint64_t offset;
  std::uint64_t length;
};

// Readers search the listing with a case-insensitive comparison.
bool NameLess(const DirEntry& a, const DirEntry& b) {
  return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                      [](unsigned char x, unsigned char y) {
                                        return std::tolower(x) < std::tolower(y);
                                      });
}

Bytes ListingChunk(std::vector<DirEntry> entries) {
  std::sort(entries.begin(), entries.end(), NameLess);
  Bytes body;
  std::vector<std::uint16_t> quickRef;
  const std::size_t every = 1 + (std::size_t{1} << kQuickRefDensity);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0 && i % every == 0) quickRef.push_back(static_cast<std::uint16_t>(body.size()));
    const DirEntry& e = entries[i];
    PutEncInt(body, e.name.size());
    PutText(body, e.name);
    PutEncInt(body, e.section);
    PutEncInt(body, e.offset);
    PutEncInt(body, e.length);
  }
  const std::size_t tail = 2 + 2 * quickRef.size();
  if (kPmglHeaderSize + body.size() + tail > kChunkSize)
    throw std::invalid_argument("too many help files for one directory chunk");

  Bytes chunk;
  PutText(chunk, "PMGL");
  Put32(chunk, static_cast<std::uint32_t>(kChunkSize - kPmglHeaderSize - body.size()));  // free space + quick reference
  Put32(chunk, 0);
  Put32(chunk, 0xFFFFFFFF);  // no previous listing chunk
  Put32(chunk, 0xFFFFFFFF);  // no next listing chunk
  chunk.insert(chunk.end(), body.begin(), body.end());
  chunk.resize(kChunkSize - tail, 0);
  // The quick reference grows backwards from the chunk's end, the entry count last.
  for (auto it = quickRef.rbegin(); it != quickRef.rend(); ++it) Put16(chunk, *it);
  Put16(chunk, static_cast<std::uint32_t>(entries.size()));
  return chunk;
}

Bytes NameList() {
  const std::string names[] = {"Uncompressed", "MSCompressed"};
  Bytes body;
  Put16(body, 2);
  for (const auto& name : names) {
    Put16(body, static_cast<std::uint32_t>(name.size()));
    PutWide(body, name);
    Put16(body, 0);
  }
  Bytes out;
  Put16(out, static_cast<std::uint32_t>((body.size() + 2) / 2));  // length in 16-bit words
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes ControlData() {
  Bytes out;
  Put32(out, 6);  // DWORDs that follow
  PutText(out, "LZXC");
  Put32(out, 2);  // version 2: sizes below count 32 KB frames
  Put32(out, 1);  // reset interval: every frame
  Put32(out, 2);  // window: 64 KB
  Put32(out, 1);  // windows per reset
  Put32(out, 0);
  return out;
}

Bytes ResetTable(const std::vector<std::uint64_t>& frameStarts, std::uint64_t contentSize,
                 std::uint64_t compressedSize) {
  Bytes out;
  Put32(out, 2);
  Put32(out, static_cast<std::uint32_t>(frameStarts.size()));
  Put32(out, 8);     // bytes per entry
  Put32(out, 0x28);  // header size
  Put64(out, contentSize);
  Put64(out, compressedSize);
  Put64(out, kLzxFrameSize);
  for (std::uint64_t start : frameStarts) Put64(out, start);
  return out;
}

}  // namespace

std::vector<std::uint8_t> ChmSystemFile(const std::string& defaultTopic, const std::string& title,
                                        std::uint32_t lcid) {
  Bytes out;
  Put32(out, 3);  // version
  auto record = [&out](std::uint16_t code, const Bytes& data) {
    Put16(out, code);
    Put16(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
  };
  auto text = [](const std::string& s) {
    Bytes b(s.begin(), s.end());
    b.push_back(0);
    return b;
  };
  record(2, text(defaultTopic));
  record(3, text(title));
  Bytes locale;
  Put32(locale, lcid);
  Put32(locale, 0);  // not DBCS
  Put32(locale, 0);  // no full-text search
  Put32(locale, 0);  // no K keywords
  Put32(locale, 0);  // no A keywords
  Put64(locale, 0);  // timestamp: fixed, so that builds are reproducible
  Put32(locale, 0);
  Put32(locale, 0);
  record(4, locale);
  record(9, text("Kestamor helpgen"));
  return out;
}

std::vector<std::uint8_t> BuildChm(const std::vector<ChmEntry>& files, std::uint32_t lcid) {
  // The help files go one after another into the compressed section's content.
  Bytes content;
  std::vector<DirEntry> entries{{"/", 0, 0, 0}};
  for (const ChmEntry& f : files) {
    if (f.name.empty() || f.name[0] != '/') throw std::invalid_argument("help file names start with '/': " + f.name);
    entries.push_back({f.name, 1, content.size(), f.data.size()});
    content.insert(content.end(), f.data.begin(), f.data.end());
  }
  std::vector<std::uint64_t> frameStarts;
  const Bytes lzx = LzxStored(content, frameStarts);

  // Section 0 (uncompressed) holds the data-space description and the LZX stream.
  Bytes section0;
  auto add0 = [&](const std::string& name, const Bytes& data) {
    entries.push_back({name, 0, section0.size(), data.size()});
    section0.insert(section0.end(), data.begin(), data.end());
  };
  Bytes spanInfo;
  Put64(spanInfo, content.size());
  Bytes transformList;
  PutWide(transformList, kLzxTransform);
  add0("::DataSpace/NameList", NameList());
  add0(kStorage + "ControlData", ControlData());
  add0(kStorage + "SpanInfo", spanInfo);
  add0(kStorage + "Transform/List", transformList);
  add0(kStorage + "Transform/" + kLzxTransform + "/InstanceData/ResetTable",
       ResetTable(frameStarts, content.size(), lzx.size()));
  add0(kStorage + "Content", lzx);

  const Bytes chunk = ListingChunk(entries);
  const std::uint64_t directoryOffset = kItsfHeaderSize + kHeaderSection0Size;
  const std::uint64_t directorySize = kItspHeaderSize + chunk.size();
  const std::uint64_t contentOffset = directoryOffset + directorySize;
  const std::uint64_t fileSize = contentOffset + section0.size();

  Bytes out;
  PutText(out, "ITSF");
  Put32(out, 3);
  Put32(out, kItsfHeaderSize);
  Put32(out, 1);
  Put32(out, 0);  // timestamp: fixed, so that builds are reproducible
  Put32(out, lcid);
  PutGuid(out, 0x7C01FD10, 0x7BAA, 0x11D0, {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC});
  PutGuid(out, 0x7C01FD11, 0x7BAA, 0x11D0, {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC});
  Put64(out, kItsfHeaderSize);
  Put64(out, kHeaderSection0Size);
  Put64(out, directoryOffset);
  Put64(out, directorySize);
  Put64(out, contentOffset);

  Put32(out, 0x01FE);
  Put32(out, 0);
  Put64(out, fileSize);
  Put32(out, 0);
  Put32(out, 0);

  PutText(out, "ITSP");
  Put32(out, 1);
  Put32(out, kItspHeaderSize);
  Put32(out, 0x0A);
  Put32(out, kChunkSize);
  Put32(out, kQuickRefDensity);
  Put32(out, 1);           // index depth: listing chunks only
  Put32(out, 0xFFFFFFFF);  // no index chunk
  Put32(out, 0);           // first listing chunk
  Put32(out, 0);           // last listing chunk
  Put32(out, 0xFFFFFFFF);
  Put32(out, 1);  // directory chunks in all
  Put32(out, lcid);
  PutGuid(out, 0x5D02926A, 0x212E, 0x11D0, {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC});
  Put32(out, kItspHeaderSize);
  Put32(out, 0xFFFFFFFF);
  Put32(out, 0xFFFFFFFF);
  Put32(out, 0xFFFFFFFF);

  out.insert(out.end(), chunk.begin(), chunk.end());
  out.insert(out.end(), section0.begin(), section0.end());
  return out;
}
