#include "image_files.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>

namespace artgen {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dpi

std::uint32_t rowStride(int width, int bitsPerPixel) {
  return ((static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel) + 31u) / 32u) * 4u;
}

void writeInfoHeader(ByteWriter& w, int width, int height, int bitsPerPixel, std::uint32_t imageSize,
                     std::uint32_t colorsUsed, std::uint32_t compression = 0) {
  w.u32(kInfoHeaderSize);
  w.i32(width);
  w.i32(height);  // positive: bottom-up
  w.u16(1);       // planes
  w.u16(static_cast<std::uint32_t>(bitsPerPixel));
  w.u32(compression);  // BI_RGB or BI_RLE8
  w.u32(imageSize);
  w.i32(kPixelsPerMetre);
  w.i32(kPixelsPerMetre);
  w.u32(colorsUsed);
  w.u32(0);  // all colours important
}

void writeFileHeader(ByteWriter& w, std::uint32_t fileSize, std::uint32_t pixelOffset) {
  w.tag("BM");
  w.u32(fileSize);
  w.u16(0);
  w.u16(0);
  w.u32(pixelOffset);
}

std::uint32_t key(Rgba c) { return (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b; }

struct ColorCount {
  Rgba color;
  std::uint64_t count;
};

// One median-cut box: a range [begin,end) of the colour list.
struct CutBox {
  std::size_t begin, end;
};

int channel(const Rgba& c, int ch) { return ch == 0 ? c.r : ch == 1 ? c.g : c.b; }

int widestChannel(const std::vector<ColorCount>& cs, const CutBox& b, int* extent) {
  int best = 0, bestExtent = -1;
  for (int ch = 0; ch < 3; ++ch) {
    int lo = 255, hi = 0;
    for (std::size_t i = b.begin; i < b.end; ++i) {
      lo = std::min(lo, channel(cs[i].color, ch));
      hi = std::max(hi, channel(cs[i].color, ch));
    }
    if (hi - lo > bestExtent) {
      bestExtent = hi - lo;
      best = ch;
    }
  }
  *extent = bestExtent;
  return best;
}

std::size_t nearestIndex(const std::vector<Rgba>& palette, Rgba c) {
  std::size_t best = 0;
  long bestDist = -1;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const long dr = long(c.r) - palette[i].r, dg = long(c.g) - palette[i].g, db = long(c.b) - palette[i].b;
    const long d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
    if (bestDist < 0 || d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  return best;
}

}  // namespace

Bytes encodeBmp24(const Canvas& image, Rgba background) {
  const Canvas flat = image.flattened(background);
  const std::uint32_t stride = rowStride(flat.width(), 24);
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(flat.height());
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
  ByteWriter w;
  writeFileHeader(w, offset + imageSize, offset);
  writeInfoHeader(w, flat.width(), flat.height(), 24, imageSize, 0);
  for (int y = flat.height() - 1; y >= 0; --y) {
    for (int x = 0; x < flat.width(); ++x) {
      const Rgba& p = flat.at(x, y);
      w.u8(p.b);
      w.u8(p.g);
      w.u8(p.r);
    }
    w.zeros(stride - static_cast<std::uint32_t>(flat.width()) * 3u);
  }
  return w.take();
}

std::vector<Rgba> buildPalette(const Canvas& image, int maxColors) {
  maxColors = std::clamp(maxColors, 1, 256);
  std::map<std::uint32_t, std::uint64_t> counts;  // ordered, so the result never depends on hashing
  for (const Rgba& p : image.pixels()) ++counts[key(p)];
  std::vector<ColorCount> cs;
  cs.reserve(counts.size());
  for (const auto& [k, n] : counts)
    cs.push_back(ColorCount{Rgba{std::uint8_t(k >> 16), std::uint8_t(k >> 8), std::uint8_t(k), 255}, n});
  std::vector<Rgba> palette;
  if (cs.size() <= static_cast<std::size_t>(maxColors)) {
    for (const ColorCount& c : cs) palette.push_back(c.color);
    return palette;
  }
  std::vector<CutBox> boxes{CutBox{0, cs.size()}};
  while (boxes.size() < static_cast<std::size_t>(maxColors)) {
    // Split the box with the widest colour range; ties go to the earliest.
    std::size_t pick = boxes.size();
    int pickExtent = 0, pickChannel = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].end - boxes[i].begin < 2) continue;
      int extent = 0;
      const int ch = widestChannel(cs, boxes[i], &extent);
      if (extent > pickExtent) {
        pick = i;
        pickExtent = extent;
        pickChannel = ch;
      }
    }
    if (pick == boxes.size()) break;
    CutBox b = boxes[pick];
    std::stable_sort(cs.begin() + static_cast<std::ptrdiff_t>(b.begin),
                     cs.begin() + static_cast<std::ptrdiff_t>(b.end),
                     [pickChannel](const ColorCount& l, const ColorCount& r) {
                       return channel(l.color, pickChannel) < channel(r.color, pickChannel);
                     });
    std::uint64_t total = 0;
    for (std::size_t i = b.begin; i < b.end; ++i) total += cs[i].count;
    std::uint64_t run = 0;
    std::size_t cut = b.begin + 1;
    for (std::size_t i = b.begin; i < b.end - 1; ++i) {
      run += cs[i].count;
      cut = i + 1;
      if (run * 2 >= total) break;
    }
    boxes[pick] = CutBox{b.begin, cut};
    boxes.insert(boxes.begin() + static_cast<std::ptrdiff_t>(pick) + 1, CutBox{cut, b.end});
  }
  for (const CutBox& b : boxes) {
    std::uint64_t n = 0, r = 0, g = 0, bl = 0;
    for (std::size_t i = b.begin; i < b.end; ++i) {
      n += cs[i].count;
      r += cs[i].count * cs[i].color.r;
      g += cs[i].count * cs[i].color.g;
      bl += cs[i].count * cs[i].color.b;
    }
    palette.push_back(Rgba{std::uint8_t((r + n / 2) / n), std::uint8_t((g + n / 2) / n),
                           std::uint8_t((bl + n / 2) / n), 255});
  }
  return palette;
}

IndexedImage toIndexed(const Canvas& image, Rgba background, int maxColors, const std::vector<Rgba>& keep) {
  const Canvas flat = image.flattened(background);
  IndexedImage out;
  out.width = flat.width();
  out.height = flat.height();
  maxColors = std::clamp(maxColors, 1, 256);
  if (keep.size() >= static_cast<std::size_t>(maxColors))
    throw std::invalid_argument("too many colours to keep");
  for (Rgba c : keep) out.palette.push_back(withAlpha(c, 255));
  // When the picture has few enough colours the palette stays exact; otherwise the
  // kept colours come out of the budget of the reduced palette.
  auto withoutKept = [&](std::vector<Rgba> colours) {
    std::erase_if(colours, [&](Rgba c) {
      return std::find(out.palette.begin(), out.palette.end(), c) != out.palette.end();
    });
    return colours;
  };
  std::vector<Rgba> rest = withoutKept(buildPalette(flat, maxColors));
  if (rest.size() + keep.size() > static_cast<std::size_t>(maxColors))
    rest = buildPalette(flat, maxColors - static_cast<int>(keep.size()));
  out.palette.insert(out.palette.end(), rest.begin(), rest.end());
  std::map<std::uint32_t, std::uint8_t> index;
  out.indices.reserve(flat.pixels().size());
  for (const Rgba& p : flat.pixels()) {
    auto found = index.find(key(p));
    if (found == index.end())
      found = index.emplace(key(p), static_cast<std::uint8_t>(nearestIndex(out.palette, p))).first;
    out.indices.push_back(found->second);
  }
  return out;
}

namespace {

void checkIndexed(const IndexedImage& image) {
  if (image.width < 1 || image.height < 1) throw std::invalid_argument("empty bitmap");
  if (image.palette.empty() || image.palette.size() > 256)
    throw std::invalid_argument("palette needs 1..256 colours");
  if (image.indices.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
    throw std::invalid_argument("index count differs from the bitmap size");
  for (std::uint8_t i : image.indices)
    if (i >= image.palette.size()) throw std::invalid_argument("index outside the palette");
}

Bytes assembleBmp8(const IndexedImage& image, std::uint32_t compression, const Bytes& pixels) {
  const std::uint32_t colors = static_cast<std::uint32_t>(image.palette.size());
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize + 4u * colors;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(pixels.size());
  ByteWriter w;
  writeFileHeader(w, offset + imageSize, offset);
  writeInfoHeader(w, image.width, image.height, 8, imageSize, colors, compression);
  for (const Rgba& c : image.palette) {
    w.u8(c.b);
    w.u8(c.g);
    w.u8(c.r);
    w.u8(0);
  }
  w.bytes(pixels);
  return w.take();
}

constexpr std::uint32_t kBiRle8 = 1;

// Length of the run of equal indices starting at row[i], at most 255.
int runAt(const std::uint8_t* row, int i, int width) {
  int n = 1;
  while (i + n < width && n < 255 && row[i + n] == row[i]) ++n;
  return n;
}

}  // namespace

Bytes encodeBmp8(const IndexedImage& image) {
  checkIndexed(image);
  const std::uint32_t stride = rowStride(image.width, 8);
  Bytes pixels;
  pixels.reserve(stride * static_cast<std::uint32_t>(image.height));
  for (int y = image.height - 1; y >= 0; --y) {
    const auto row = image.indices.begin() + static_cast<std::ptrdiff_t>(y) * image.width;
    pixels.insert(pixels.end(), row, row + image.width);
    pixels.insert(pixels.end(), stride - static_cast<std::uint32_t>(image.width), 0);
  }
  return assembleBmp8(image, 0, pixels);
}

Bytes encodeBmp8(const Canvas& image, Rgba background, int maxColors) {
  return encodeBmp8(toIndexed(image, background, maxColors));
}

Bytes encodeBmpRle8(const IndexedImage& image) {
  checkIndexed(image);
  // A run shorter than this is cheaper inside an absolute stretch.
  constexpr int kMinRun = 3;
  Bytes out;
  for (int y = image.height - 1; y >= 0; --y) {
    const std::uint8_t* row = image.indices.data() + static_cast<std::size_t>(y) * image.width;
    int i = 0;
    while (i < image.width) {
      const int run = runAt(row, i, image.width);
      if (run >= kMinRun) {
        out.push_back(static_cast<std::uint8_t>(run));
        out.push_back(row[i]);
        i += run;
        continue;
      }
      int j = i;
      while (j < image.width && j - i < 255 && runAt(row, j, image.width) < kMinRun) ++j;
      const int n = j - i;
      if (n < 3) {
        // Absolute mode needs at least 3 pixels (0, 1 and 2 are escapes).
        for (int k = 0; k < n; ++k) {
          out.push_back(1);
          out.push_back(row[i + k]);
        }
      } else {
        out.push_back(0);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), row + i, row + j);
        if (n & 1) out.push_back(0);  // stretches end on a 16-bit boundary
      }
      i = j;
    }
    out.push_back(0);
    out.push_back(y == 0 ? 1 : 0);  // end of bitmap after the top row, else end of line
  }
  return assembleBmp8(image, kBiRle8, out);
}

Bytes encodeBmp8Compact(const IndexedImage& image) {
  Bytes plain = encodeBmp8(image);
  Bytes packed = encodeBmpRle8(image);
  return packed.size() < plain.size() ? packed : plain;
}

Bytes encodeIco(const std::vector<Canvas>& images) {
  if (images.empty() || images.size() > 0xFFFF) throw std::invalid_argument("icon needs 1..65535 images");
  std::vector<Bytes> entries;
  for (const Canvas& img : images) {
    const int s = img.width();
    if (s < 1 || s > 256 || img.height() != s)
      throw std::invalid_argument("icon images must be square, 1..256 px");
    const std::uint32_t xorStride = rowStride(s, 32), andStride = rowStride(s, 1);
    const std::uint32_t imageSize = (xorStride + andStride) * static_cast<std::uint32_t>(s);
    ByteWriter w;
    // Height counts the colour and the mask bitmap together.
    writeInfoHeader(w, s, 2 * s, 32, imageSize, 0);
    for (int y = s - 1; y >= 0; --y)
      for (int x = 0; x < s; ++x) {
        const Rgba& p = img.at(x, y);
        w.u8(p.b);
        w.u8(p.g);
        w.u8(p.r);
        w.u8(p.a);
      }
    for (int y = s - 1; y >= 0; --y) {
      Bytes row(andStride, 0);
      for (int x = 0; x < s; ++x)
        if (img.at(x, y).a == 0)
          row[static_cast<std::size_t>(x) / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
      w.bytes(row);
    }
    entries.push_back(w.take());
  }

  ByteWriter w;
  w.u16(0);  // reserved
  w.u16(1);  // icon, not cursor
  w.u16(static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = 6u + 16u * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int s = images[i].width();
    w.u8(s == 256 ? 0 : static_cast<std::uint32_t>(s));
    w.u8(s == 256 ? 0 : static_cast<std::uint32_t>(s));
    w.u8(0);   // no palette
    w.u8(0);   // reserved
    w.u16(1);  // planes
    w.u16(32);
    w.u32(static_cast<std::uint32_t>(entries[i].size()));
    w.u32(offset);
    offset += static_cast<std::uint32_t>(entries[i].size());
  }
  for (const Bytes& e : entries) w.bytes(e);
  return w.take();
}

}  // namespace artgen
