// The raster primitives and the encoders artgen's future bitmaps will rely on.
#include "bmp_reader.h"
#include "canvas.h"
#include "glyphs.h"
#include "image_files.h"
#include "sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <set>
#include <stdexcept>
#include <vector>

using namespace artgen;

namespace {

std::uint32_t le16(const Bytes& b, std::size_t at) { return b.at(at) | (std::uint32_t(b.at(at + 1)) << 8); }
std::uint32_t le32(const Bytes& b, std::size_t at) { return le16(b, at) | (le16(b, at + 2) << 16); }

double inkOf(const Canvas& c)
{
    double sum = 0;
    for (const Rgba& p : c.pixels()) sum += p.a / 255.0;
    return sum;
}

// Decodes an uncompressed 8- or 24-bit bottom-up BMP from the documented layout.
Canvas decodeBmp(const Bytes& b, std::uint32_t* paletteSize = nullptr)
{
    EXPECT_EQ(b.at(0), 'B');
    EXPECT_EQ(b.at(1), 'M');
    EXPECT_EQ(le32(b, 2), b.size()) << "file size field";
    const std::uint32_t pixelsAt = le32(b, 10);
    EXPECT_EQ(le32(b, 14), 40u);
    const int w = int(le32(b, 18)), h = int(le32(b, 22));
    const std::uint32_t bits = le16(b, 28);
    EXPECT_EQ(le16(b, 26), 1u);
    EXPECT_EQ(le32(b, 30), 0u) << "BI_RGB";
    const std::uint32_t stride = ((std::uint32_t(w) * bits + 31) / 32) * 4;
    EXPECT_EQ(le32(b, 34), stride * std::uint32_t(h)) << "image size field";
    EXPECT_EQ(pixelsAt + stride * std::uint32_t(h), b.size());
    std::uint32_t colors = 0;
    if (bits == 8) {
        colors = le32(b, 46);
        EXPECT_GE(colors, 1u);
        EXPECT_LE(colors, 256u);
        EXPECT_EQ(pixelsAt, 54 + 4 * colors);
    } else {
        EXPECT_EQ(bits, 24u);
        EXPECT_EQ(pixelsAt, 54u);
    }
    if (paletteSize) *paletteSize = colors;
    Canvas out(w, h);
    for (int y = 0; y < h; ++y) {
        const std::size_t row = pixelsAt + std::size_t(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            if (bits == 24) {
                const std::size_t p = row + std::size_t(x) * 3;
                out.at(x, y) = Rgba{b.at(p + 2), b.at(p + 1), b.at(p), 255};
            } else {
                const std::uint32_t i = b.at(row + std::size_t(x));
                EXPECT_LT(i, colors);
                const std::size_t p = 54 + 4 * std::size_t(i);
                out.at(x, y) = Rgba{b.at(p + 2), b.at(p + 1), b.at(p), 255};
            }
        }
        const std::size_t used = std::size_t(w) * (bits / 8);
        for (std::size_t pad = used; pad < stride; ++pad) EXPECT_EQ(b.at(row + pad), 0) << "row padding";
    }
    return out;
}

// A small opaque image whose every pixel differs, so any row or channel mix-up shows.
Canvas distinctPixels(int w, int h)
{
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            c.at(x, y) = Rgba{std::uint8_t(40 * x + 1), std::uint8_t(70 * y + 2), std::uint8_t(11 * (x + y) + 3), 255};
    return c;
}

TEST(Raster, AntiAliasedCoverageMatchesTheArea)
{
    Canvas c(48, 48);
    const double r = 13.3;
    c.fill(circle(Point{23.7, 24.2}, r), rgb(0x000000));
    EXPECT_NEAR(inkOf(c), std::numbers::pi * r * r, std::numbers::pi * r * r * 0.01);

    Canvas e(64, 64);
    e.fill(ellipse(Point{32, 32}, 25, 9, 0.6), rgb(0x000000));
    EXPECT_NEAR(inkOf(e), std::numbers::pi * 25 * 9, std::numbers::pi * 25 * 9 * 0.015);
    // Rotating by a quarter turn swaps the bounding box, not the area.
    Canvas e2(64, 64);
    e2.fill(ellipse(Point{32, 32}, 25, 9, std::numbers::pi / 2), rgb(0x000000));
    EXPECT_NEAR(inkOf(e2), inkOf(e), std::numbers::pi * 25 * 9 * 0.015);
    EXPECT_EQ(e2.at(32, 10).a, 255);
    EXPECT_EQ(e2.at(10, 32).a, 0);
}

TEST(Raster, PixelAlignedShapesAreCrispAndHalfPixelsHalfCovered)
{
    Canvas c(12, 12);
    c.fill(rect(2, 3, 5, 4), rgb(0x102030));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 3 && y < 7;
            ASSERT_EQ(c.at(x, y).a, inside ? 255 : 0) << x << "," << y;
        }
    Canvas h(6, 3);
    h.fill(rect(1.5, 0, 2, 3), rgb(0x000000));
    EXPECT_NEAR(h.at(1, 1).a, 128, 1);
    EXPECT_EQ(h.at(2, 1).a, 255);
    EXPECT_NEAR(h.at(3, 1).a, 128, 1);
    EXPECT_EQ(h.at(0, 1).a, 0);
    EXPECT_EQ(h.at(4, 1).a, 0);
}

TEST(Raster, PolygonsUseNonZeroWindingAndShapeAlgebraWorks)
{
    // A five-pointed star drawn in one stroke overlaps itself in the middle;
    // non-zero winding keeps the centre filled.
    std::vector<Point> star;
    for (int i = 0; i < 5; ++i) {
        const double a = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
        star.push_back(Point{20 + 18 * std::cos(a), 20 + 18 * std::sin(a)});
    }
    Canvas c(40, 40);
    c.fill(polygon(star), rgb(0x000000));
    EXPECT_EQ(c.at(20, 20).a, 255);
    EXPECT_EQ(c.at(20, 6).a, 255) << "top point";
    EXPECT_EQ(c.at(2, 2).a, 0);

    Canvas ring(40, 40);
    ring.fill(subtract(circle(Point{20, 20}, 15), circle(Point{20, 20}, 10)), rgb(0x000000));
    EXPECT_EQ(ring.at(20, 20).a, 0);
    EXPECT_EQ(ring.at(20, 7).a, 255);
    EXPECT_NEAR(inkOf(ring), std::numbers::pi * (225 - 100), std::numbers::pi * 125 * 0.02);

    Canvas line(30, 10);
    line.fill(thickLine(Point{5, 5}, Point{25, 5}, 4), rgb(0x000000));
    // A 20 x 4 band plus two round caps of radius 2.
    EXPECT_NEAR(inkOf(line), 20 * 4 + std::numbers::pi * 4, 1.5);
}

TEST(Raster, CompositingKeepsStraightAlpha)
{
    Canvas c(2, 1);
    c.at(0, 0) = rgb(0xFFFFFF);
    c.blend(0, 0, rgb(0x000000), 0.5);
    EXPECT_NEAR(c.at(0, 0).r, 128, 1);
    EXPECT_EQ(c.at(0, 0).a, 255);
    // Half-covered red on a transparent pixel stays pure red, half opaque: a
    // premultiplied mix-up would darken it.
    c.blend(1, 0, rgb(0xFF0000), 0.5);
    EXPECT_EQ(c.at(1, 0).r, 255);
    EXPECT_EQ(c.at(1, 0).g, 0);
    EXPECT_NEAR(c.at(1, 0).a, 128, 1);
    // Flattening composes over the background.
    const Canvas flat = c.flattened(rgb(0x0000FF));
    EXPECT_EQ(flat.at(1, 0).a, 255);
    EXPECT_NEAR(flat.at(1, 0).r, 128, 1);
    EXPECT_NEAR(flat.at(1, 0).b, 127, 1);
}

TEST(Raster, GridPlacesCellsRowByRow)
{
    std::vector<Canvas> cells;
    for (int i = 0; i < 5; ++i) cells.emplace_back(3, 2, Rgba{std::uint8_t(i * 40), 0, 0, 255});
    const Canvas grid = composeGrid(cells, 2);
    EXPECT_EQ(grid.width(), 6);
    EXPECT_EQ(grid.height(), 6);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(grid.at((i % 2) * 3 + 1, (i / 2) * 2 + 1).r, i * 40) << i;
    EXPECT_EQ(grid.at(4, 5).a, 0) << "missing sixth cell stays background";
    cells.emplace_back(4, 2);
    EXPECT_THROW(composeGrid(cells, 2), std::invalid_argument);
}

TEST(Glyphs, EveryDigitAndLetterIsDistinct)
{
    std::set<std::vector<std::uint8_t>> seen;
    const std::string chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (char ch : chars) {
        ASSERT_TRUE(hasGlyph5x7(ch)) << ch;
        Canvas c(5, 7);
        drawText5x7(c, std::string(1, ch), 0, 0, 1, solid(rgb(0x000000)));
        std::vector<std::uint8_t> alphas;
        for (const Rgba& p : c.pixels()) alphas.push_back(p.a);
        EXPECT_GT(inkOf(c), 4) << ch;
        EXPECT_TRUE(seen.insert(alphas).second) << ch << " looks like another glyph";
    }
    EXPECT_FALSE(hasGlyph5x7('@'));
    EXPECT_EQ(textWidth5x7("12:30", 2), (5 * 6 - 1) * 2);
}

TEST(Glyphs, SevenSegmentDigitsAreDistinctAndStayInTheirBox)
{
    std::set<std::vector<std::uint8_t>> seen;
    for (int d = 0; d <= 9; ++d) {
        Canvas c(40, 70);
        drawSegmentDigit(c, d, 6, 6, 28, 56, 6, solid(rgb(0x000000)));
        std::vector<std::uint8_t> alphas;
        for (const Rgba& p : c.pixels()) alphas.push_back(p.a);
        EXPECT_TRUE(seen.insert(alphas).second) << d;
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 40; ++x)
                if (x < 6 || x >= 34 || y < 6 || y >= 62) {
                    ASSERT_EQ(c.at(x, y).a, 0) << d << " at " << x << "," << y;
                }
    }
    Canvas eight(40, 70), one(40, 70);
    drawSegmentDigit(eight, 8, 6, 6, 28, 56, 6, solid(rgb(0x000000)));
    drawSegmentDigit(one, 1, 6, 6, 28, 56, 6, solid(rgb(0x000000)));
    EXPECT_NEAR(inkOf(one) * 7 / 2, inkOf(eight), inkOf(eight) * 0.15) << "8 lights seven segments, 1 two";
}

TEST(Bmp, TwentyFourBitRoundTripsWithPaddedBottomUpRows)
{
    for (int w : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(w);
        const Canvas img = distinctPixels(w, 3);
        const Canvas back = decodeBmp(encodeBmp24(img));
        ASSERT_EQ(back.width(), w);
        ASSERT_EQ(back.height(), 3);
        EXPECT_EQ(back.pixels(), img.pixels());
    }
    // Transparent areas take the background colour.
    Canvas sprite(2, 1);
    sprite.at(1, 0) = rgb(0x123456);
    const Canvas back = decodeBmp(encodeBmp24(sprite, rgb(0xFF00FF)));
    EXPECT_EQ(back.at(0, 0), rgb(0xFF00FF));
    EXPECT_EQ(back.at(1, 0), rgb(0x123456));
}

TEST(Bmp, EightBitIsExactUpTo256ColoursAndCloseBeyond)
{
    const Canvas few = distinctPixels(7, 3);
    std::uint32_t colors = 0;
    EXPECT_EQ(decodeBmp(encodeBmp8(few), &colors).pixels(), few.pixels());
    EXPECT_EQ(colors, 21u);

    // 64 x 64 smooth gradient: 4096 colours into 256.
    Canvas many(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            many.at(x, y) = Rgba{std::uint8_t(x * 4), std::uint8_t(y * 4), std::uint8_t(255 - (x + y) * 2), 255};
    const Canvas back = decodeBmp(encodeBmp8(many), &colors);
    EXPECT_LE(colors, 256u);
    EXPECT_GT(colors, 128u) << "the palette should be used, not collapsed";
    int worst = 0;
    for (std::size_t i = 0; i < many.pixels().size(); ++i) {
        const Rgba a = many.pixels()[i], b = back.pixels()[i];
        worst = std::max({worst, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    }
    EXPECT_LE(worst, 24);
}

TEST(Wav, EncoderClampsAndSizesTheData)
{
    Pcm pcm(22050, 0);
    pcm.samples = {0.0, 0.5, -0.5, 2.0, -2.0, 1.0};
    const Bytes b = encodeWav16(pcm);
    ASSERT_EQ(b.size(), 44u + 2 * pcm.samples.size());
    EXPECT_EQ(le32(b, 4), b.size() - 8);
    EXPECT_EQ(le32(b, 40), 2 * pcm.samples.size());
    auto sample = [&](std::size_t i) { return static_cast<std::int16_t>(le16(b, 44 + 2 * i)); };
    EXPECT_EQ(sample(0), 0);
    EXPECT_NEAR(sample(1), 16384, 1);
    EXPECT_NEAR(sample(2), -16384, 1);
    EXPECT_EQ(sample(3), 32767) << "clamped, not wrapped";
    EXPECT_EQ(sample(4), -32767);
    EXPECT_EQ(sample(5), 32767);
}

TEST(Wav, SynthPartialHasItsPitchAndDecay)
{
    Pcm pcm(22050, 0.5);
    addPartial(pcm, 0.1, 441.0, 0.8, 0.05, 0.0);
    // Silent before the start.
    for (std::size_t i = 0; i < 2205; ++i) ASSERT_EQ(pcm.samples[i], 0.0);
    // 441 Hz at 22050 Hz: 50 samples a period, so 10 periods cross zero upwards 10 times.
    int rising = 0;
    for (std::size_t i = 2206; i < 2206 + 500; ++i)
        if (pcm.samples[i - 1] < 0 && pcm.samples[i] >= 0) ++rising;
    EXPECT_NEAR(rising, 10, 1);
    // One time constant later the envelope has fallen to 1/e.
    auto peakNear = [&](double t) {
        double p = 0;
        const std::size_t at = std::size_t(t * 22050);
        for (std::size_t i = at; i < at + 50; ++i) p = std::max(p, std::abs(pcm.samples[i]));
        return p;
    };
    EXPECT_NEAR(peakNear(0.15) / peakNear(0.10), std::exp(-1.0), 0.05);
    normalize(pcm, 0.5);
    EXPECT_NEAR(peakOf(pcm), 0.5, 1e-12);
}

IndexedImage indexed(int w, int h, std::vector<std::uint8_t> indices, int colors)
{
    IndexedImage img;
    img.width = w;
    img.height = h;
    for (int i = 0; i < colors; ++i) img.palette.push_back(Rgba{std::uint8_t(i * 10), std::uint8_t(i), std::uint8_t(255 - i), 255});
    img.indices = std::move(indices);
    return img;
}

// The pixel data of an RLE8 file: everything after the header and colour table.
Bytes rleData(const Bytes& file) { return Bytes(file.begin() + long(le32(file, 10)), file.end()); }

TEST(BmpRle8, RowsAreRunsAndAbsoluteStretchesClosedByEndMarks)
{
    // One row: a run of four, then three different pixels (absolute mode, padded to an
    // even length), then the end of the bitmap.
    const Bytes one = encodeBmpRle8(indexed(7, 1, {5, 5, 5, 5, 1, 2, 3}, 6));
    EXPECT_EQ(rleData(one), (Bytes{4, 5, 0, 3, 1, 2, 3, 0, 0, 1}));
    EXPECT_EQ(le32(one, 30), 1u) << "BI_RLE8";
    EXPECT_EQ(le32(one, 34), 10u) << "image size is the coded size";
    EXPECT_EQ(le32(one, 46), 6u) << "colours used";
    EXPECT_EQ(le32(one, 10), 54u + 4 * 6) << "pixels after the colour table";
    EXPECT_EQ(le32(one, 2), one.size());
    EXPECT_EQ(le32(one, 22), 1u) << "bottom-up";

    // Two rows, stored bottom row first; one or two odd pixels are cheaper as runs of
    // one (absolute mode needs three); an even stretch needs no padding.
    const Bytes two = encodeBmpRle8(indexed(6, 2, {1, 2, 7, 7, 7, 7, /* bottom: */ 4, 3, 2, 1, 9, 9}, 10));
    EXPECT_EQ(rleData(two), (Bytes{0, 6, 4, 3, 2, 1, 9, 9, 0, 0, 1, 1, 1, 2, 4, 7, 0, 1}));

    // Runs longer than a count byte are split.
    const Bytes wide = encodeBmpRle8(indexed(300, 1, std::vector<std::uint8_t>(300, 2), 3));
    EXPECT_EQ(rleData(wide), (Bytes{255, 2, 45, 2, 0, 1}));
}

TEST(BmpRle8, DecodesToTheSamePixelsAsThePlainForm)
{
    // Rows mixing long runs, short runs and noise, with absolute stretches of odd and
    // even length and longer than 255.
    const int w = 301, h = 9;
    std::vector<std::uint8_t> px;
    std::uint32_t seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const bool noisy = (x / 37 + y) % 3 == 0 || y == 4;
            px.push_back(static_cast<std::uint8_t>(noisy ? (seed >> 16) % 200 : (x / 11 + y) % 7));
        }
    const IndexedImage img = indexed(w, h, px, 200);
    const bmptest::Image rle = bmptest::readBmp(encodeBmpRle8(img));
    const bmptest::Image plain = bmptest::readBmp(encodeBmp8(img));
    ASSERT_EQ(rle.width, w);
    ASSERT_EQ(rle.height, h);
    EXPECT_EQ(rle.indices, img.indices);
    EXPECT_EQ(plain.indices, img.indices);
    EXPECT_EQ(rle.pixels, plain.pixels);
}

TEST(BmpRle8, CompactFormPicksTheSmallerCoding)
{
    std::vector<std::uint8_t> noise;
    for (int i = 0; i < 64 * 8; ++i) noise.push_back(static_cast<std::uint8_t>((i * 37) % 251));
    const Bytes busy = encodeBmp8Compact(indexed(64, 8, noise, 251));
    EXPECT_EQ(le32(busy, 30), 0u) << "noise stays uncompressed";
    EXPECT_EQ(busy, encodeBmp8(indexed(64, 8, noise, 251)));
    const Bytes flat = encodeBmp8Compact(indexed(64, 8, std::vector<std::uint8_t>(64 * 8, 1), 2));
    EXPECT_EQ(le32(flat, 30), 1u);
    EXPECT_LT(flat.size(), encodeBmp8(indexed(64, 8, std::vector<std::uint8_t>(64 * 8, 1), 2)).size());
}

TEST(BmpRle8, RefusesInconsistentImages)
{
    EXPECT_THROW(encodeBmpRle8(indexed(2, 1, {0, 3}, 3)), std::invalid_argument) << "index outside the palette";
    EXPECT_THROW(encodeBmp8(indexed(2, 2, {0, 1}, 3)), std::invalid_argument) << "too few indices";
    EXPECT_THROW(encodeBmpRle8(indexed(2, 1, {0, 0}, 0)), std::invalid_argument) << "no palette";
}

TEST(Bmp, IndexedPaletteIsExactForFewColours)
{
    Canvas c(4, 2, rgb(0x102030));
    c.at(1, 0) = rgb(0xFF0000);
    c.at(3, 1) = rgb(0x00FF00);
    // A kept colour that the picture has anyway takes no second entry.
    const IndexedImage img = toIndexed(c, rgb(0xFFFFFF), 3, {rgb(0x102030)});
    ASSERT_EQ(img.palette.size(), 3u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(img.palette[img.at(x, y)], c.at(x, y)) << x << "," << y;
}

TEST(Bmp, KeptColoursSurviveAReducedPalette)
{
    // 4096 colours into 256: the paper colour a picture must share with the page stays
    // exact even where median cut would have averaged it with its neighbours.
    Canvas many(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            many.at(x, y) = Rgba{std::uint8_t(x * 4), std::uint8_t(y * 4), std::uint8_t(255 - (x + y) * 2), 255};
    const Rgba paper = many.at(13, 41);
    const IndexedImage img = toIndexed(many, rgb(0xFFFFFF), 256, {paper});
    EXPECT_LE(img.palette.size(), 256u);
    EXPECT_EQ(img.palette[img.at(13, 41)], paper);
    EXPECT_THROW(toIndexed(many, rgb(0xFFFFFF), 2, {paper, rgb(0)}), std::invalid_argument);
}

} // namespace
