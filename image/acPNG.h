// TPNGGraphic: the skin engine's PNG reader. A PNG decodes into a TDibImage
// (1, 4 or 8 bits indexed with a palette, 24-bit BGR or 32-bit BGRA with
// straight alpha), which converts to a Bitmap32 or, on Windows, into a DIB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>

#include "image/Bitmap32.h"
#include "image/acPNGDib.h"

// Every failure of a load is an EPNGError; what() is the exact user-facing text.
class EPNGError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// The file is not a PNG this decoder can read (bad structure, CRC, compression, ...).
class EInvalidGraphic : public EPNGError {
 public:
  using EPNGError::EPNGError;
};
// The colour converter was given a layout it cannot convert.
class EColorConversionError : public EPNGError {
 public:
  using EPNGError::EPNGError;
};
// The zlib decoder could not be set up or torn down.
class ELZ77Error : public EPNGError {
 public:
  using EPNGError::EPNGError;
};
// The input ended before the PNG did ("Stream read error").
class EReadError : public EPNGError {
 public:
  using EPNGError::EPNGError;
};
// LoadFromFile could not open the file.
class EFOpenError : public EPNGError {
 public:
  using EPNGError::EPNGError;
};

// Largest image the decoder accepts: each side at most kPNGMaxSide pixels and at
// most kPNGMaxPixels pixels in all (256 MiB as 32-bit pixels). Larger images are
// refused as an invalid format before anything is allocated.
inline constexpr uint32_t kPNGMaxSide = 32767;
inline constexpr uint64_t kPNGMaxPixels = uint64_t(1) << 26;

enum class TColorScheme { csG, csRGB, csIndexed, csGA, csRGBA, csUnknown };

// What the IHDR (and gAMA) chunks say about the image.
struct TPNGImageProperties {
  uint32_t Width = 0;
  uint32_t Height = 0;
  int BitsPerSample = 0;    // the bit depth
  int SamplesPerPixel = 0;  // channels of the colour type
  int BitsPerPixel = 0;     // SamplesPerPixel * BitsPerSample
  uint8_t ColorType = 0;    // raw IHDR colour type
  TColorScheme ColorScheme = TColorScheme::csUnknown;
  bool CompressionKnown = false;  // compression method 0
  int FilterMode = 0;
  bool Interlaced = false;  // any non-zero interlace method means Adam7
  bool HasAlpha = false;    // grey+alpha and RGBA
  double FileGamma = 1.0;   // gAMA / 100000
  bool GammaCorrection = false;  // a gAMA chunk switched the gamma table on
};

enum class TProgressStage { psStarting, psRunning, psEnding };
// stage, percent done (0..100), message ("Preparing...", "Transfering..." or "").
using TProgressEvent = std::function<void(TProgressStage, int, const std::string&)>;

class TPNGGraphic : public TDibImage {
 public:
  // Decodes the PNG held in data[0, size). Throws EPNGError (or a subclass).
  void LoadFromMemory(const uint8_t* data, size_t size);
  // Decodes a PNG that begins at the stream's current position; on success the
  // stream is left just after the IEND chunk. (In a file of its own, so that a program
  // that reads no streams links none of the stream machinery.)
  void LoadFromStream(std::istream& stream);
  void LoadFromFile(const std::string& fileName);

  const TPNGImageProperties& ImageProperties() const { return properties_; }
  // The bKGD colour, white if there is none. For grey and palette images it is
  // the colour of the bKGD sample or index.
  Pixel32 BackgroundColor() const { return background_; }

  // Raised at the start, when the image data begins, once per decoded row and at the end.
  TProgressEvent OnProgress;
  // Asks for a mirror image below the picture when drawn (not drawn yet: nothing uses it).
  bool Reflected = false;

 private:
  friend class TPNGLoader;
  // Decodes the PNG at the start of data[0, size); returns the bytes it took.
  std::size_t LoadPrefix(const uint8_t* data, std::size_t size);
  TPNGImageProperties properties_;
  Pixel32 background_{255, 255, 255, 255};
};

// Pixels that are white with alpha 0 become all-zero (black, alpha 0); skin
// images go through this after decoding. Only 32-bit images are touched.
void ClearTransparentWhite(Bitmap32& bitmap);
void ClearTransparentWhite(TDibImage& image);

// Lays src (straight alpha) over dst of the same size: each colour channel becomes
// (d * (255 - a) + s * a + 127) >> 8 with a the source pixel's alpha; fully opaque source
// pixels are copied and fully transparent ones leave dst alone, so that the shift by 8 does
// not darken what is drawn solid. dst keeps its alpha. Different sizes: nothing.
void BlendStraightAlpha(Bitmap32& dst, const Bitmap32& src);
