#include "draw/gdi_win32.h"

#include <algorithm>
#include <cstring>

#include "draw/dpi.h"
#include "draw/win32_util_win32.h"

namespace vm::ui::win32 {

// ---- fonts ----

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::Get(const Font& font, int dpi) {
  const int height = ToDevice(font.height, dpi);
  Key key{font.name, height, font.bold, font.italic, font.underline, font.strikeOut, font.charset,
          static_cast<int>(font.pitch)};
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic;
  lf.lfUnderline = font.underline;
  lf.lfStrikeOut = font.strikeOut;
  lf.lfCharSet = font.charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = font.pitch == FontPitch::Fixed      ? FIXED_PITCH
                        : font.pitch == FontPitch::Variable ? VARIABLE_PITCH
                                                            : DEFAULT_PITCH;
  const std::wstring face = CutUtf16(Widen(font.name), LF_FACESIZE - 1);
  std::copy(face.begin(), face.end(), lf.lfFaceName);
  HFONT created = CreateFontIndirectW(&lf);
  if (!created) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts_[key] = created;
  return created;
}

// ---- bitmaps and icons ----

HBITMAP CreateDibFrom(const Bitmap& bitmap, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = std::max(bitmap.Width(), 1);
  info.bmiHeader.biHeight = -std::max(bitmap.Height(), 1);  // top-down, as the portable rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!dib || !pixels) return nullptr;
  if (!bitmap.IsEmpty())
    std::memcpy(pixels, bitmap.Pixels().data(), bitmap.Pixels().size() * sizeof(Pixel));
  if (bits) *bits = pixels;
  return dib;
}

HICON CreateIconFrom(const Icon& icon) {
  if (icon.IsEmpty()) return nullptr;
  const Bitmap& image = icon.Image();
  void* bits = nullptr;
  HBITMAP color = CreateDibFrom(image, &bits);
  if (!color) return nullptr;
  // The mask says "transparent" where alpha is 0; 32-bit colour carries the alpha itself.
  const int stride = ((image.Width() + 15) / 16) * 2;
  std::vector<BYTE> maskBits(static_cast<std::size_t>(stride) * static_cast<std::size_t>(image.Height()), 0);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (AlphaOf(image.PixelAt(x, y)) == 0)
        maskBits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
  HBITMAP mask = CreateBitmap(image.Width(), image.Height(), 1, 1, maskBits.data());
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = color;
  info.hbmMask = mask;
  HICON handle = mask ? CreateIconIndirect(&info) : nullptr;
  DeleteObject(color);
  if (mask) DeleteObject(mask);
  return handle;
}

Icon IconFromHandle(HICON icon, int size) {
  if (!icon || size <= 0) return Icon();
  Bitmap image(size, size, 0);
  void* bits = nullptr;
  HBITMAP dib = CreateDibFrom(image, &bits);
  if (!dib) return Icon();
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_IMAGE);
  GdiFlush();
  std::memcpy(image.MutablePixels().data(), bits, image.Pixels().size() * sizeof(Pixel));
  const bool hasAlpha = std::any_of(image.Pixels().begin(), image.Pixels().end(),
                                    [](Pixel p) { return AlphaOf(p) != 0; });
  if (!hasAlpha) {
    // An icon without alpha: its mask tells the see-through pixels.
    std::vector<Pixel> colors = image.Pixels();
    std::memset(bits, 0, colors.size() * sizeof(Pixel));
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_MASK);
    GdiFlush();
    const Pixel* mask = static_cast<const Pixel*>(bits);
    for (std::size_t i = 0; i < colors.size(); ++i)
      image.MutablePixels()[i] = (mask[i] & 0x00FFFFFFu) ? (colors[i] & 0x00FFFFFFu) : (colors[i] | 0xFF000000u);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
  return Icon(std::move(image));
}

// ---- GdiCanvas ----

GdiCanvas::GdiCanvas(HDC dc, int dpi, FontCache& fonts)
    : dc_(dc), dpi_(dpi > 0 ? dpi : kDesignDpi), fonts_(fonts), savedDc_(SaveDC(dc)) {
  state_.textColor = state_.font.color;
}

GdiCanvas::~GdiCanvas() {
  if (savedDc_) RestoreDC(dc_, savedDc_);
}

RECT GdiCanvas::Device(const Rect& r) const { return ToDeviceRect(r.Offset(state_.origin), dpi_); }

POINT GdiCanvas::Device(Point p) const {
  return {ToDevice(p.x + state_.origin.x, dpi_), ToDevice(p.y + state_.origin.y, dpi_)};
}

int GdiCanvas::Thickness() const { return std::max(1, ToDevice(1, dpi_)); }

void GdiCanvas::SetFont(const Font& font) {
  state_.font = font;
  state_.textColor = font.color;
}

void GdiCanvas::Save() { saved_.emplace_back(state_, SaveDC(dc_)); }

void GdiCanvas::Restore() {
  if (saved_.empty()) return;
  state_ = saved_.back().first;
  if (saved_.back().second) RestoreDC(dc_, saved_.back().second);
  saved_.pop_back();
}

void GdiCanvas::ClipTo(const Rect& r) {
  const RECT d = Device(r);
  IntersectClipRect(dc_, d.left, d.top, d.right, d.bottom);
}

void GdiCanvas::FillRect(const Rect& r, Color color) {
  if (color == clNone || r.IsEmpty()) return;
  const RECT d = Device(r);
  HBRUSH brush = CreateSolidBrush(ToColorRef(color));
  ::FillRect(dc_, &d, brush);
  DeleteObject(brush);
}

void GdiCanvas::FrameRect(const Rect& r, Color color) {
  if (color == clNone || r.IsEmpty()) return;
  const RECT d = Device(r);
  const int t = Thickness();
  HBRUSH brush = CreateSolidBrush(ToColorRef(color));
  const RECT edges[] = {{d.left, d.top, d.right, d.top + t},
                        {d.left, d.bottom - t, d.right, d.bottom},
                        {d.left, d.top, d.left + t, d.bottom},
                        {d.right - t, d.top, d.right, d.bottom}};
  for (const RECT& e : edges) ::FillRect(dc_, &e, brush);
  DeleteObject(brush);
}

void GdiCanvas::Line(Point from, Point to, Color color) {
  if (color == clNone) return;
  HPEN pen = CreatePen(PS_SOLID, Thickness(), ToColorRef(color));
  HGDIOBJ old = SelectObject(dc_, pen);
  const POINT a = Device(from), b = Device(to);
  MoveToEx(dc_, a.x, a.y, nullptr);
  LineTo(dc_, b.x, b.y);
  SelectObject(dc_, old);
  DeleteObject(pen);
}

Color GdiCanvas::GetPixel(Point p) {
  const POINT d = Device(p);
  const COLORREF c = ::GetPixel(dc_, d.x, d.y);
  return c == CLR_INVALID ? clBlack : static_cast<Color>(c);
}

void GdiCanvas::SetPixel(Point p, Color color) {
  // One design pixel covers a block of device pixels.
  FillRect({p.x, p.y, p.x + 1, p.y + 1}, color);
}

void GdiCanvas::TextOut(Point at, std::string_view text) {
  const std::wstring wide = Widen(text);
  HGDIOBJ old = SelectObject(dc_, fonts_.Get(state_.font, dpi_));
  ::SetTextColor(dc_, ToColorRef(state_.textColor));
  SetBkMode(dc_, state_.transparentText ? TRANSPARENT : OPAQUE);
  SetBkColor(dc_, ToColorRef(state_.brush));
  const POINT d = Device(at);
  ::TextOutW(dc_, d.x, d.y, wide.c_str(), static_cast<int>(wide.size()));
  SelectObject(dc_, old);
}

Size GdiCanvas::TextExtent(std::string_view text) {
  const std::wstring wide = Widen(text);
  HGDIOBJ old = SelectObject(dc_, fonts_.Get(state_.font, dpi_));
  SIZE s{};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &s);
  if (wide.empty()) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    s.cy = tm.tmHeight;
  }
  SelectObject(dc_, old);
  return {ToDesignCeil(s.cx, dpi_), ToDesignCeil(s.cy, dpi_)};
}

void GdiCanvas::Blit(const Rect& dest, const Bitmap& bitmap, const Rect& source, BlendMode mode,
                     Color key) {
  // The pixels are composed here by the same code as in memory, at device size, and put on the
  // device context 1:1: the two canvases draw the same pixels, and copies whose source reaches
  // past the bitmap leave the rest of the destination alone (a stretching blit would spread
  // the part that exists over the whole destination).
  const RECT d = Device(dest);
  const Rect device{d.left, d.top, d.right, d.bottom};
  // A design pixel may cover several device pixels: the source rectangle maps onto the device
  // rectangle, so the scaling to the DPI is part of the same mapping.
  const Rect covered = CoveredPart(device, source, {bitmap.Width(), bitmap.Height()});
  if (covered.IsEmpty()) return;
  Bitmap composed(covered.Width(), covered.Height(), 0xFF000000u);
  void* bits = nullptr;
  HBITMAP dib = CreateDibFrom(composed, &bits);
  if (!dib) return;
  HDC mem = CreateCompatibleDC(dc_);
  HGDIOBJ old = SelectObject(mem, dib);
  const std::size_t bytes = composed.Pixels().size() * sizeof(Pixel);
  if (mode != BlendMode::Opaque) {
    // Keyed and blended pixels need what is there already.
    BitBlt(mem, 0, 0, covered.Width(), covered.Height(), dc_, covered.left, covered.top, SRCCOPY);
    GdiFlush();
    std::memcpy(composed.MutablePixels().data(), bits, bytes);
    for (Pixel& p : composed.MutablePixels()) p |= 0xFF000000u;
  }
  BlendBitmap(composed, device.Offset(-covered.left, -covered.top), {0, 0, covered.Width(), covered.Height()},
              bitmap, source, mode, static_cast<Color>(ToColorRef(key)));
  std::memcpy(bits, composed.Pixels().data(), bytes);
  BitBlt(dc_, covered.left, covered.top, covered.Width(), covered.Height(), mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
}

void GdiCanvas::DrawBitmap(Point at, const Bitmap& bitmap) {
  Blit(Rect::FromXYWH(at.x, at.y, bitmap.Width(), bitmap.Height()), bitmap,
       {0, 0, bitmap.Width(), bitmap.Height()}, BlendMode::Opaque, 0);
}

void GdiCanvas::StretchBitmap(const Rect& dest, const Bitmap& bitmap) {
  Blit(dest, bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, BlendMode::Opaque, 0);
}

void GdiCanvas::CopyRect(const Rect& dest, const Bitmap& source, const Rect& sourceRect) {
  Blit(dest, source, sourceRect, BlendMode::Opaque, 0);
}

void GdiCanvas::DrawBitmapTransparent(const Rect& dest, const Bitmap& bitmap, Color key) {
  Blit(dest, bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, BlendMode::Keyed, key);
}

void GdiCanvas::DrawBitmapAlpha(const Rect& dest, const Bitmap& bitmap) {
  Blit(dest, bitmap, {0, 0, bitmap.Width(), bitmap.Height()}, BlendMode::Alpha, 0);
}

// ---- GdiTextRenderer ----

Size GdiTextRenderer::Measure(const Font& font, std::string_view text) {
  const int dpi = SystemDpi();
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return FixedTextRenderer().Measure(font, text);
  Size size;
  {
    GdiCanvas canvas(dc, dpi, fonts_);
    canvas.SetFont(font);
    size = canvas.TextExtent(text);
  }
  DeleteDC(dc);
  return size;
}

void GdiTextRenderer::DrawText(Bitmap& target, Point at, std::string_view text, const Font& font,
                               Color textColor, std::optional<Color> background, const Rect& clip) {
  const Rect area = clip.Intersect({0, 0, target.Width(), target.Height()});
  if (area.IsEmpty() || text.empty()) return;
  void* bits = nullptr;
  HBITMAP dib = CreateDibFrom(target, &bits);
  if (!dib) return;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, dib);
  HGDIOBJ oldFont = SelectObject(dc, fonts_.Get(font, kDesignDpi));  // bitmap pixels are design pixels
  const std::wstring wide = Widen(text);
  ::SetTextColor(dc, ToColorRef(textColor));
  SetBkMode(dc, background ? OPAQUE : TRANSPARENT);
  if (background) SetBkColor(dc, ToColorRef(*background));
  const RECT r{area.left, area.top, area.right, area.bottom};
  // An opaque background fills the text's cell (the background mode), as text on a window does;
  // ETO_OPAQUE would fill the whole clip rectangle.
  ExtTextOutW(dc, at.x, at.y, ETO_CLIPPED, &r, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
  GdiFlush();
  // GDI leaves the alpha byte of what it drew at 0: what changed becomes opaque.
  const Pixel* drawn = static_cast<const Pixel*>(bits);
  std::vector<Pixel>& pixels = target.MutablePixels();
  for (std::size_t i = 0; i < pixels.size(); ++i)
    if ((drawn[i] & 0x00FFFFFFu) != (pixels[i] & 0x00FFFFFFu)) pixels[i] = drawn[i] | 0xFF000000u;
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  DeleteObject(dib);
}

}  // namespace vm::ui::win32
