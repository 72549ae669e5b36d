// The canvas port on GDI: every surface is a 32-bit top-down DIB section selected into its
// own memory DC. The origin is the DC's viewport origin and the clip its clip region, so
// every GDI call of a page draws in page coordinates.
//
// Font heights are cell heights (CreateFontW with a positive height), the same measure the
// core's FontSpec heights mean everywhere.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <type_traits>

#include "platform/canvas.h"

namespace tirelmo {

// Owners of one GDI object each; the object is released with its owner.
struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const {
    if (object) DeleteObject(object);
  }
};
using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiObjectDeleter>;

// An icon made by LoadImageW without LR_SHARED is ours to destroy.
struct IconDeleter {
  void operator()(HICON icon) const {
    if (icon) DestroyIcon(icon);
  }
};
using IconHolder = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// A memory DC with one bitmap selected; the original bitmap goes back before the DC is freed.
class MemoryDc {
 public:
  MemoryDc() = default;
  MemoryDc(HDC dc, HBITMAP bitmap);
  ~MemoryDc();
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

class GdiSurface;

// A run-length compressed bitmap resource as a DIB section of its own depth; null when the
// resource is not compressed or cannot be unpacked. The caller owns the bitmap.
HBITMAP loadCompressedBitmap(HINSTANCE module, HDC compatible, BitmapId id);

class GdiGraphics : public Graphics {
 public:
  explicit GdiGraphics(HINSTANCE module);
  ~GdiGraphics() override;
  GdiGraphics(const GdiGraphics&) = delete;
  GdiGraphics& operator=(const GdiGraphics&) = delete;

  // Surfaces use this object's fonts and bitmaps: they must not outlive it.
  std::unique_ptr<Surface> createSurface(int width, int height) override;
  void releaseBitmap(BitmapId id) override;

  // Puts a bitmap under an id instead of loading the resource (tests, generated pictures).
  // The pixels are 32-bit 0x00RRGGBB, top row first.
  bool registerBitmap(BitmapId id, int width, int height, const std::uint32_t* pixels);

  // The DC holding the bitmap, loaded with LoadImageW on first use; null when missing (the
  // failure is logged once).
  HDC bitmapDc(BitmapId id);
  // Copies the part (sx, sy, w, h) of a bitmap to (dx, dy) of `target` with a raster
  // operation; false when the bitmap is missing. An uncompressed resource is drawn straight
  // from the program's mapped image, without a DIB section of its own.
  bool blit(HDC target, int dx, int dy, int w, int h, BitmapId id, int sx, int sy, DWORD rop);
  HFONT fontFor(const FontSpec& wanted);
  HPEN penFor(Rgb color, int width);

  // An ellipse with a wide pen, drawn once: GDI widens such a pen through a path on every
  // call, the costliest thing a page draws. `colours` holds the ellipse on black, `mask` is
  // black where it covers and white around it; both are `margin` larger on every side than
  // the ellipse's box, room for the half of the pen that lies outside it.
  struct EllipseStamp {
    GdiObject coloursBitmap;
    std::unique_ptr<MemoryDc> colours;
    GdiObject maskBitmap;
    std::unique_ptr<MemoryDc> mask;
    int margin = 0;
  };
  // Null when GDI refused the bitmaps; the caller then draws the ellipse itself.
  const EllipseStamp* ellipseStamp(int width, int height, Rgb fill, Rgb outline, int penWidth);

 private:
  struct CachedBitmap {
    GdiObject bitmap;
    std::unique_ptr<MemoryDc> dc;
    int width = 0;
    int height = 0;
  };
  // An uncompressed bitmap resource as it lies in the image; null info when the resource is
  // compressed, missing or of a form StretchDIBits is not given.
  struct PackedBitmap {
    const BITMAPINFO* info = nullptr;
    const void* bits = nullptr;
    int width = 0;
    int height = 0;  // rows, whatever the direction
    bool bottomUp = false;
  };
  const PackedBitmap& packedBitmap(BitmapId id);

  HINSTANCE module_;
  HDC screenCompatible_ = nullptr;  // a memory DC the surfaces' DCs are made compatible with
  std::map<BitmapId, CachedBitmap> bitmaps_;
  std::map<BitmapId, bool> missing_;
  std::map<BitmapId, PackedBitmap> packed_;
  // Looked up by a key of the face's view: a page asks for a font hundreds of times a paint.
  std::map<std::tuple<std::u16string, int, bool, bool, int>, GdiObject, std::less<>> fonts_;
  std::map<std::tuple<std::uint32_t, int>, GdiObject> pens_;
  std::map<std::tuple<int, int, std::uint32_t, std::uint32_t, int>, EllipseStamp> stamps_;
};

class GdiSurface : public Surface {
 public:
  // Use GdiGraphics::createSurface; valid() is false when GDI refused the bitmap.
  GdiSurface(GdiGraphics& graphics, HDC compatible, int width, int height);
  ~GdiSurface() override;

  bool valid() const { return bits_ != nullptr; }
  HDC dc() const { return dc_ ? dc_->get() : nullptr; }
  // The pixels, 0x00RRGGBB, width() per row, top row first (GdiFlush before reading).
  const std::uint32_t* pixels() const { return bits_; }

  int width() const override { return width_; }
  int height() const override { return height_; }
  void fillRect(int x, int y, int w, int h, Rgb color) override;
  void line(int x0, int y0, int x1, int y1, Rgb color, int penWidth = 1) override;
  void dottedLine(int x0, int y0, int x1, int y1, Rgb color) override;
  void setFont(const FontSpec& font) override;
  const FontSpec& font() const override { return font_; }
  int textWidth(u16v text) override;
  int textHeight(u16v text) override;
  void drawText(int x, int y, u16v text, Rgb color) override;
  void drawTextClipped(int x, int y, u16v text, Rgb color, int clipX, int clipY, int clipW,
                       int clipH) override;
  void setOrigin(int originX, int originY) override;
  void setClip(int x, int y, int w, int h) override;
  void clearClip() override;
  bool drawBitmap(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) override;
  bool drawSprite(int dx, int dy, int w, int h, BitmapId bitmap, int sx, int sy) override;
  void pie(int left, int top, int right, int bottom, double startDegrees, double sweepDegrees,
           Rgb fill, Rgb outline, int penWidth = 1) override;
  void pieOutline(int left, int top, int right, int bottom, double startDegrees, double sweepDegrees,
                  Rgb outline, int penWidth = 1) override;
  void ellipse(int left, int top, int right, int bottom, Rgb fill, Rgb outline, int penWidth = 1) override;

 private:
  void slice(int left, int top, int right, int bottom, double startDegrees, double sweepDegrees,
             HBRUSH brush, Rgb outline, int penWidth);
  // True when nothing of the box (page coordinates, right and bottom exclusive) can land
  // on the surface inside the clip: a paint goes through the view in strips, and GDI
  // would lay out every text and curve of the page for each strip only to clip it away.
  bool outside(int left, int top, int right, int bottom) const;

  GdiGraphics& graphics_;
  int width_ = 0;
  int height_ = 0;
  GdiObject bitmap_;
  std::unique_ptr<MemoryDc> dc_;
  std::uint32_t* bits_ = nullptr;
  FontSpec font_;
  HGDIOBJ originalFont_ = nullptr;
  HFONT selectedFont_ = nullptr;
  int originX_ = 0;
  int originY_ = 0;
  // The clip in device pixels; the whole surface when none is set.
  RECT clip_{};
};

// Paints `area` (window pixels) through `buffer`, as many rows at a time as the buffer has. For
// each strip the buffer's origin puts the strip's top-left window pixel on its own first
// pixel and its clip is the strip; `draw(top, bottom)` draws window rows [top, bottom) in
// window coordinates, then `put(top, bottom)` takes the rows out of the buffer's first rows
// (origin and clip reset by then).
void paintThrough(GdiSurface& buffer, const RECT& area, const std::function<void(int, int)>& draw,
                  const std::function<void(int, int)>& put);

}  // namespace tirelmo
