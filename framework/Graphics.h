// Colours, fonts, brushes, pens, canvases, 32-bit bitmaps and icons.
#pragma once

#include "framework/Classes.h"
#include "framework/Handles.h"
#include "image/Bitmap32.h"
#include "image/Colors.h"

#include <cstddef>
#include <memory>
#include <cstdint>
#include <string>

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index)); }

constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR), clBackground = SystemColor(COLOR_BACKGROUND),
                 clActiveCaption = SystemColor(COLOR_ACTIVECAPTION),
                 clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION), clMenu = SystemColor(COLOR_MENU),
                 clWindow = SystemColor(COLOR_WINDOW), clWindowFrame = SystemColor(COLOR_WINDOWFRAME),
                 clMenuText = SystemColor(COLOR_MENUTEXT), clWindowText = SystemColor(COLOR_WINDOWTEXT),
                 clCaptionText = SystemColor(COLOR_CAPTIONTEXT), clActiveBorder = SystemColor(COLOR_ACTIVEBORDER),
                 clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER), clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE),
                 clHighlight = SystemColor(COLOR_HIGHLIGHT), clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT),
                 clBtnFace = SystemColor(COLOR_BTNFACE), clBtnShadow = SystemColor(COLOR_BTNSHADOW),
                 clGrayText = SystemColor(COLOR_GRAYTEXT), clBtnText = SystemColor(COLOR_BTNTEXT),
                 clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT), cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW),
                 cl3DLight = SystemColor(COLOR_3DLIGHT), clInfoText = SystemColor(COLOR_INFOTEXT),
                 clInfoBk = SystemColor(COLOR_INFOBK);

// A colour as plain 0x00BBGGRR: system colours are looked up with GetSysColor.
TColor ColorToRGB(TColor color);
inline COLORREF ToColorRef(TColor color) { return static_cast<COLORREF>(ColorToRGB(color)); }

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// Pixels per inch of the screen (read once).
int ScreenPixelsPerInch();

class TFont : public TObject {
 public:
  TFont();
  FRAMEWORK_CLASS(TFont)

  const std::string& Name() const { return name_; }
  void SetName(const std::string& v);
  int Height() const { return height_; }   // negative: character height in pixels
  void SetHeight(int v);
  int Size() const;                        // points, from Height and the screen resolution
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE v);

  // Copies every attribute and reports one change.
  void Assign(const TFont& other);
  bool SameAs(const TFont& other) const;

  // The font object, created on first use; a change of any attribute replaces it.
  HFONT Handle();

  // Called after every change (a colour change too).
  TNotifyEvent OnChange;

 private:
  void Changed(bool handleStale);

  std::string name_ = "Tahoma";
  int height_ = -11;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  BYTE charset_ = DEFAULT_CHARSET;
  UniqueFont handle_;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TObject {
 public:
  FRAMEWORK_CLASS(TBrush)
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle v);
  void Assign(const TBrush& other);
  HBRUSH Handle();
  TNotifyEvent OnChange;

 private:
  void Changed();
  TColor color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
  UniqueBrush handle_;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psClear };

class TPen : public TObject {
 public:
  FRAMEWORK_CLASS(TPen)
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle v);
  void Assign(const TPen& other);
  HPEN Handle();
  TNotifyEvent OnChange;

 private:
  void Changed();
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
  UniquePen handle_;
};

class TBitmap;

// Drawing on a device context with a font, a brush and a pen. The canvas selects them
// into the DC when an operation needs them and puts the DC's own objects back when it
// lets go of the DC.
class TCanvas : public TObject {
 public:
  TCanvas();
  explicit TCanvas(HDC dc);
  ~TCanvas() override;
  FRAMEWORK_CLASS(TCanvas)

  HDC Handle();                 // the DC; a bitmap's canvas creates its memory DC on demand
  void SetHandle(HDC dc);       // attaches a DC (not owned); nullptr lets go of the present one
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont& Font() { return font_; }
  TBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }

  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::string& text);
  // Text at x, y clipped to r; an opaque brush fills r first.
  void TextRect(const RECT& r, int x, int y, const std::string& text);
  // DrawTextA with the canvas font; returns the text height. DT_CALCRECT updates r.
  int DrawText(const std::string& text, RECT& r, UINT format);
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, TBitmap& bitmap);                   // unscaled copy
  void StretchDraw(const RECT& dest, TBitmap& bitmap);
  void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);
  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);
  RECT ClipRect();

 protected:
  virtual void CreateHandle() {}   // a bitmap canvas makes its DC here

 private:
  friend class TBitmap;
  enum : unsigned { kFont = 1, kBrush = 2, kPen = 4 };
  void Require(unsigned what);
  void Deselect(unsigned what);
  void PrepareText();

  HDC dc_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  unsigned selected_ = 0;
  HGDIOBJ oldFont_ = nullptr, oldBrush_ = nullptr, oldPen_ = nullptr;
};

// Attaches a canvas to a DC for one paint, with the painting control's font and a solid
// brush of its colour, and lets go of the DC when the paint ends, thrown out of or not.
class TCanvasPaintScope {
 public:
  TCanvasPaintScope(TCanvas& canvas, HDC dc, const TFont& font, TColor color) : canvas_(canvas) {
    canvas_.SetHandle(dc);
    canvas_.Font().Assign(font);
    canvas_.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas_.Brush().SetColor(color);
  }
  ~TCanvasPaintScope() { canvas_.SetHandle(nullptr); }
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

 private:
  TCanvas& canvas_;
};

// A 32-bit device-independent bitmap (DIB section), bottom-up unless made top-down, with a
// Bitmap32 view of its pixels and a canvas on a memory DC.
class TBitmap : public TObject {
 public:
  TBitmap();
  TBitmap(int width, int height, bool topDown = false);
  ~TBitmap() override;
  FRAMEWORK_CLASS(TBitmap)

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  bool TopDown() const { return topDown_; }
  // Makes a new bitmap of that size (pixels all zero); 0 or less gives an empty bitmap.
  void SetSize(int width, int height);
  void SetWidth(int w) { SetSize(w, height_); }
  void SetHeight(int h) { SetSize(width_, h); }
  // Changes the row order, keeping the picture.
  void SetTopDown(bool value);

  HBITMAP Handle() const { return bitmap_.get(); }
  // The pixels (after GdiFlush); valid until the bitmap is resized or reloaded.
  Bitmap32 View();
  TCanvas& Canvas();

  // A complete .bmp file image ("BM" header). Throws std::runtime_error for malformed data.
  void LoadFromBmpBytes(const void* data, size_t size);
  // A packed DIB (BITMAPINFOHEADER, colour table, bits), as stored in RT_BITMAP resources.
  void LoadFromDib(const void* data, size_t size);
  void LoadFromFile(const std::string& path);
  // An RT_BITMAP resource, or an RT_RCDATA resource holding a .bmp file image.
  void LoadFromResourceName(HINSTANCE instance, const char* name, const char* type = MAKEINTRESOURCEA(2));
  void Assign(const TBitmap& other);

  TNotifyEvent OnChange;

 private:
  class BitmapCanvas;
  void Create(int width, int height, bool topDown);
  void ReleaseCanvasDC();

  int width_ = 0;
  int height_ = 0;
  bool topDown_ = false;
  void* bits_ = nullptr;
  UniqueBitmapHandle bitmap_;
  UniqueDC memDC_;
  HGDIOBJ oldBitmap_ = nullptr;
  std::unique_ptr<BitmapCanvas> canvas_;
};

// An icon handle that the object owns (shared system icons are not destroyed).
class TIcon : public TObject {
 public:
  FRAMEWORK_CLASS(TIcon)
  HICON Handle() const { return owned_ ? owned_.get() : shared_; }
  bool Empty() const { return Handle() == nullptr; }
  void SetHandle(HICON icon, bool owned = true);
  // Loads an icon resource of the given size (0 = system default size).
  bool LoadFromResourceName(HINSTANCE instance, const char* name, int size = 0);
  TNotifyEvent OnChange;

 private:
  UniqueIcon owned_;
  HICON shared_ = nullptr;
};

inline RECT Rect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }
inline RECT Bounds(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }
