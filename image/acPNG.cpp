#include "image/acPNG.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include <zlib.h>

#include "image/FileBytes.h"
#include "image/acPNGColor.h"
#include "image/acPNGFilter.h"
#include "image/acPNGInflate.h"

namespace {

const char kInvalidFormat[] = "Cannot load image. Invalid or unexpected PNG image format.";
const char kUnsupportedCompression[] = "Cannot load image. The compression scheme is not supported for PNG files.";
const char kInvalidPalette[] = "Cannot load image. Palette in PNG file is invalid.";
const char kCRCError[] = "Cannot load image. CRC error found in PNG file.";
const char kCompressionError[] = "Cannot load image. Compression error found in PNG file.";
const char kExtraData[] = "Cannot load image. Extra compressed data found in PNG file.";
const char kCriticalChunk[] = "Cannot load PNG image. Unexpected but critical chunk detected.";
const char kInvalidColorFormat[] = "Invalid color format in PNG file.";
const char kReadError[] = "Stream read error";

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

constexpr uint32_t Tag(const char (&s)[5]) {
  return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) | (uint32_t(uint8_t(s[2])) << 8) |
         uint32_t(uint8_t(s[3]));
}
// Chunk types compare with the case bit of every letter cleared.
constexpr uint32_t kCaseMask = 0xDFDFDFDFu;
constexpr uint32_t kIHDR = Tag("IHDR"), kIDAT = Tag("IDAT"), kIEND = Tag("IEND"), kPLTE = Tag("PLTE"),
                   kGAMA = Tag("GAMA"), kBKGD = Tag("BKGD"), kTRNS = Tag("TRNS");

inline uint32_t BE32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
inline unsigned BE16(const uint8_t* p) { return (unsigned(p[0]) << 8) | p[1]; }

struct ChunkHeader {
  uint32_t length = 0;
  uint32_t type = 0;
  uint32_t Key() const { return type & kCaseMask; }
  bool Critical() const { return ((type >> 24) & 0x20) == 0; }
};

// Adam7: column start, column step, row start, row step of passes 1 to 7.
const uint32_t kPassColStart[7] = {0, 4, 0, 2, 0, 1, 0};
const uint32_t kPassColStep[7] = {8, 8, 4, 4, 2, 2, 1};
const uint32_t kPassRowStart[7] = {0, 0, 4, 0, 2, 0, 1};
const uint32_t kPassRowStep[7] = {8, 8, 8, 4, 4, 2, 2};

inline uint32_t CeilDiv(uint32_t a, uint32_t b) { return a / b + (a % b != 0); }

}  // namespace

// One load of a TPNGGraphic from bytes in memory.
class TPNGLoader {
 public:
  TPNGLoader(TPNGGraphic& graphic, const uint8_t* data, std::size_t size) : g_(graphic), data_(data), size_(size) {}

  // Returns the number of bytes the PNG occupied.
  std::size_t Load() {
    ReadImageProperties();
    pos_ = 8;
    Progress(TProgressStage::psStarting, 0, "Preparing...");
    g_.background_ = {255, 255, 255, 255};
    palette_.clear();
    trns_.clear();
    bkgd_.clear();

    ChunkHeader ihdr = ReadHeader();
    ReadData(ihdr);
    if (!g_.properties_.CompressionKnown) throw EInvalidGraphic(kUnsupportedCompression);

    decoder_.emplace();
    bool imageDone = false;
    ChunkHeader h = ReadHeader();
    for (;;) {
      uint32_t key = h.Key();
      if (key == kIDAT) {
        // A second run of image data after the first has ended is data the stream cannot hold.
        if (imageDone) throw EInvalidGraphic(kExtraData);
        h = DecodeImage(h);
        key = h.Key();
        imageDone = true;
      } else if (key == kPLTE) {
        if (h.length % 3 != 0) throw EInvalidGraphic(kInvalidPalette);
        const uint8_t* p = ReadData(h);
        if (g_.properties_.ColorType == 3) {
          ChooseFormat();
          havePalette_ = true;
          palette_.clear();
          for (uint32_t i = 0; i < h.length / 3; ++i, p += 3)
            palette_.push_back({color_.Gamma(p[2]), color_.Gamma(p[1]), color_.Gamma(p[0]), 255});
        }
        h = ReadHeader();
        continue;
      } else if (key == kGAMA) {
        const uint8_t* p = ReadData(h);
        // After the image data it can no longer change anything.
        if (h.length >= 4 && !imageDone) {
          color_.SetGamma(BE32(p) / 100000.0);
          g_.properties_.GammaCorrection = true;
        }
        h = ReadHeader();
        continue;
      } else if (key == kBKGD) {
        const uint8_t* p = ReadData(h);
        bkgd_.assign(p, p + h.length);
        h = ReadHeader();
        continue;
      } else if (key == kTRNS) {
        const uint8_t* p = ReadData(h);
        trns_.assign(p, p + h.length);
        h = ReadHeader();
        continue;
      }
      // Any other chunk, and the one that follows the image data.
      Skip(h);
      if (key == kIEND) break;
      if (h.Critical()) throw EInvalidGraphic(kCriticalChunk);
      h = ReadHeader();
    }
    // A PNG without image data is no image.
    if (!imageDone) throw EInvalidGraphic(kInvalidFormat);
    decoder_->End();
    return static_cast<std::size_t>(std::min<uint64_t>(pos_, size_));
  }

 private:
  // ---- input ----
  void Need(uint64_t n) const {
    if (pos_ > size_ || n > size_ - pos_) throw EReadError(kReadError);
  }
  const uint8_t* Take(uint64_t n) {
    Need(n);
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  ChunkHeader ReadHeader() {
    const uint8_t* p = Take(8);
    return {BE32(p), BE32(p + 4)};
  }
  // The chunk's data, after its CRC has been checked; points into the input.
  const uint8_t* ReadData(const ChunkHeader& h) {
    Need(uint64_t(h.length) + 4);
    const uint8_t* data = Take(h.length);
    const uint32_t stored = BE32(Take(4));
    uint8_t type[4] = {uint8_t(h.type >> 24), uint8_t(h.type >> 16), uint8_t(h.type >> 8), uint8_t(h.type)};
    uLong crc = crc32(0L, type, 4);
    // zlib's length parameter is 32-bit; PNG chunks are below 2^31 bytes.
    crc = crc32(crc, data, static_cast<uInt>(h.length));
    if (static_cast<uint32_t>(crc) != stored) throw EInvalidGraphic(kCRCError);
    return data;
  }
  // Like a seek: past the end is allowed, the next read fails.
  void Skip(const ChunkHeader& h) { pos_ += uint64_t(h.length) + 4; }

  void Progress(TProgressStage stage, int percent, const char* msg) {
    if (g_.OnProgress) g_.OnProgress(stage, percent, msg);
  }

  // ---- image properties (signature, IHDR, first gAMA) ----
  void ReadImageProperties() {
    TPNGImageProperties& pr = g_.properties_;
    pr = {};
    try {
      if (std::memcmp(Take(8), kSignature, 8) != 0) throw EInvalidGraphic(kInvalidFormat);
      const ChunkHeader h = ReadHeader();
      if (h.Key() != kIHDR || h.length != 13) throw EInvalidGraphic(kInvalidFormat);
      const uint8_t* p = ReadData(h);
      pr.Width = BE32(p);
      pr.Height = BE32(p + 4);
      pr.BitsPerSample = p[8];
      pr.ColorType = p[9];
      pr.CompressionKnown = p[10] == 0;
      pr.FilterMode = p[11];
      pr.Interlaced = p[12] != 0;
    } catch (const EPNGError&) {
      throw EInvalidGraphic(kInvalidFormat);
    }
    if (pr.Width == 0 || pr.Height == 0 || pr.Width > kPNGMaxSide || pr.Height > kPNGMaxSide ||
        uint64_t(pr.Width) * pr.Height > kPNGMaxPixels)
      throw EInvalidGraphic(kInvalidFormat);
    switch (pr.ColorType) {
      case 0: pr.ColorScheme = TColorScheme::csG; pr.SamplesPerPixel = 1; break;
      case 2: pr.ColorScheme = TColorScheme::csRGB; pr.SamplesPerPixel = 3; break;
      case 3: pr.ColorScheme = TColorScheme::csIndexed; pr.SamplesPerPixel = 1; break;
      case 4: pr.ColorScheme = TColorScheme::csGA; pr.SamplesPerPixel = 2; pr.HasAlpha = true; break;
      case 6: pr.ColorScheme = TColorScheme::csRGBA; pr.SamplesPerPixel = 4; pr.HasAlpha = true; break;
      default: pr.ColorScheme = TColorScheme::csUnknown; pr.SamplesPerPixel = 1; break;
    }
    pr.BitsPerPixel = pr.SamplesPerPixel * pr.BitsPerSample;
    // The file gamma comes from the first gAMA chunk, wherever it is.
    for (;;) {
      const ChunkHeader h = ReadHeader();
      if (h.Key() == kGAMA) {
        const uint8_t* p = ReadData(h);
        if (h.length >= 4) pr.FileGamma = BE32(p) / 100000.0;
        break;
      }
      if (h.Key() == kIEND) break;
      Skip(h);
    }
  }

  // ---- output format ----
  void ChooseFormat() {
    if (formatChosen_) return;
    const TPNGImageProperties& pr = g_.properties_;
    const int d = pr.BitsPerSample;
    switch (pr.ColorType) {
      case 0:
        if (d == 1) format_ = TPixelFormat::pf1bit, rampLevels_ = 2;
        else if (d == 2 || d == 4) format_ = TPixelFormat::pf4bit, rampLevels_ = 16;
        else if (d == 8 || d == 16) format_ = TPixelFormat::pf8bit, rampLevels_ = 256;
        break;
      case 2:
        if (d == 8 || d == 16) format_ = TPixelFormat::pf24bit;
        break;
      case 3:
        if (d == 1) format_ = TPixelFormat::pf1bit;
        else if (d == 2 || d == 4) format_ = TPixelFormat::pf4bit;
        else if (d == 8) format_ = TPixelFormat::pf8bit;
        break;
      case 4:
        if (d == 8 || d == 16) format_ = TPixelFormat::pf8bit, rampLevels_ = 256;
        break;
      case 6:
        if (d == 8 || d == 16) format_ = TPixelFormat::pf32bit;
        break;
      default:
        break;
    }
    if (format_ == TPixelFormat::pfNone) throw EInvalidGraphic(kInvalidColorFormat);
    color_.SetSourceAndTarget({pr.ColorScheme, pr.BitsPerSample, pr.SamplesPerPixel}, format_);
    bytesPerPixel_ = std::max(1, pr.BitsPerPixel / 8);
    formatChosen_ = true;
  }

  // Index of the grey-ramp entry that a grey sample decodes to, if the sample is valid.
  std::optional<unsigned> GreyIndex(unsigned s) const {
    const int d = g_.properties_.BitsPerSample;
    if (d == 16) return s / 257;
    if (s >= (1u << d)) return std::nullopt;
    return d == 2 ? s * 5 : s;
  }

  // The colour an RGB sample triple decodes to (before gamma), if the samples are valid.
  std::optional<Pixel32> RGBColour(const uint8_t* p) const {
    const bool wide = g_.properties_.BitsPerSample == 16;
    unsigned c[3];
    for (int i = 0; i < 3; ++i) {
      const unsigned s = BE16(p + 2 * i);
      if (!wide && s > 255) return std::nullopt;
      c[i] = wide ? s / 257 : s;
    }
    return Pixel32{uint8_t(c[2]), uint8_t(c[1]), uint8_t(c[0]), 255};
  }

  void PrepareBitmap() {
    const TPNGImageProperties& pr = g_.properties_;
    std::vector<Pixel32> palette;
    if (rampLevels_) palette = color_.GreyRamp(rampLevels_);
    else if (pr.ColorType == 3) palette = palette_;
    const bool indexed = format_ == TPixelFormat::pf1bit || format_ == TPixelFormat::pf4bit || format_ == TPixelFormat::pf8bit;
    const std::size_t maxEntries = indexed ? std::size_t(1) << static_cast<int>(format_) : 0;
    if (palette.size() > maxEntries) palette.resize(maxEntries);
    rowBytes_ = TDibImage::RowBytesFor(format_, static_cast<int>(pr.Width));
    bits_.clear();
    g_.SetPalette(palette);

    // The background (bKGD, else white). A load either decodes every pixel or
    // fails, so the background never shows through: it is recorded for the
    // caller but not painted first.
    if (pr.ColorType == 2 || pr.ColorType == 6) {
      if (bkgd_.size() >= 6)
        g_.background_ = pr.BitsPerSample == 16 ? *RGBColour(bkgd_.data()) : Pixel32{bkgd_[5], bkgd_[3], bkgd_[1], 255};
    } else {
      std::optional<unsigned> index;
      if (pr.ColorType == 3 && !bkgd_.empty()) index = bkgd_[0];
      else if (pr.ColorType != 3 && bkgd_.size() >= 2) index = GreyIndex(BE16(bkgd_.data()));
      if (index && *index < palette.size()) g_.background_ = palette[*index];
    }

    // tRNS gives grey and RGB images a transparent colour: the colour that
    // pixels with the given sample decode to, so that exactly they drop out.
    std::optional<Pixel32> transparent;
    if (pr.ColorType == 0 && trns_.size() >= 2) {
      if (auto i = GreyIndex(BE16(trns_.data())); i && *i < palette.size()) transparent = palette[*i];
    } else if (pr.ColorType == 2 && trns_.size() >= 6) {
      if (auto c = RGBColour(trns_.data())) transparent = Pixel32{color_.Gamma(c->B), color_.Gamma(c->G), color_.Gamma(c->R), 255};
    }
    g_.SetTransparentColor(transparent);
  }

  // ---- image data ----
  // Row y of the picture. Rows are made as the data reaches them, growing the store
  // geometrically, so that memory follows what the file holds rather than what its
  // header claims; the picture takes them over once all are decoded.
  uint8_t* Row(uint32_t y) {
    const std::size_t need = (std::size_t(y) + 1) * rowBytes_;
    if (need > bits_.size()) {
      const std::size_t all = rowBytes_ * g_.properties_.Height;
      const std::size_t grown = std::min(all, std::max(need, 2 * bits_.size()));
      bits_.reserve(grown);
      bits_.resize(grown, 0);
    }
    return bits_.data() + rowBytes_ * y;
  }

  // Feeds the inflater the next IDAT chunk, or notes that the image data has ended.
  void FeedNext() {
    const ChunkHeader h = ReadHeader();
    if (h.Key() == kIDAT) {
      decoder_->SetInput(ReadData(h), h.length);
    } else {
      feeding_ = false;
      next_ = h;
    }
  }

  void ReadRow(uint8_t* buf, std::size_t n) {
    std::size_t filled = 0;
    while (filled < n) {
      if (decoder_->InputLeft() == 0 && feeding_) {
        FeedNext();
        continue;
      }
      std::size_t got = 0;
      const TLZ77Decoder::Result r = decoder_->Inflate(buf + filled, n - filled, got);
      filled += got;
      switch (r) {
        case TLZ77Decoder::Result::Progress:
          break;
        case TLZ77Decoder::Result::StreamEnd:
          if (filled < n || decoder_->InputLeft() > 0) throw EInvalidGraphic(kExtraData);
          return;
        case TLZ77Decoder::Result::Stalled:
          // Nothing more to inflate: the image data ended before the image did.
          if (decoder_->InputLeft() == 0 && feeding_) break;
          throw EInvalidGraphic(kCompressionError);
        case TLZ77Decoder::Result::Error:
          throw EInvalidGraphic(kCompressionError);
      }
    }
  }

  // Decodes the image from the IDAT chunk `first` on; returns the header of the
  // chunk that follows the image data.
  ChunkHeader DecodeImage(const ChunkHeader& first) {
    Progress(TProgressStage::psRunning, 0, "Transfering...");
    ChooseFormat();
    // Indexes without colours would decode to nothing but black.
    if (g_.properties_.ColorType == 3 && !havePalette_) throw EInvalidGraphic(kInvalidPalette);
    const TPNGImageProperties& pr = g_.properties_;
    PrepareBitmap();

    decoder_->SetInput(ReadData(first), first.length);
    feeding_ = true;

    const uint32_t channels = static_cast<uint32_t>(pr.SamplesPerPixel);
    const uint32_t depth = static_cast<uint32_t>(pr.BitsPerSample);
    auto rowBytes = [&](uint32_t pixels) { return std::size_t(CeilDiv(pixels * depth, 8)) * channels; };
    const std::size_t maxRow = rowBytes(pr.Width);
    // Row buffers: filter byte + row, zero so that the first row's "previous" row is zero.
    std::vector<uint8_t> a(maxRow + 1, 0), b(maxRow + 1, 0);
    uint8_t* cur = a.data();
    uint8_t* prev = b.data();

    struct Pass {
      uint32_t colStart, colStep, rowStart, rowStep, pixels, rows;
    };
    std::vector<Pass> passes;
    if (!pr.Interlaced) {
      passes.push_back({0, 1, 0, 1, pr.Width, pr.Height});
    } else {
      for (int i = 0; i < 7; ++i) {
        if (kPassColStart[i] >= pr.Width || kPassRowStart[i] >= pr.Height) continue;
        passes.push_back({kPassColStart[i], kPassColStep[i], kPassRowStart[i], kPassRowStep[i],
                          CeilDiv(pr.Width - kPassColStart[i], kPassColStep[i]),
                          CeilDiv(pr.Height - kPassRowStart[i], kPassRowStep[i])});
      }
    }
    uint64_t totalRows = 0, rowsDone = 0;
    for (const Pass& p : passes) totalRows += p.rows;

    for (const Pass& p : passes) {
      const std::size_t n = rowBytes(p.pixels);
      std::memset(prev, 0, n + 1);
      for (uint32_t r = 0; r < p.rows; ++r) {
        ReadRow(cur, n + 1);
        UnfilterRow(cur[0], cur + 1, prev + 1, n, static_cast<std::size_t>(bytesPerPixel_));
        color_.ConvertRow(cur + 1, Row(p.rowStart + r * p.rowStep), p.pixels, p.colStart, p.colStep);
        std::swap(cur, prev);
        ++rowsDone;
        if (g_.OnProgress) Progress(TProgressStage::psRunning, static_cast<int>(rowsDone * 100 / totalRows), "");
      }
    }

    // Any IDAT chunks the rows did not need are still read and checked.
    while (feeding_) FeedNext();
    Row(pr.Height - 1);
    g_.Adopt(format_, static_cast<int>(pr.Width), static_cast<int>(pr.Height), std::move(bits_));
    return next_;
  }

  TPNGGraphic& g_;
  const uint8_t* data_;
  std::size_t size_;
  uint64_t pos_ = 0;

  std::optional<TLZ77Decoder> decoder_;
  TColorManager color_;
  bool formatChosen_ = false;
  TPixelFormat format_ = TPixelFormat::pfNone;
  int rampLevels_ = 0;
  int bytesPerPixel_ = 1;
  std::size_t rowBytes_ = 0;
  std::vector<uint8_t> bits_;  // the picture's rows made so far
  std::vector<Pixel32> palette_;
  bool havePalette_ = false;
  std::vector<uint8_t> trns_, bkgd_;
  bool feeding_ = false;
  ChunkHeader next_;
};

namespace {

// Loads and reports the end of progress whatever happens; returns the bytes used.
std::size_t RunLoad(TPNGGraphic& graphic, const uint8_t* data, std::size_t size) {
  graphic.Clear();
  std::size_t used = 0;
  try {
    used = TPNGLoader(graphic, data, data ? size : 0).Load();
  } catch (...) {
    if (graphic.OnProgress) graphic.OnProgress(TProgressStage::psEnding, 100, "");
    throw;
  }
  if (graphic.OnProgress) graphic.OnProgress(TProgressStage::psEnding, 100, "");
  return used;
}

}  // namespace

void TPNGGraphic::LoadFromMemory(const uint8_t* data, std::size_t size) { RunLoad(*this, data, size); }

std::size_t TPNGGraphic::LoadPrefix(const uint8_t* data, std::size_t size) { return RunLoad(*this, data, size); }

void TPNGGraphic::LoadFromFile(const std::string& fileName) {
  const auto bytes = TryReadFile(fileName);
  if (!bytes) throw EFOpenError("Cannot open file \"" + fileName + "\".");
  RunLoad(*this, bytes->data(), bytes->size());
}

void ClearTransparentWhite(Bitmap32& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    Pixel32* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x)
      if (row[x] == Pixel32{255, 255, 255, 0}) row[x] = Pixel32{0, 0, 0, 0};
  }
}

void ClearTransparentWhite(TDibImage& image) {
  if (image.PixelFormat() != TPixelFormat::pf32bit) return;
  for (int y = 0; y < image.Height(); ++y) {
    uint8_t* p = image.ScanLine(y);
    for (int x = 0; x < image.Width(); ++x, p += 4)
      if (p[0] == 255 && p[1] == 255 && p[2] == 255 && p[3] == 0) p[0] = p[1] = p[2] = 0;
  }
}

void BlendStraightAlpha(Bitmap32& dst, const Bitmap32& src) {
  if (dst.Width() != src.Width() || dst.Height() != src.Height()) return;
  for (int y = 0; y < dst.Height(); ++y) {
    Pixel32* d = dst.Row(y);
    const Pixel32* s = src.Row(y);
    for (int x = 0; x < dst.Width(); ++x) {
      const unsigned a = s[x].A;
      if (a == 0) continue;
      if (a == 255) {
        d[x] = Pixel32{s[x].B, s[x].G, s[x].R, d[x].A};
        continue;
      }
      auto mix = [a](unsigned dc, unsigned sc) { return static_cast<uint8_t>((dc * (255 - a) + sc * a + 127) >> 8); };
      d[x].B = mix(d[x].B, s[x].B);
      d[x].G = mix(d[x].G, s[x].G);
      d[x].R = mix(d[x].R, s[x].R);
    }
  }
}
