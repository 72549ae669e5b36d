#include "gdi_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "base/log.h"
#include "wide.h"

namespace tirelmo {

namespace {

COLORREF colorOf(Rgb c) { return RGB(c.r, c.g, c.b); }

int unitsOf(u16v text) {
  return static_cast<int>(std::min<std::size_t>(text.size(), std::numeric_limits<int>::max()));
}

const wchar_t* wideOf(u16v text) { return reinterpret_cast<const wchar_t*>(text.data()); }

// A 32-bit top-down DIB section; bits points at its pixels.
HBITMAP createTopDownDib(HDC compatible, int width, int height, std::uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(compatible, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  *bits = bitmap ? static_cast<std::uint32_t*>(pixels) : nullptr;
  return bitmap;
}

// A solid brush for the length of one call.
// A colour as one key for the caches below.
std::uint32_t packed(Rgb c) { return (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b; }

class SolidBrush {
 public:
  explicit SolidBrush(Rgb c) : brush_(CreateSolidBrush(colorOf(c))) {}
  HBRUSH get() const { return static_cast<HBRUSH>(brush_.get()); }

 private:
  GdiObject brush_;
};

// Selects an object into a DC for one scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~Selected() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace

// ---- MemoryDc ----------------------------------------------------------------------------

MemoryDc::MemoryDc(HDC dc, HBITMAP bitmap) : dc_(dc), previous_(SelectObject(dc, bitmap)) {}

MemoryDc::~MemoryDc() {
  if (!dc_) return;
  if (previous_) SelectObject(dc_, previous_);
  DeleteDC(dc_);
}

// ---- GdiGraphics -------------------------------------------------------------------------

GdiGraphics::GdiGraphics(HINSTANCE module)
    : module_(module), screenCompatible_(CreateCompatibleDC(nullptr)) {
  if (!screenCompatible_) logLastError(u"CreateCompatibleDC");
}

GdiGraphics::~GdiGraphics() {
  stamps_.clear();
  bitmaps_.clear();
  fonts_.clear();
  pens_.clear();
  if (screenCompatible_) DeleteDC(screenCompatible_);
}

std::unique_ptr<Surface> GdiGraphics::createSurface(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  auto surface = std::make_unique<GdiSurface>(*this, screenCompatible_, width, height);
  if (!surface->valid()) {
    logLine(u"createSurface() %dx%d failed", width, height);
    return nullptr;
  }
  return surface;
}

bool GdiGraphics::registerBitmap(BitmapId id, int width, int height, const std::uint32_t* pixels) {
  if (width <= 0 || height <= 0 || !pixels) return false;
  std::uint32_t* bits = nullptr;
  GdiObject bitmap(createTopDownDib(screenCompatible_, width, height, &bits));
  HDC dc = bitmap ? CreateCompatibleDC(screenCompatible_) : nullptr;
  if (!dc) {
    logLastError(u"registerBitmap");
    return false;
  }
  std::memcpy(bits, pixels, static_cast<std::size_t>(width) * height * sizeof(std::uint32_t));
  CachedBitmap entry;
  entry.dc = std::make_unique<MemoryDc>(dc, static_cast<HBITMAP>(bitmap.get()));
  entry.bitmap = std::move(bitmap);
  entry.width = width;
  entry.height = height;
  bitmaps_.erase(id);
  bitmaps_.emplace(id, std::move(entry));
  missing_.erase(id);
  return true;
}

void GdiGraphics::releaseBitmap(BitmapId id) { bitmaps_.erase(id); }

// A run-length compressed bitmap resource (the papers, the header strip) unpacked into a
// DIB section of its own depth: LoadImageW makes such a resource a device bitmap at the
// screen's depth, four bytes a pixel instead of one (7 MB instead of 1.8 for a paper).
// Null when the resource is not compressed or cannot be unpacked. (Wine's LoadImageW makes
// DIB sections of them itself; Windows' refuses.)
HBITMAP loadCompressedBitmap(HINSTANCE module, HDC compatible, BitmapId id) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));  // RT_BITMAP
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* info = loaded ? static_cast<const BITMAPINFO*>(LockResource(loaded)) : nullptr;
  const DWORD size = found ? SizeofResource(module, found) : 0;
  if (!info || size < sizeof(BITMAPINFOHEADER) || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return nullptr;
  const BITMAPINFOHEADER& header = info->bmiHeader;
  const bool rle = (header.biCompression == BI_RLE8 && header.biBitCount == 8) ||
                   (header.biCompression == BI_RLE4 && header.biBitCount == 4);
  if (!rle || header.biWidth <= 0 || header.biHeight == 0) return nullptr;
  const DWORD colours = header.biClrUsed ? header.biClrUsed : (1u << header.biBitCount);
  const DWORD tableEnd = header.biSize + colours * sizeof(RGBQUAD);
  if (colours > 256u || tableEnd >= size) return nullptr;
  // The same header and colour table, uncompressed.
  std::vector<std::uint8_t> plain(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
  auto* target = reinterpret_cast<BITMAPINFO*>(plain.data());
  target->bmiHeader = header;
  target->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  target->bmiHeader.biCompression = BI_RGB;
  target->bmiHeader.biSizeImage = 0;
  target->bmiHeader.biClrUsed = colours;
  std::memcpy(target->bmiColors, reinterpret_cast<const std::uint8_t*>(info) + header.biSize,
              colours * sizeof(RGBQUAD));
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(compatible, target, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) return nullptr;
  const int lines = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  if (SetDIBits(compatible, dib, 0, static_cast<UINT>(lines), reinterpret_cast<const std::uint8_t*>(info) + tableEnd,
                info, DIB_RGB_COLORS) == 0) {
    DeleteObject(dib);
    return nullptr;
  }
  return dib;
}

HDC GdiGraphics::bitmapDc(BitmapId id) {
  if (auto it = bitmaps_.find(id); it != bitmaps_.end()) return it->second.dc->get();
  if (missing_.count(id)) return nullptr;
  GdiObject bitmap(LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) bitmap.reset(loadCompressedBitmap(module_, screenCompatible_, id));
  // Whatever else cannot become a DIB section: a device bitmap draws the same.
  if (!bitmap) bitmap.reset(LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  HDC dc = bitmap ? CreateCompatibleDC(screenCompatible_) : nullptr;
  if (!dc) {
    // Logged once: drawing goes on without the picture.
    logLine(u"LoadImageW() bitmap %d not loaded", id);
    logLastError(u"LoadImageW");
    missing_[id] = true;
    return nullptr;
  }
  BITMAP info{};
  GetObjectW(bitmap.get(), sizeof(info), &info);
  CachedBitmap entry;
  entry.dc = std::make_unique<MemoryDc>(dc, static_cast<HBITMAP>(bitmap.get()));
  entry.bitmap = std::move(bitmap);
  entry.width = info.bmWidth;
  entry.height = info.bmHeight;
  HDC result = entry.dc->get();
  bitmaps_.emplace(id, std::move(entry));
  return result;
}

const GdiGraphics::PackedBitmap& GdiGraphics::packedBitmap(BitmapId id) {
  if (auto it = packed_.find(id); it != packed_.end()) return it->second;
  PackedBitmap packed;
  HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));  // RT_BITMAP
  HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
  const auto* info = loaded ? static_cast<const BITMAPINFO*>(LockResource(loaded)) : nullptr;
  const DWORD size = found ? SizeofResource(module_, found) : 0;
  if (info && size >= sizeof(BITMAPINFOHEADER) && info->bmiHeader.biSize == sizeof(BITMAPINFOHEADER)) {
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const int bits = h.biBitCount;
    const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
    const std::uint64_t colours = h.biClrUsed ? h.biClrUsed : (bits <= 8 ? (1u << bits) : 0);
    const std::uint64_t rows = h.biHeight < 0 ? -static_cast<std::int64_t>(h.biHeight) : h.biHeight;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(h.biWidth) * bits + 31) / 32) * 4;
    const std::uint64_t tableEnd = h.biSize + colours * sizeof(RGBQUAD);
    if (h.biCompression == BI_RGB && known && h.biPlanes == 1 && h.biWidth > 0 && rows > 0 &&
        colours <= 256 && tableEnd + stride * rows <= size) {
      packed.info = info;
      packed.bits = reinterpret_cast<const std::uint8_t*>(info) + tableEnd;
      packed.width = h.biWidth;
      packed.height = static_cast<int>(rows);
      packed.bottomUp = h.biHeight > 0;
    }
  }
  return packed_.emplace(id, packed).first->second;
}

bool GdiGraphics::blit(HDC target, int dx, int dy, int w, int h, BitmapId id, int sx, int sy, DWORD rop) {
  // A bitmap put under the id (tests, generated pictures) or already loaded for a dialog.
  HDC source = nullptr;
  if (auto it = bitmaps_.find(id); it != bitmaps_.end()) source = it->second.dc->get();
  const PackedBitmap* packed = source ? nullptr : &packedBitmap(id);
  if (packed && !packed->info) {
    source = bitmapDc(id);
    if (!source) return false;
  }
  if (!target || w <= 0 || h <= 0) return true;
  if (source) {
    BitBlt(target, dx, dy, w, h, source, sx, sy, rop);
    return true;
  }
  // Only the part inside the bitmap is copied, as BitBlt from a bitmap would.
  const int left = std::max(sx, 0), top = std::max(sy, 0);
  const int right = std::min(sx + w, packed->width), bottom = std::min(sy + h, packed->height);
  if (right <= left || bottom <= top) return true;
  // A bottom-up bitmap counts its source rows from its last row.
  const int fromRow = packed->bottomUp ? packed->height - bottom : top;
  StretchDIBits(target, dx + left - sx, dy + top - sy, right - left, bottom - top, left, fromRow, right - left,
                bottom - top, packed->bits, packed->info, DIB_RGB_COLORS, rop);
  return true;
}

HFONT GdiGraphics::fontFor(const FontSpec& wanted) {
  const auto key = std::make_tuple(u16v(wanted.face), wanted.height, wanted.bold, wanted.strikeOut, wanted.angleTenths);
  if (auto it = fonts_.find(key); it != fonts_.end()) return static_cast<HFONT>(it->second.get());
  // A face name longer than GDI's limit would be refused as a whole.
  std::wstring face = Wstr(u16v(wanted.face).substr(0, LF_FACESIZE - 1));
  // A positive height asks for the cell height, which is what the core's sizes mean.
  HFONT font = CreateFontW(wanted.height, 0, wanted.angleTenths, wanted.angleTenths, wanted.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                           wanted.strikeOut ? TRUE : FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           face.c_str());
  if (!font) {
    logLastError(u"CreateFontW");
    return nullptr;
  }
  fonts_.emplace(std::make_tuple(wanted.face, wanted.height, wanted.bold, wanted.strikeOut, wanted.angleTenths),
                 GdiObject(font));
  return font;
}

const GdiGraphics::EllipseStamp* GdiGraphics::ellipseStamp(int width, int height, Rgb fill, Rgb outline,
                                                          int penWidth) {
  const auto key = std::make_tuple(width, height, packed(fill), packed(outline), penWidth);
  if (auto it = stamps_.find(key); it != stamps_.end()) return it->second.colours ? &it->second : nullptr;
  EllipseStamp& stamp = stamps_[key];  // stays empty when GDI refuses: no second attempt
  const int margin = penWidth;
  const int w = width + 2 * margin;
  const int h = height + 2 * margin;
  // The ellipse has two colours at most: an 8-bit picture with a three-colour table keeps
  // them exact at a quarter of the memory of a 32-bit one.
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD table[3];
  } info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = w;
  info.header.biHeight = -h;
  info.header.biPlanes = 1;
  info.header.biBitCount = 8;
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = 3;
  info.table[1] = RGBQUAD{fill.b, fill.g, fill.r, 0};
  info.table[2] = RGBQUAD{outline.b, outline.g, outline.r, 0};
  void* bits = nullptr;
  HBITMAP colours = CreateDIBSection(screenCompatible_, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HDC coloursDc = CreateCompatibleDC(screenCompatible_);
  HDC maskDc = CreateCompatibleDC(screenCompatible_);
  if (!colours || !mask || !coloursDc || !maskDc) {
    logLastError(u"Ellipse picture");
    if (colours) DeleteObject(colours);
    if (mask) DeleteObject(mask);
    if (coloursDc) DeleteDC(coloursDc);
    if (maskDc) DeleteDC(maskDc);
    return nullptr;
  }
  stamp.coloursBitmap.reset(colours);
  stamp.colours = std::make_unique<MemoryDc>(coloursDc, colours);
  stamp.maskBitmap.reset(mask);
  stamp.mask = std::make_unique<MemoryDc>(maskDc, mask);
  stamp.margin = margin;
  const RECT all{0, 0, w, h};
  FillRect(coloursDc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  FillRect(maskDc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  {
    SolidBrush brush(fill);
    Selected b(coloursDc, brush.get());
    Selected p(coloursDc, penFor(outline, penWidth));
    Ellipse(coloursDc, margin, margin, margin + width, margin + height);
  }
  {
    Selected b(maskDc, GetStockObject(BLACK_BRUSH));
    Selected p(maskDc, penFor(rgb(0, 0, 0), penWidth));
    Ellipse(maskDc, margin, margin, margin + width, margin + height);
  }
  return &stamp;
}

HPEN GdiGraphics::penFor(Rgb color, int width) {
  const auto key = std::make_tuple(packed(color), width);
  if (auto it = pens_.find(key); it != pens_.end()) return static_cast<HPEN>(it->second.get());
  // A width below 0 asks for the 1-pixel dotted pen.
  HPEN pen = width < 0 ? CreatePen(PS_DOT, 1, colorOf(color)) : CreatePen(PS_SOLID, std::max(1, width), colorOf(color));
  if (!pen) {
    logLastError(u"CreatePen");
    return nullptr;
  }
  pens_.emplace(key, GdiObject(pen));
  return pen;
}

// ---- GdiSurface --------------------------------------------------------------------------

GdiSurface::GdiSurface(GdiGraphics& graphics, HDC compatible, int width, int height)
    : graphics_(graphics), width_(width), height_(height) {
  std::uint32_t* bits = nullptr;
  bitmap_.reset(createTopDownDib(compatible, width, height, &bits));
  if (!bitmap_) {
    logLastError(u"CreateDIBSection");
    return;
  }
  HDC dc = CreateCompatibleDC(compatible);
  if (!dc) {
    logLastError(u"CreateCompatibleDC");
    bitmap_.reset();
    return;
  }
  dc_ = std::make_unique<MemoryDc>(dc, static_cast<HBITMAP>(bitmap_.get()));
  bits_ = bits;
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  originalFont_ = GetCurrentObject(dc, OBJ_FONT);
  clip_ = RECT{0, 0, width, height};
}

bool GdiSurface::outside(int left, int top, int right, int bottom) const {
  return right - originX_ <= clip_.left || left - originX_ >= clip_.right || bottom - originY_ <= clip_.top ||
         top - originY_ >= clip_.bottom;
}

GdiSurface::~GdiSurface() {
  // The cached fonts outlive the DC: give it its own font back before it goes.
  if (dc_ && originalFont_) SelectObject(dc_->get(), originalFont_);
  dc_.reset();
}

void GdiSurface::fillRect(int x, int y, int w, int h, Rgb color) {
  if (!valid() || w <= 0 || h <= 0 || outside(x, y, x + w, y + h)) return;
  RECT r{x, y, x + w, y + h};
  SetDCBrushColor(dc(), colorOf(color));
  FillRect(dc(), &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiSurface::line(int x0, int y0, int x1, int y1, Rgb color, int penWidth) {
  const int reach = std::max(penWidth, 1);
  if (!valid() || outside(std::min(x0, x1) - reach, std::min(y0, y1) - reach, std::max(x0, x1) + reach + 1,
                          std::max(y0, y1) + reach + 1))
    return;
  Selected pen(dc(), graphics_.penFor(color, penWidth));
  MoveToEx(dc(), x0, y0, nullptr);
  LineTo(dc(), x1, y1);
}

void GdiSurface::dottedLine(int x0, int y0, int x1, int y1, Rgb color) {
  if (!valid() || outside(std::min(x0, x1) - 1, std::min(y0, y1) - 1, std::max(x0, x1) + 2, std::max(y0, y1) + 2))
    return;
  Selected pen(dc(), graphics_.penFor(color, -1));
  // The gaps between the dots show the page, as on paper.
  const int oldMode = SetBkMode(dc(), TRANSPARENT);
  MoveToEx(dc(), x0, y0, nullptr);
  LineTo(dc(), x1, y1);
  SetBkMode(dc(), oldMode);
}

void GdiSurface::setFont(const FontSpec& font) {
  if (font == font_ && selectedFont_) return;
  font_ = font;
  if (!valid()) return;
  if (HFONT f = graphics_.fontFor(font)) {
    if (f != selectedFont_) SelectObject(dc(), f);
    selectedFont_ = f;
  }
}

int GdiSurface::textWidth(u16v text) {
  if (!valid() || text.empty()) return 0;
  SIZE size{};
  if (!GetTextExtentPoint32W(dc(), wideOf(text), unitsOf(text), &size)) return 0;
  return size.cx;
}

int GdiSurface::textHeight(u16v text) {
  if (!valid()) return 0;
  if (text.empty()) {
    TEXTMETRICW tm{};
    return GetTextMetricsW(dc(), &tm) ? tm.tmHeight : 0;
  }
  SIZE size{};
  if (!GetTextExtentPoint32W(dc(), wideOf(text), unitsOf(text), &size)) return 0;
  return size.cy;
}

void GdiSurface::drawText(int x, int y, u16v text, Rgb color) {
  if (!valid() || text.empty()) return;
  // A level line of text stays within a few of its heights below its top; a tilted one is
  // always drawn. Whatever the width, the strips are cut across the page.
  if (font_.angleTenths == 0 && font_.height != 0) {
    const int h = std::abs(font_.height);
    if (outside(std::numeric_limits<int>::min() / 2, y - h, std::numeric_limits<int>::max() / 2, y + 3 * h)) return;
  }
  SetTextColor(dc(), colorOf(color));
  TextOutW(dc(), x, y, wideOf(text), unitsOf(text));
}

void GdiSurface::drawTextClipped(int x, int y, u16v text, Rgb color, int clipX, int clipY, int clipW,
                                 int clipH) {
  if (!valid() || text.empty() || clipW <= 0 || clipH <= 0 || outside(clipX, clipY, clipX + clipW, clipY + clipH))
    return;
  SetTextColor(dc(), colorOf(color));
  const RECT clip{clipX, clipY, clipX + clipW, clipY + clipH};
  ExtTextOutW(dc(), x, y, ETO_CLIPPED, &clip, wideOf(text), unitsOf(text), nullptr);
}

void GdiSurface::setOrigin(int originX, int originY) {
  originX_ = originX;
  originY_ = originY;
  if (valid()) SetViewportOrgEx(dc(), -originX, -originY, nullptr);
}

void GdiSurface::setClip(int x, int y, int w, int h) {
  if (!valid()) return;
  // A clip region is in device pixels, whatever the viewport origin.
  const int left = x - originX_;
  const int top = y - originY_;
  HRGN region = CreateRectRgn(left, top, left + std::max(w, 0), top + std::max(h, 0));
  if (!region) {
    logLastError(u"CreateRectRgn");
    return;
  }
  SelectClipRgn(dc(), region);  // the DC keeps a copy
  DeleteObject(region);
  clip_ = RECT{std::max(left, 0), std::max(top, 0), std::min(left + std::max(w, 0), width_),
               std::min(top + std::max(h, 0), height_)};
}

void GdiSurface::clearClip() {
  if (!valid()) return;
  SelectClipRgn(dc(), nullptr);
  clip_ = RECT{0, 0, width_, height_};
}

bool GdiSurface::drawBitmap(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) {
  // Out of sight, the bitmap is only looked up, so that a missing one is still told.
  const bool seen = valid() && w > 0 && h > 0 && !outside(dx, dy, dx + w, dy + h);
  return graphics_.blit(seen ? dc() : nullptr, dx, dy, w, h, bitmap, sx, sy, SRCCOPY);
}

bool GdiSurface::drawSprite(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) {
  if (!valid() || w <= 0 || h <= 0 || outside(dx, dy, dx + w, dy + h)) return graphics_.blit(nullptr, dx, dy, w, h, bitmap, sx, sy, SRCCOPY);
  // The mask cell lies right below the picture cell: white keeps the page, black clears it
  // for the picture, which is black wherever the page must show through.
  return graphics_.blit(dc(), dx, dy, w, h, bitmap, sx, sy + h, SRCAND) &&
         graphics_.blit(dc(), dx, dy, w, h, bitmap, sx, sy, SRCPAINT);
}

void GdiSurface::pie(int left, int top, int right, int bottom, double startDegrees,
                     double sweepDegrees, Rgb fill, Rgb outline, int penWidth) {
  const int reach = std::max(penWidth, 1);
  if (outside(left - reach, top - reach, right + reach, bottom + reach)) return;
  SolidBrush brush(fill);
  slice(left, top, right, bottom, startDegrees, sweepDegrees, brush.get(), outline, penWidth);
}

void GdiSurface::pieOutline(int left, int top, int right, int bottom, double startDegrees,
                            double sweepDegrees, Rgb outline, int penWidth) {
  slice(left, top, right, bottom, startDegrees, sweepDegrees,
        static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), outline, penWidth);
}

void GdiSurface::ellipse(int left, int top, int right, int bottom, Rgb fill, Rgb outline, int penWidth) {
  const int reach = std::max(penWidth, 1);
  if (!valid() || right <= left || bottom <= top || outside(left - reach, top - reach, right + reach, bottom + reach))
    return;
  if (penWidth > 1) {
    if (const auto* stamp = graphics_.ellipseStamp(right - left, bottom - top, fill, outline, penWidth)) {
      // The mask's black takes the page away where the ellipse lies (black and white of a
      // one-bit picture are the text and background colours here), its colours fill it in.
      const COLORREF oldText = SetTextColor(dc(), RGB(0, 0, 0));
      const COLORREF oldBack = SetBkColor(dc(), RGB(255, 255, 255));
      const int m = stamp->margin;
      const int w = right - left + 2 * m;
      const int h = bottom - top + 2 * m;
      BitBlt(dc(), left - m, top - m, w, h, stamp->mask->get(), 0, 0, SRCAND);
      BitBlt(dc(), left - m, top - m, w, h, stamp->colours->get(), 0, 0, SRCPAINT);
      SetTextColor(dc(), oldText);
      SetBkColor(dc(), oldBack);
      return;
    }
  }
  SolidBrush brush(fill);
  Selected b(dc(), brush.get());
  Selected p(dc(), graphics_.penFor(outline, penWidth));
  Ellipse(dc(), left, top, right, bottom);
}

void GdiSurface::slice(int left, int top, int right, int bottom, double startDegrees,
                       double sweepDegrees, HBRUSH brush, Rgb outline, int penWidth) {
  const int reach = std::max(penWidth, 1);
  if (!valid() || sweepDegrees == 0 || right <= left || bottom <= top ||
      outside(left - reach, top - reach, right + reach, bottom + reach))
    return;
  Selected b(dc(), brush);
  Selected p(dc(), graphics_.penFor(outline, penWidth));
  if (std::fabs(sweepDegrees) >= 360) {
    Ellipse(dc(), left, top, right, bottom);
    return;
  }
  // GDI draws from the first radial to the second counter-clockwise (its default direction).
  double from = startDegrees, to = startDegrees + sweepDegrees;
  if (sweepDegrees < 0) std::swap(from, to);
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  const double r = std::max(right - left, bottom - top);  // any length beyond the ellipse
  const double kRad = 3.14159265358979323846 / 180.0;
  const auto px = [&](double deg) { return static_cast<int>(std::lround(cx + r * std::cos(deg * kRad))); };
  const auto py = [&](double deg) { return static_cast<int>(std::lround(cy - r * std::sin(deg * kRad))); };
  SetArcDirection(dc(), AD_COUNTERCLOCKWISE);
  Pie(dc(), left, top, right, bottom, px(from), py(from), px(to), py(to));
}

void paintThrough(GdiSurface& buffer, const RECT& area, const std::function<void(int, int)>& draw,
                  const std::function<void(int, int)>& put) {
  const int width = area.right - area.left;
  if (!buffer.valid() || width <= 0 || buffer.height() <= 0) return;
  for (int top = area.top; top < area.bottom; top += buffer.height()) {
    const int bottom = std::min<int>(area.bottom, top + buffer.height());
    buffer.setOrigin(area.left, top);
    buffer.setClip(area.left, top, width, bottom - top);
    draw(top, bottom);
    buffer.clearClip();
    buffer.setOrigin(0, 0);
    put(top, bottom);
  }
}

}  // namespace tirelmo
