// Runs artgen into a scratch folder and reads back what it wrote, with parsers
// written here from the file formats rather than borrowed from the writers.
#include "art_output.h"
#include "artwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

using arttest::readAll;
using arttest::ScratchDir;

std::uint32_t le16(const Bytes& b, std::size_t at) { return b.at(at) | (std::uint32_t(b.at(at + 1)) << 8); }
std::uint32_t le32(const Bytes& b, std::size_t at) { return le16(b, at) | (le16(b, at + 2) << 16); }
std::string tag(const Bytes& b, std::size_t at) { return std::string(b.begin() + long(at), b.begin() + long(at) + 4); }

struct Wav {
    std::uint32_t format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    std::vector<std::int16_t> samples;
    double seconds() const { return rate ? double(samples.size()) / rate : 0; }
    int peak() const
    {
        int p = 0;
        for (std::int16_t s : samples) p = std::max(p, std::abs(int(s)));
        return p;
    }
};

// Walks the RIFF chunks, failing the test on any size that points outside the file.
Wav parseWav(const Bytes& b)
{
    Wav w;
    EXPECT_GE(b.size(), 44u);
    if (b.size() < 12) return w;
    EXPECT_EQ(tag(b, 0), "RIFF");
    EXPECT_EQ(le32(b, 4), b.size() - 8) << "RIFF size must cover the rest of the file";
    EXPECT_EQ(tag(b, 8), "WAVE");
    bool haveFmt = false, haveData = false;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string id = tag(b, at);
        const std::uint32_t size = le32(b, at + 4);
        EXPECT_LE(at + 8 + size, b.size()) << "chunk " << id << " runs past the end";
        if (at + 8 + size > b.size()) return w;
        if (id == "fmt ") {
            EXPECT_GE(size, 16u);
            w.format = le16(b, at + 8);
            w.channels = le16(b, at + 10);
            w.rate = le32(b, at + 12);
            w.byteRate = le32(b, at + 16);
            w.blockAlign = le16(b, at + 20);
            w.bits = le16(b, at + 22);
            haveFmt = true;
        } else if (id == "data") {
            EXPECT_TRUE(haveFmt) << "data before fmt";
            EXPECT_EQ(size % 2, 0u);
            for (std::uint32_t i = 0; i + 1 < size; i += 2)
                w.samples.push_back(static_cast<std::int16_t>(le16(b, at + 8 + i)));
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    EXPECT_EQ(at, b.size()) << "trailing bytes after the last chunk";
    EXPECT_TRUE(haveFmt);
    EXPECT_TRUE(haveData);
    return w;
}

void expectPlayablePcm(const Wav& w)
{
    EXPECT_EQ(w.format, 1u) << "PCM";
    EXPECT_EQ(w.channels, 1u);
    EXPECT_EQ(w.bits, 16u);
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << w.rate;
    EXPECT_EQ(w.blockAlign, w.channels * w.bits / 8);
    EXPECT_EQ(w.byteRate, w.rate * w.blockAlign);
    EXPECT_LT(w.peak(), 32767) << "clipped";
}

struct IconImage {
    int size = 0;
    std::vector<std::uint8_t> bgra; // top-down, size*size*4
    std::vector<bool> maskTransparent;
    std::uint8_t alpha(int x, int y) const { return bgra[(std::size_t(y) * size + x) * 4 + 3]; }
    std::uint8_t red(int x, int y) const { return bgra[(std::size_t(y) * size + x) * 4 + 2]; }
    std::uint8_t green(int x, int y) const { return bgra[(std::size_t(y) * size + x) * 4 + 1]; }
    std::uint8_t blue(int x, int y) const { return bgra[(std::size_t(y) * size + x) * 4 + 0]; }
};

std::vector<IconImage> parseIco(const Bytes& b)
{
    std::vector<IconImage> out;
    EXPECT_GE(b.size(), 6u);
    if (b.size() < 6) return out;
    EXPECT_EQ(le16(b, 0), 0u);
    EXPECT_EQ(le16(b, 2), 1u) << "type must be icon";
    const std::uint32_t count = le16(b, 4);
    EXPECT_GE(b.size(), 6 + 16 * count);
    if (b.size() < 6 + 16 * count) return out;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t e = 6 + 16 * i;
        const int size = b[e] ? b[e] : 256;
        EXPECT_EQ(b[e], b[e + 1]) << "square";
        EXPECT_EQ(b[e + 2], 0) << "no palette";
        EXPECT_EQ(le16(b, e + 6), 32u);
        const std::uint32_t bytes = le32(b, e + 8), offset = le32(b, e + 12);
        EXPECT_GE(offset, 6 + 16 * count) << "image inside the directory";
        EXPECT_LE(std::uint64_t(offset) + bytes, b.size()) << "image runs past the end";
        if (std::uint64_t(offset) + bytes > b.size() || bytes < 40) continue;
        spans.emplace_back(offset, offset + bytes);

        EXPECT_EQ(le32(b, offset), 40u);
        EXPECT_EQ(le32(b, offset + 4), std::uint32_t(size));
        EXPECT_EQ(le32(b, offset + 8), std::uint32_t(2 * size)) << "height counts colour and mask";
        EXPECT_EQ(le16(b, offset + 12), 1u);
        EXPECT_EQ(le16(b, offset + 14), 32u);
        EXPECT_EQ(le32(b, offset + 16), 0u) << "BI_RGB";
        const std::uint32_t andStride = ((std::uint32_t(size) + 31) / 32) * 4;
        const std::uint32_t expected = 40 + (std::uint32_t(size) * 4 + andStride) * std::uint32_t(size);
        EXPECT_EQ(bytes, expected);
        if (bytes != expected) continue;

        IconImage img;
        img.size = size;
        img.bgra.resize(std::size_t(size) * size * 4);
        img.maskTransparent.resize(std::size_t(size) * size);
        const std::size_t xorAt = offset + 40, andAt = xorAt + std::size_t(size) * size * 4;
        for (int y = 0; y < size; ++y) {
            const int row = size - 1 - y; // stored bottom-up
            std::copy_n(b.begin() + long(xorAt + std::size_t(row) * size * 4), size * 4,
                        img.bgra.begin() + long(std::size_t(y) * size * 4));
            for (int x = 0; x < size; ++x)
                img.maskTransparent[std::size_t(y) * size + x] =
                    (b[andAt + std::size_t(row) * andStride + std::size_t(x) / 8] >> (7 - x % 8)) & 1;
        }
        out.push_back(std::move(img));
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i) EXPECT_LE(spans[i - 1].second, spans[i].first) << "images overlap";
    return out;
}

std::vector<int> sizesOf(const std::vector<IconImage>& images)
{
    std::vector<int> s;
    for (const IconImage& i : images) s.push_back(i.size);
    std::sort(s.begin(), s.end());
    return s;
}

void expectMaskMatchesAlpha(const IconImage& img)
{
    for (int y = 0; y < img.size; ++y)
        for (int x = 0; x < img.size; ++x)
            ASSERT_EQ(img.maskTransparent[std::size_t(y) * img.size + x], img.alpha(x, y) == 0)
                << img.size << "px at " << x << "," << y;
}

class ArtgenOutput : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(arttest::generatedArt().empty()); }
    Bytes file(const std::string& name) const { return arttest::artFile(name); }
    const fs::path& dir() const { return arttest::generatedArt(); }
};

TEST_F(ArtgenOutput, WritesExactlyTheFilesTheBuildDeclares)
{
    std::set<std::string> declared;
    std::stringstream list(ARTGEN_DECLARED_FILES);
    for (std::string name; std::getline(list, name, ',');) declared.insert(name);

    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(dir())) written.insert(entry.path().filename().string());
    std::set<std::string> registered;
    for (const artgen::ArtFile& f : artgen::artFiles()) registered.insert(f.name);

    EXPECT_EQ(written, declared) << "ARTGEN_FILES in cmake/Artgen.cmake is out of step (or a temporary was left behind)";
    EXPECT_EQ(registered, declared);
}

TEST_F(ArtgenOutput, SameBytesOnEveryRunAndStaleFilesReplaced)
{
    // A stale or truncated file from an interrupted build must not survive a rerun.
    ScratchDir again;
    fs::create_directories(again.path());
    for (const char* name : {"ding.wav", "paper_crumpled.bmp", "art_resources.rc"})
        std::ofstream(again.path() / name, std::ios::binary | std::ios::trunc) << "junk";
    std::ostringstream err;
    ASSERT_EQ(artgen::runArtgen(again.path(), err), 0) << err.str();
    for (const artgen::ArtFile& f : artgen::artFiles()) {
        const Bytes first = file(f.name);
        EXPECT_FALSE(first.empty()) << f.name;
        EXPECT_EQ(first, readAll(again.path() / f.name)) << f.name;
    }
}

TEST_F(ArtgenOutput, TickLoopsOnceASecond)
{
    const Wav w = parseWav(file("ding.wav"));
    expectPlayablePcm(w);
    // Played in a loop, the file length is the tick period.
    EXPECT_EQ(w.samples.size(), w.rate) << "exactly one second";
    // Soft but audible.
    EXPECT_GT(w.peak(), 32767 / 20);
    EXPECT_LT(w.peak(), 32767 * 6 / 10);
    // One tick at the start, then silence: no second tick inside the loop and
    // no step where the end wraps to the start.
    ASSERT_FALSE(w.samples.empty());
    const std::size_t quarter = w.rate / 4;
    int firstQuarterPeak = 0;
    for (std::size_t i = 0; i < quarter; ++i) firstQuarterPeak = std::max(firstQuarterPeak, std::abs(int(w.samples[i])));
    EXPECT_EQ(firstQuarterPeak, w.peak());
    for (std::size_t i = quarter; i < w.samples.size(); ++i) ASSERT_EQ(w.samples[i], 0) << "sample " << i;
}

TEST_F(ArtgenOutput, RingIsABellThatFadesOut)
{
    const Wav w = parseWav(file("ringin.wav"));
    expectPlayablePcm(w);
    EXPECT_GE(w.seconds(), 1.5);
    EXPECT_LE(w.seconds(), 2.5);
    EXPECT_GT(w.peak(), 32767 / 4) << "an alarm must be heard";
    ASSERT_GT(w.samples.size(), w.rate / 2);
    // Decays: the last half second is much quieter than the first, and the
    // file ends at rest so playback stops without a click.
    auto energy = [&](std::size_t from, std::size_t n) {
        double e = 0;
        for (std::size_t i = from; i < from + n; ++i) e += double(w.samples[i]) * w.samples[i];
        return e;
    };
    const std::size_t half = w.rate / 2;
    EXPECT_LT(energy(w.samples.size() - half, half) * 20, energy(0, half));
    EXPECT_LT(std::abs(int(w.samples.back())), 64);
}

TEST_F(ArtgenOutput, IconsCarryThePromisedSizesWithConsistentMasks)
{
    std::map<std::string, std::vector<int>> promised = {{"tirelmo.ico", {16, 32, 48}},
                                                        {"timer_tomato.ico", {16, 24, 32}}};
    // The window's small and large icon while the timer counts down.
    for (int m = 0; m <= 25; ++m) {
        char name[32];
        std::snprintf(name, sizeof name, "countdown_%02d.ico", m);
        promised[name] = {16, 32};
    }
    for (const auto& [name, sizes] : promised) {
        SCOPED_TRACE(name);
        const std::vector<IconImage> images = parseIco(file(name));
        EXPECT_EQ(sizesOf(images), sizes);
        for (const IconImage& img : images) {
            expectMaskMatchesAlpha(img);
            // Drawn art, not an empty or solid square: corners clear, middle opaque.
            EXPECT_EQ(img.alpha(0, 0), 0);
            EXPECT_EQ(img.alpha(img.size - 1, img.size - 1), 0);
            EXPECT_EQ(img.alpha(img.size / 2, img.size / 2), 255);
        }
    }
}

TEST_F(ArtgenOutput, ProgramIconIsARedTomatoWithGreenTop)
{
    for (const IconImage& img : parseIco(file("tirelmo.ico"))) {
        SCOPED_TRACE(img.size);
        const int s = img.size;
        long red = 0, green = 0, opaque = 0;
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x) {
                if (img.alpha(x, y) < 255) continue;
                ++opaque;
                if (img.red(x, y) > 2 * img.green(x, y) && img.red(x, y) > 2 * img.blue(x, y)) ++red;
                if (y < s / 2 && img.green(x, y) > img.red(x, y) + 20) ++green;
            }
        EXPECT_GT(opaque, long(s) * s / 2) << "the fruit fills most of the icon";
        EXPECT_GT(red, opaque / 2) << "mostly red";
        EXPECT_GT(green, 0) << "leaves or stalk on top";
    }
}

TEST_F(ArtgenOutput, CountdownIconsShowEveryMinuteDistinctlyOnATomato)
{
    // The number is the white ink; at either size no two minutes may look alike
    // (18 and 19 at 16 pixels are the hard case), and the icon stays a red tomato.
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        std::set<std::vector<bool>> numbers;
        for (int m = 0; m <= 25; ++m) {
            char name[32];
            std::snprintf(name, sizeof name, "countdown_%02d.ico", m);
            SCOPED_TRACE(name);
            const std::vector<IconImage> images = parseIco(file(name));
            const auto it = std::find_if(images.begin(), images.end(), [&](const IconImage& i) { return i.size == size; });
            ASSERT_NE(it, images.end());
            std::vector<bool> white;
            long whiteCount = 0, redCount = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const bool w = it->alpha(x, y) == 255 && it->red(x, y) > 230 && it->green(x, y) > 230 && it->blue(x, y) > 230;
                    white.push_back(w);
                    whiteCount += w;
                    if (it->alpha(x, y) == 255 && it->red(x, y) > 2 * it->green(x, y) && it->red(x, y) > 2 * it->blue(x, y))
                        ++redCount;
                }
            EXPECT_GE(whiteCount, m < 10 ? 7 : 14) << "the number is drawn";
            EXPECT_GT(redCount, whiteCount) << "on a tomato";
            EXPECT_TRUE(numbers.insert(white).second) << "looks like another minute";
        }
    }
}

} // namespace
