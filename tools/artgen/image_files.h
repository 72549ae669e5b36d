// Encoders for the Windows image formats the resource compiler embeds.
#pragma once

#include "bytes.h"
#include "canvas.h"

#include <vector>

namespace artgen {

// 24-bit BI_RGB bitmap, bottom-up rows padded to 4 bytes. Alpha is dropped
// after compositing over the background (sprites that need transparency use a
// key colour or a separate mask cell, which is how GDI blits them).
Bytes encodeBmp24(const Canvas& image, Rgba background = rgb(0xFFFFFF));

// Up to maxColors opaque colours; exact when the image has no more distinct
// colours than that, otherwise reduced by median cut.
std::vector<Rgba> buildPalette(const Canvas& opaqueImage, int maxColors = 256);

// 8-bit palettized BI_RGB bitmap: how the large paper textures stay small.
Bytes encodeBmp8(const Canvas& image, Rgba background = rgb(0xFFFFFF), int maxColors = 256);

// Classic icon file: one 32-bit BGRA DIB entry with AND mask per image. Each
// image must be square, 1 to 256 pixels. The mask marks fully transparent
// pixels, so Windows versions that ignore alpha still see the right outline.
Bytes encodeIco(const std::vector<Canvas>& images);

} // namespace artgen
