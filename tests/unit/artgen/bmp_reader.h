// A BMP reader for the artgen tests, written from the file format (file header, info
// header, colour table, bottom-up rows; BI_RGB at 8 and 24 bits and BI_RLE8) rather
// than borrowed from the writers, so an encoder bug cannot hide by agreeing with itself.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bmptest {

using Bytes = std::vector<std::uint8_t>;

inline std::uint32_t le16(const Bytes& b, std::size_t at) { return b.at(at) | (std::uint32_t(b.at(at + 1)) << 8); }
inline std::uint32_t le32(const Bytes& b, std::size_t at) { return le16(b, at) | (le16(b, at + 2) << 16); }

struct Image {
    int width = 0, height = 0, bits = 0;
    std::uint32_t compression = 0, colors = 0;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    std::vector<std::uint32_t> pixels;   // 0xRRGGBB, top-down
    std::vector<std::uint8_t> indices;   // 8-bit images only, top-down
    std::uint32_t at(int x, int y) const { return pixels.at(std::size_t(y) * width + x); }
    int r(int x, int y) const { return int(at(x, y) >> 16); }
    int g(int x, int y) const { return int((at(x, y) >> 8) & 0xFF); }
    int b(int x, int y) const { return int(at(x, y) & 0xFF); }
};

inline int red(std::uint32_t c) { return int(c >> 16); }
inline int green(std::uint32_t c) { return int((c >> 8) & 0xFF); }
inline int blue(std::uint32_t c) { return int(c & 0xFF); }
inline double luminance(std::uint32_t c) { return 0.299 * red(c) + 0.587 * green(c) + 0.114 * blue(c); }

// Decodes the pixel data of a BI_RLE8 bitmap into indices; every pixel must be written
// and the data must end with end-of-bitmap exactly at its stated size.
inline void decodeRle8(const Bytes& b, std::size_t from, std::size_t size, Image& img)
{
    std::vector<bool> written(img.indices.size(), false);
    int x = 0, row = 0; // row counts from the bottom
    std::size_t i = from;
    const std::size_t end = from + size;
    bool finished = false;
    auto put = [&](std::uint8_t index) {
        if (x >= img.width || row >= img.height) {
            ADD_FAILURE() << "RLE8 writes outside the bitmap at x " << x << " row " << row;
            return;
        }
        const std::size_t at = std::size_t(img.height - 1 - row) * img.width + x;
        img.indices[at] = index;
        written[at] = true;
        ++x;
    };
    while (i + 1 < end && !finished) {
        const std::uint8_t count = b[i], value = b[i + 1];
        i += 2;
        if (count) {
            for (int k = 0; k < count; ++k) put(value);
        } else if (value == 0) {
            ++row;
            x = 0;
        } else if (value == 1) {
            finished = true;
        } else if (value == 2) {
            ASSERT_LE(i + 2, end);
            x += b[i];
            row += b[i + 1];
            i += 2;
        } else {
            ASSERT_LE(i + value, end) << "absolute run past the end";
            for (int k = 0; k < value; ++k) put(b[i + std::size_t(k)]);
            i += value + (value & 1u);
        }
    }
    EXPECT_TRUE(finished) << "no end-of-bitmap";
    EXPECT_EQ(i, end) << "bytes after end-of-bitmap, or data shorter than its stated size";
    std::size_t unwritten = 0;
    for (bool w : written) unwritten += !w;
    EXPECT_EQ(unwritten, 0u) << "pixels the RLE data never sets";
}

inline Image readBmp(const Bytes& b)
{
    Image img;
    if (b.size() < 54) {
        ADD_FAILURE() << "too short for a bitmap: " << b.size();
        return img;
    }
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size()) << "file size field";
    const std::uint32_t pixelsAt = le32(b, 10);
    EXPECT_EQ(le32(b, 14), 40u) << "BITMAPINFOHEADER";
    img.width = int(le32(b, 18));
    img.height = int(le32(b, 22));
    EXPECT_GT(img.width, 0);
    EXPECT_GT(img.height, 0) << "bottom-up rows";
    EXPECT_EQ(le16(b, 26), 1u) << "planes";
    img.bits = int(le16(b, 28));
    img.compression = le32(b, 30);
    const std::uint32_t imageSize = le32(b, 34);
    if (img.bits == 8) {
        img.colors = le32(b, 46) ? le32(b, 46) : 256;
        EXPECT_LE(img.colors, 256u);
        EXPECT_EQ(pixelsAt, 54 + 4 * img.colors) << "pixels follow the colour table";
        for (std::uint32_t i = 0; i < img.colors && 54 + 4 * i + 3 < b.size(); ++i) {
            const std::size_t p = 54 + 4 * std::size_t(i);
            img.palette.push_back((std::uint32_t(b[p + 2]) << 16) | (std::uint32_t(b[p + 1]) << 8) | b[p]);
            EXPECT_EQ(b[p + 3], 0) << "reserved byte of colour " << i;
        }
    } else {
        EXPECT_EQ(img.bits, 24);
        EXPECT_EQ(img.compression, 0u);
        EXPECT_EQ(pixelsAt, 54u);
    }
    if (::testing::Test::HasFailure() || img.width <= 0 || img.height <= 0) return img;
    EXPECT_EQ(pixelsAt + imageSize, b.size()) << "image size field";
    const std::size_t count = std::size_t(img.width) * img.height;
    img.pixels.assign(count, 0);
    if (img.bits == 8) {
        img.indices.assign(count, 0);
        if (img.compression == 1) {
            decodeRle8(b, pixelsAt, imageSize, img);
        } else {
            EXPECT_EQ(img.compression, 0u);
            const std::size_t stride = (std::size_t(img.width) + 3) / 4 * 4;
            EXPECT_EQ(imageSize, stride * img.height);
            for (int y = 0; y < img.height && pixelsAt + stride * img.height <= b.size(); ++y) {
                const std::size_t row = pixelsAt + std::size_t(img.height - 1 - y) * stride;
                for (int x = 0; x < img.width; ++x) img.indices[std::size_t(y) * img.width + x] = b[row + std::size_t(x)];
                for (std::size_t pad = std::size_t(img.width); pad < stride; ++pad) EXPECT_EQ(b[row + pad], 0);
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (img.indices[i] >= img.palette.size()) {
                ADD_FAILURE() << "index " << int(img.indices[i]) << " outside the colour table";
                return img;
            }
            img.pixels[i] = img.palette[img.indices[i]];
        }
    } else {
        const std::size_t stride = (std::size_t(img.width) * 3 + 3) / 4 * 4;
        EXPECT_EQ(imageSize, stride * img.height);
        if (pixelsAt + stride * img.height > b.size()) return img;
        for (int y = 0; y < img.height; ++y) {
            const std::size_t row = pixelsAt + std::size_t(img.height - 1 - y) * stride;
            for (int x = 0; x < img.width; ++x) {
                const std::size_t p = row + std::size_t(x) * 3;
                img.pixels[std::size_t(y) * img.width + x] = (std::uint32_t(b[p + 2]) << 16) | (std::uint32_t(b[p + 1]) << 8) | b[p];
            }
        }
    }
    return img;
}

} // namespace bmptest
