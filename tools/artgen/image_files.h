// Encoders for the Windows image formats the resource compiler embeds.
#pragma once

#include <vector>

#include "bytes.h"
#include "canvas.h"

namespace artgen {

// 24-bit BI_RGB bitmap, bottom-up rows padded to 4 bytes. Alpha is dropped
// after compositing over the background (sprites that need transparency use a
// key colour or a separate mask cell, which is how GDI blits them).
Bytes encodeBmp24(const Canvas& image, Rgba background = rgb(0xFFFFFF));

// Up to maxColors opaque colours; exact when the image has no more distinct
// colours than that, otherwise reduced by median cut.
std::vector<Rgba> buildPalette(const Canvas& opaqueImage, int maxColors = 256);

// A palettized picture: what the 8-bit encoders write.
struct IndexedImage {
  int width = 0, height = 0;
  std::vector<Rgba> palette;          // 1..256 opaque colours
  std::vector<std::uint8_t> indices;  // top-down, width * height
  std::uint8_t at(int x, int y) const { return indices[static_cast<std::size_t>(y) * width + x]; }
};

// Flattens over background and maps every pixel to the nearest colour of a
// palette built by buildPalette. Colours in `keep` go into the palette as they
// are, so a picture that must meet the page seamlessly keeps its paper exact.
IndexedImage toIndexed(const Canvas& image, Rgba background = rgb(0xFFFFFF), int maxColors = 256,
                       const std::vector<Rgba>& keep = {});

// 8-bit palettized BI_RGB bitmap.
Bytes encodeBmp8(const IndexedImage& image);
Bytes encodeBmp8(const Canvas& image, Rgba background = rgb(0xFFFFFF), int maxColors = 256);

// 8-bit BI_RLE8 bitmap: runs of one index as (count, index) pairs, other
// stretches in absolute mode, each row closed by end-of-line and the last by
// end-of-bitmap. The large paper textures are drawn with long runs so that
// this keeps the program file small; GDI expands them when it loads them.
Bytes encodeBmpRle8(const IndexedImage& image);

// Whichever of the two 8-bit forms is smaller.
Bytes encodeBmp8Compact(const IndexedImage& image);

// Classic icon file: one 32-bit BGRA DIB entry with AND mask per image. Each
// image must be square, 1 to 256 pixels. The mask marks fully transparent
// pixels, so Windows versions that ignore alpha still see the right outline.
Bytes encodeIco(const std::vector<Canvas>& images);

}  // namespace artgen
