#include "framework/Graphics.h"

#include <cstring>
#include <stdexcept>
#include <vector>

#include "image/FileBytes.h"

TColor ColorToRGB(TColor color) {
  if (color < 0) return static_cast<TColor>(GetSysColor(color & 0xFF));
  return color & 0x00FFFFFF;
}

int ScreenPixelsPerInch() {
  static const int ppi = [] {
    WindowDC screen(nullptr);
    const int v = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return v > 0 ? v : 96;
  }();
  return ppi;
}

// ---- TFont

TFont::TFont() = default;

void TFont::Changed(bool handleStale) {
  if (handleStale) handle_.reset();
  if (OnChange) OnChange(this);
}

void TFont::SetName(const std::string& v) {
  if (v == name_) return;
  name_ = v;
  Changed(true);
}

void TFont::SetHeight(int v) {
  if (v == height_) return;
  height_ = v;
  Changed(true);
}

int TFont::Size() const { return -MulDiv(height_, 72, ScreenPixelsPerInch()); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch(), 72)); }

void TFont::SetStyle(TFontStyles v) {
  if (v == style_) return;
  style_ = v;
  Changed(true);
}

void TFont::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Changed(false);
}

void TFont::SetCharset(BYTE v) {
  if (v == charset_) return;
  charset_ = v;
  Changed(true);
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
         charset_ == o.charset_;
}

void TFont::Assign(const TFont& o) {
  if (&o == this || SameAs(o)) return;
  const bool stale = name_ != o.name_ || height_ != o.height_ || style_ != o.style_ || charset_ != o.charset_;
  name_ = o.name_;
  height_ = o.height_;
  style_ = o.style_;
  color_ = o.color_;
  charset_ = o.charset_;
  Changed(stale);
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_.reset(CreateFontIndirectA(&lf));
  }
  return handle_.get();
}

// ---- TBrush, TPen

void TBrush::Changed() {
  handle_.reset();
  if (OnChange) OnChange(this);
}
void TBrush::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Changed();
}
void TBrush::SetStyle(TBrushStyle v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}
void TBrush::Assign(const TBrush& o) {
  if (&o == this || (o.color_ == color_ && o.style_ == style_)) return;
  color_ = o.color_;
  style_ = o.style_;
  Changed();
}
HBRUSH TBrush::Handle() {
  if (style_ == TBrushStyle::bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!handle_) handle_.reset(CreateSolidBrush(ToColorRef(color_)));
  return handle_.get();
}

void TPen::Changed() {
  handle_.reset();
  if (OnChange) OnChange(this);
}
void TPen::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Changed();
}
void TPen::SetWidth(int v) {
  if (v == width_) return;
  width_ = v;
  Changed();
}
void TPen::SetStyle(TPenStyle v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}
void TPen::Assign(const TPen& o) {
  if (&o == this) return;
  color_ = o.color_;
  width_ = o.width_;
  style_ = o.style_;
  Changed();
}
HPEN TPen::Handle() {
  if (!handle_) {
    int style = PS_SOLID;
    switch (style_) {
      case TPenStyle::psSolid: style = PS_SOLID; break;
      case TPenStyle::psDash: style = PS_DASH; break;
      case TPenStyle::psDot: style = PS_DOT; break;
      case TPenStyle::psDashDot: style = PS_DASHDOT; break;
      case TPenStyle::psClear: style = PS_NULL; break;
    }
    handle_.reset(CreatePen(style, width_, ToColorRef(color_)));
  }
  return handle_.get();
}

// ---- TCanvas

TCanvas::TCanvas() {
  // A change replaces the GDI object, so it must leave the DC first.
  font_.OnChange = [this](TObject*) { Deselect(kFont); };
  brush_.OnChange = [this](TObject*) { Deselect(kBrush); };
  pen_.OnChange = [this](TObject*) { Deselect(kPen); };
}

TCanvas::TCanvas(HDC dc) : TCanvas() { dc_ = dc; }

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::Handle() {
  if (!dc_) CreateHandle();
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  Deselect(kFont | kBrush | kPen);
  dc_ = dc;
}

void TCanvas::Deselect(unsigned what) {
  if (!dc_) {
    selected_ = 0;
    return;
  }
  if ((what & kFont) && (selected_ & kFont)) SelectObject(dc_, oldFont_);
  if ((what & kBrush) && (selected_ & kBrush)) SelectObject(dc_, oldBrush_);
  if ((what & kPen) && (selected_ & kPen)) SelectObject(dc_, oldPen_);
  selected_ &= ~what;
}

void TCanvas::Require(unsigned what) {
  HDC dc = Handle();
  if (!dc) return;
  if ((what & kFont) && !(selected_ & kFont)) {
    oldFont_ = SelectObject(dc, font_.Handle());
    selected_ |= kFont;
  }
  if ((what & kBrush) && !(selected_ & kBrush)) {
    oldBrush_ = SelectObject(dc, brush_.Handle());
    selected_ |= kBrush;
  }
  if ((what & kPen) && !(selected_ & kPen)) {
    oldPen_ = SelectObject(dc, pen_.Handle());
    selected_ |= kPen;
  }
}

void TCanvas::PrepareText() {
  Require(kFont | kBrush);
  SetTextColor(dc_, ToColorRef(font_.Color()));
  if (brush_.Style() == TBrushStyle::bsClear) {
    SetBkMode(dc_, TRANSPARENT);
  } else {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ToColorRef(brush_.Color()));
  }
}

void TCanvas::FillRect(const RECT& r) {
  Require(kBrush);
  if (dc_ && brush_.Style() != TBrushStyle::bsClear) ::FillRect(dc_, &r, brush_.Handle());
}

void TCanvas::FrameRect(const RECT& r) {
  Require(kBrush);
  if (dc_) ::FrameRect(dc_, &r, brush_.Handle());
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
  Require(kBrush | kPen);
  if (dc_) ::Rectangle(dc_, l, t, r, b);
}

void TCanvas::MoveTo(int x, int y) {
  if (Handle()) MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Require(kPen);
  if (dc_) ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  PrepareText();
  if (dc_) ExtTextOutA(dc_, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
  PrepareText();
  if (!dc_) return;
  UINT options = ETO_CLIPPED;
  if (brush_.Style() != TBrushStyle::bsClear) options |= ETO_OPAQUE;
  ExtTextOutA(dc_, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

int TCanvas::DrawText(const std::string& text, RECT& r, UINT format) {
  PrepareText();
  if (!dc_) return 0;
  return ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, format);
}

SIZE TCanvas::TextExtent(const std::string& text) {
  SIZE s{0, 0};
  Require(kFont);
  if (dc_) GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
  return s;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
  if (bitmap.Empty() || !Handle()) return;
  HDC src = bitmap.Canvas().Handle();
  BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), src, 0, 0, SRCCOPY);
}

void TCanvas::StretchDraw(const RECT& d, TBitmap& bitmap) {
  if (bitmap.Empty() || !Handle()) return;
  HDC src = bitmap.Canvas().Handle();
  const int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, d.left, d.top, d.right - d.left, d.bottom - d.top, src, 0, 0, bitmap.Width(),
             bitmap.Height(), SRCCOPY);
  SetStretchBltMode(dc_, oldMode);
}

void TCanvas::CopyRect(const RECT& d, TCanvas& source, const RECT& s) {
  if (!Handle() || !source.Handle()) return;
  const int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, d.left, d.top, d.right - d.left, d.bottom - d.top, source.dc_, s.left, s.top,
             s.right - s.left, s.bottom - s.top, SRCCOPY);
  SetStretchBltMode(dc_, oldMode);
}

TColor TCanvas::Pixel(int x, int y) {
  if (!Handle()) return clNone;
  const COLORREF c = GetPixel(dc_, x, y);
  return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (Handle()) ::SetPixelV(dc_, x, y, ToColorRef(color));
}

RECT TCanvas::ClipRect() {
  RECT r{0, 0, 0, 0};
  if (Handle()) GetClipBox(dc_, &r);
  return r;
}

// ---- TBitmap

class TBitmap::BitmapCanvas : public TCanvas {
 public:
  explicit BitmapCanvas(TBitmap& owner) : owner_(owner) {}
  FRAMEWORK_CLASS(TBitmapCanvas)

 protected:
  void CreateHandle() override {
    if (owner_.Empty()) return;
    if (!owner_.memDC_) {
      owner_.memDC_.reset(CreateCompatibleDC(nullptr));
      owner_.oldBitmap_ = SelectObject(owner_.memDC_.get(), owner_.bitmap_.get());
    }
    SetHandle(owner_.memDC_.get());
  }

 private:
  TBitmap& owner_;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, bool topDown) { Create(width, height, topDown); }

TBitmap::~TBitmap() { ReleaseCanvasDC(); }

void TBitmap::ReleaseCanvasDC() {
  if (canvas_) canvas_->SetHandle(nullptr);
  if (memDC_) {
    SelectObject(memDC_.get(), oldBitmap_);
    memDC_.reset();
    oldBitmap_ = nullptr;
  }
}

void TBitmap::Create(int width, int height, bool topDown) {
  ReleaseCanvasDC();
  bitmap_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
  topDown_ = topDown;
  if (width <= 0 || height <= 0) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = topDown ? -height : height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp || !bits) throw std::runtime_error("Out of system resources");
  bitmap_.reset(bmp);
  bits_ = bits;
  width_ = width;
  height_ = height;
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_ && (bitmap_ || width <= 0 || height <= 0)) return;
  Create(width, height, topDown_);
  if (OnChange) OnChange(this);
}

void TBitmap::SetTopDown(bool value) {
  if (value == topDown_) return;
  if (Empty()) {
    topDown_ = value;
    return;
  }
  TBitmap copy(width_, height_, value);
  Bitmap32 from = View();
  Bitmap32 to = copy.View();
  for (int y = 0; y < height_; ++y) std::memcpy(to.Row(y), from.Row(y), static_cast<size_t>(width_) * 4);
  Create(width_, height_, value);
  Bitmap32 mine = View();
  for (int y = 0; y < height_; ++y) std::memcpy(mine.Row(y), to.Row(y), static_cast<size_t>(width_) * 4);
  if (OnChange) OnChange(this);
}

Bitmap32 TBitmap::View() {
  if (Empty()) return Bitmap32();
  GdiFlush();
  const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(width_) * 4;
  auto* base = static_cast<uint8_t*>(bits_);
  if (topDown_) return Bitmap32::View(base, width_, height_, stride);
  return Bitmap32::View(base + stride * (height_ - 1), width_, height_, -stride);
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<BitmapCanvas>(*this);
  return *canvas_;
}

namespace {

uint32_t ReadLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// Checks a packed DIB's header against the bytes there are, and returns the offset of its
// pixel bits from the start of the header (colour table and masks skipped).
size_t CheckDib(const uint8_t* dib, size_t size, size_t* bitsSize) {
  if (size < sizeof(BITMAPINFOHEADER)) throw std::runtime_error("Bitmap image is not valid");
  BITMAPINFOHEADER h;
  std::memcpy(&h, dib, sizeof h);
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > size) throw std::runtime_error("Bitmap image is not valid");
  const int64_t width = h.biWidth;
  const int64_t height = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
  if (width <= 0 || height <= 0 || width > 32768 || height > 32768 || h.biPlanes != 1)
    throw std::runtime_error("Bitmap image is not valid");
  const int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    throw std::runtime_error("Bitmap image is not valid");
  size_t colors = 0;
  if (bpp <= 8) colors = h.biClrUsed ? h.biClrUsed : (size_t{1} << bpp);
  if (colors > 256) throw std::runtime_error("Bitmap image is not valid");
  size_t masks = (h.biSize == sizeof(BITMAPINFOHEADER) && h.biCompression == BI_BITFIELDS) ? 12 : 0;
  const size_t offset = h.biSize + masks + colors * 4;
  if (offset > size) throw std::runtime_error("Bitmap image is not valid");
  size_t need;
  if (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS) {
    const size_t stride = static_cast<size_t>(((width * bpp + 31) / 32) * 4);
    need = stride * static_cast<size_t>(height);
  } else if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4) {
    if (h.biHeight < 0) throw std::runtime_error("Bitmap image is not valid");
    need = h.biSizeImage;
  } else {
    throw std::runtime_error("Bitmap image is not valid");
  }
  *bitsSize = need;
  return offset;
}

}  // namespace

void TBitmap::LoadFromDib(const void* data, size_t size) {
  const auto* dib = static_cast<const uint8_t*>(data);
  size_t bitsSize = 0;
  const size_t offset = CheckDib(dib, size, &bitsSize);
  if (bitsSize > size - offset) throw std::runtime_error("Bitmap image is not valid");
  // Copy the header and colour table so that it is aligned for GDI.
  std::vector<uint8_t> info(dib, dib + offset);
  const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
  const int height = h->biHeight < 0 ? -h->biHeight : h->biHeight;
  Create(h->biWidth, height, topDown_);
  const int lines = SetDIBits(WindowDC(nullptr).get(), bitmap_.get(), 0, static_cast<UINT>(height), dib + offset,
                              reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
  if (lines == 0) throw std::runtime_error("Bitmap image is not valid");
  if (OnChange) OnChange(this);
}

void TBitmap::LoadFromBmpBytes(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  if (size < 14 + sizeof(BITMAPINFOHEADER) || p[0] != 'B' || p[1] != 'M')
    throw std::runtime_error("Bitmap image is not valid");
  const uint32_t offBits = ReadLE32(p + 10);
  const uint8_t* dib = p + 14;
  const size_t dibSize = size - 14;
  size_t bitsSize = 0;
  const size_t headerEnd = CheckDib(dib, dibSize, &bitsSize);
  // The file header says where the bits start; it may leave a gap after the colour table.
  if (offBits < 14 + headerEnd || offBits > size || bitsSize > size - offBits)
    throw std::runtime_error("Bitmap image is not valid");
  std::vector<uint8_t> packed(dib, dib + headerEnd);
  packed.insert(packed.end(), p + offBits, p + offBits + bitsSize);
  LoadFromDib(packed.data(), packed.size());
}

void TBitmap::LoadFromFile(const std::string& path) {
  const auto bytes = TryReadFile(path);
  if (!bytes) throw std::runtime_error("Cannot open file \"" + path + "\"");
  LoadFromBmpBytes(bytes->data(), bytes->size());
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const char* name, const char* type) {
  HRSRC res = FindResourceA(instance, name, type);
  if (!res) throw std::runtime_error(std::string("Resource ") + (IS_INTRESOURCE(name) ? "#" : name) + " not found");
  HGLOBAL global = LoadResource(instance, res);
  const void* data = global ? LockResource(global) : nullptr;
  const DWORD size = SizeofResource(instance, res);
  if (!data) throw std::runtime_error("Bitmap image is not valid");
  const auto* p = static_cast<const uint8_t*>(data);
  if (size >= 2 && p[0] == 'B' && p[1] == 'M')
    LoadFromBmpBytes(data, size);
  else
    LoadFromDib(data, size);
}

void TBitmap::Assign(const TBitmap& o) {
  if (&o == this) return;
  Create(o.width_, o.height_, o.topDown_);
  if (!Empty()) {
    const std::ptrdiff_t bytes = static_cast<std::ptrdiff_t>(width_) * 4 * height_;
    GdiFlush();
    std::memcpy(bits_, o.bits_, static_cast<size_t>(bytes));
  }
  if (OnChange) OnChange(this);
}

// ---- TIcon

void TIcon::SetHandle(HICON icon, bool owned) {
  owned_.reset(owned ? icon : nullptr);
  shared_ = owned ? nullptr : icon;
  if (OnChange) OnChange(this);
}

bool TIcon::LoadFromResourceName(HINSTANCE instance, const char* name, int size) {
  HICON icon = static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, size, size, size ? 0 : LR_DEFAULTSIZE));
  if (!icon) return false;
  SetHandle(icon, true);
  return true;
}
