// The generated bitmaps as the program's drawing code will use them: sizes and cell
// layouts, the sprite's mask rule, the toolbar's two states, the timer's strips, and the
// resource script that puts each picture under its id.
#include "art_output.h"
#include "bmp_reader.h"
#include "win32/art_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

using bmptest::Image;
using bmptest::luminance;
namespace fs = std::filesystem;

struct Resource {
    std::string type; // "BITMAP" or "ICON"
    std::string file;
};

// id -> resource, from the generated art_resources.rc; every line must be a comment,
// blank or "<id> BITMAP|ICON "<file>"".
std::map<int, Resource> resourceTable()
{
    std::map<int, Resource> table;
    const arttest::Bytes text = arttest::artFile("art_resources.rc");
    std::string all(text.begin(), text.end());
    std::stringstream lines(all);
    const std::regex entry(R"re(^(\d+) (BITMAP|ICON) "([^"]+)"\r?$)re");
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_match(line, m, entry)) {
            const int id = std::stoi(m[1]);
            EXPECT_FALSE(table.count(id)) << "id " << id << " given twice";
            table[id] = Resource{m[2], m[3]};
        } else {
            EXPECT_TRUE(line.empty() || line == "\r" || line.rfind("//", 0) == 0) << "unexpected line: " << line;
        }
    }
    return table;
}

Image bitmap(int id)
{
    const auto table = resourceTable();
    const auto it = table.find(id);
    if (it == table.end() || it->second.type != "BITMAP") {
        ADD_FAILURE() << "no bitmap " << id;
        return Image{};
    }
    return bmptest::readBmp(arttest::artFile(it->second.file));
}

// "name = value" of every `inline constexpr int` in a header.
std::map<std::string, int> constantsIn(const fs::path& header, const std::string& prefix)
{
    const arttest::Bytes bytes = arttest::readAll(header);
    const std::string text(bytes.begin(), bytes.end());
    std::map<std::string, int> out;
    const std::regex constant("constexpr\\s+\\w+\\s+(" + prefix + "\\w*)\\s*=\\s*(\\d+)\\s*;");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), constant); it != std::sregex_iterator(); ++it)
        out[(*it)[1]] = std::stoi((*it)[2]);
    return out;
}

bool redDominant(std::uint32_t c) { return bmptest::red(c) > 1.5 * bmptest::green(c) && bmptest::red(c) > 1.5 * bmptest::blue(c); }
bool greenDominant(std::uint32_t c) { return bmptest::green(c) > bmptest::red(c) + 20 && bmptest::green(c) > bmptest::blue(c) + 20; }

// The toolbar bitmaps, by the ids of the toolbar table.
constexpr std::array<int, 21> kToolbarIds = {129, 169, 138, 159, 128, 163, 127, 145, 146, 126, 137,
                                             130, 144, 131, 133, 132, 164, 204, 165, 203, 201};

TEST(ArtResources, ScriptNamesEveryPictureOnceUnderItsId)
{
    const auto table = resourceTable();
    std::set<int> bitmaps, icons;
    for (const auto& [id, r] : table) {
        SCOPED_TRACE(id);
        const bool isBmp = r.file.size() > 4 && r.file.substr(r.file.size() - 4) == ".bmp";
        const bool isIco = r.file.size() > 4 && r.file.substr(r.file.size() - 4) == ".ico";
        EXPECT_TRUE(r.type == "BITMAP" ? isBmp : isIco) << r.type << " " << r.file;
        EXPECT_TRUE(fs::exists(arttest::generatedArt() / r.file)) << r.file;
        (r.type == "BITMAP" ? bitmaps : icons).insert(id);
    }
    std::set<int> expectedBitmaps = {106, 202, 160, 168, 172, 147, 154, 166, 167, 210, 211};
    expectedBitmaps.insert(kToolbarIds.begin(), kToolbarIds.end());
    EXPECT_EQ(bitmaps, expectedBitmaps);
    std::set<int> expectedIcons = {212};
    for (int m = 0; m <= 25; ++m) expectedIcons.insert(175 + m);
    EXPECT_EQ(icons, expectedIcons);
    EXPECT_FALSE(table.count(149)) << "the program icon is named by tirelmo.rc itself";
}

TEST(ArtResources, NamedIdsInTheWindowCodeMatchTheScript)
{
    const auto table = resourceTable();
    const auto named = constantsIn(arttest::sourceRoot() / "src/win32/art_ids.h", "k(?:Bmp|Ico)");
    ASSERT_GE(named.size(), 30u) << "art_ids.h not found or not parsed";
    std::set<int> namedIds;
    for (const auto& [name, id] : named) {
        SCOPED_TRACE(name);
        namedIds.insert(id);
        ASSERT_TRUE(table.count(id)) << "no resource " << id;
        EXPECT_EQ(table.at(id).type, name.rfind("kBmp", 0) == 0 ? "BITMAP" : "ICON");
    }
    for (const auto& [id, r] : table) {
        const bool countdown = id >= tirelmo::art::kIcoCountdownFirst && id <= tirelmo::art::kIcoCountdownLast;
        EXPECT_TRUE(namedIds.count(id) || countdown) << r.file << " (" << id << ") has no name in art_ids.h";
    }
    EXPECT_EQ(tirelmo::art::countdownIcon(0), 175);
    EXPECT_EQ(tirelmo::art::countdownIcon(25), 200);
}

TEST(ArtResources, CoreBitmapIdsAgreeWithTheResources)
{
    // The page drawing in the core names bitmaps by number too; a name both headers
    // define must carry the same number, or a page draws the wrong picture.
    const fs::path core = arttest::sourceRoot() / "src/core/ui/bitmap_ids.h";
    if (!fs::exists(core)) GTEST_SKIP() << "no core bitmap ids yet";
    const auto ours = constantsIn(arttest::sourceRoot() / "src/win32/art_ids.h", "kBmp");
    for (const auto& [name, id] : constantsIn(core, "kBmp")) {
        const auto it = ours.find(name);
        if (it != ours.end()) {
            EXPECT_EQ(id, it->second) << name << " in src/core/ui/bitmap_ids.h";
        }
    }
}

TEST(ArtBitmaps, EveryBitmapHasItsDocumentedSize)
{
    struct Size {
        int w, h;
    };
    std::map<int, Size> sizes = {
        {106, {224, 56}},  {202, {13 * 18, 18}}, {160, {13 * 11, 11}}, {168, {24, 24}},   {172, {24, 24}},
        {147, {1400, 1300}}, {154, {1400, 1300}}, {166, {250, 189}},   {167, {1460, 139}}, {210, {11 * 28, 5 * 56}},
    };
    for (int id : kToolbarIds) sizes[id] = {40, 80};
    for (const auto& [id, size] : sizes) {
        SCOPED_TRACE(id);
        const Image img = bitmap(id);
        EXPECT_EQ(img.width, size.w);
        EXPECT_EQ(img.height, size.h);
    }
    const Image gauge = bitmap(211);
    EXPECT_GE(gauge.width, 200) << "a 100-pixel window starting anywhere from x 0 to x 100";
    EXPECT_EQ(gauge.height, 6);
}

TEST(ArtBitmaps, LargeSkinBitmapsArePalettizedAndRunLengthCoded)
{
    // Two 1400 x 1300 papers at 24 bits would be 11 MB of program file.
    for (int id : {147, 154, 167}) {
        SCOPED_TRACE(id);
        const auto table = resourceTable();
        const arttest::Bytes bytes = arttest::artFile(table.at(id).file);
        const Image img = bmptest::readBmp(bytes);
        EXPECT_EQ(img.bits, 8);
        EXPECT_EQ(img.compression, 1u) << "BI_RLE8";
        EXPECT_LT(bytes.size(), 512u * 1024u);
    }
}

class ArtScoreSprite : public ::testing::Test {
protected:
    void SetUp() override
    {
        sprite = bitmap(106);
        ASSERT_EQ(sprite.width, 8 * kCell);
        ASSERT_EQ(sprite.height, 2 * kCell);
    }
    static constexpr int kCell = 28;
    std::uint32_t picture(int cell, int x, int y) const { return sprite.at(cell * kCell + x, y); }
    std::uint32_t mask(int cell, int x, int y) const { return sprite.at(cell * kCell + x, kCell + y); }
    bool ink(int cell, int x, int y) const { return mask(cell, x, y) == 0; }
    // Columns [first, last] that hold ink in a cell; first > last when it is empty.
    std::pair<int, int> inkColumns(int cell) const
    {
        int first = kCell, last = -1;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (ink(cell, x, y)) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return {first, last};
    }
    Image sprite;
};

TEST_F(ArtScoreSprite, MaskIsTheExactComplementOfThePicture)
{
    // Drawn as (page AND mask) OR picture: the mask must be pure black or white, black
    // exactly where the picture has colour, and the picture black everywhere else.
    for (int cell = 0; cell < 8; ++cell)
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
                const std::uint32_t m = mask(cell, x, y);
                ASSERT_TRUE(m == 0 || m == 0xFFFFFF) << "cell " << cell << " at " << x << "," << y;
                ASSERT_EQ(m == 0, picture(cell, x, y) != 0) << "cell " << cell << " at " << x << "," << y;
            }
    // Over any paper, what shows is the picture where it has ink and the paper elsewhere.
    for (std::uint32_t paper : {0xFFFFFFu, 0xFCFFE8u, 0x8D7A55u}) {
        for (int cell = 1; cell < 8; ++cell)
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x) {
                    const std::uint32_t shown = (paper & mask(cell, x, y)) | picture(cell, x, y);
                    ASSERT_EQ(shown, ink(cell, x, y) ? picture(cell, x, y) : paper);
                }
    }
}

TEST_F(ArtScoreSprite, CellZeroIsBlankAndEveryOtherCellHasItsMark)
{
    EXPECT_EQ(inkColumns(0).second, -1) << "cell 0 is never drawn and stays clear";
    for (int cell = 1; cell < 8; ++cell) {
        int count = 0;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) count += ink(cell, x, y);
        EXPECT_GE(count, 25) << "cell " << cell;
    }
}

TEST_F(ArtScoreSprite, MarksFitTheStepsOfTheScoreColumn)
{
    // Repeated marks are drawn this many pixels apart and must not run into each other;
    // the count text follows the first mark at a fixed distance, so marks start at the left.
    const std::map<int, int> step = {{1, 24}, {2, 8}, {4, 12}, {5, 22}, {6, 22}};
    for (const auto& [cell, width] : step) {
        SCOPED_TRACE(cell);
        const auto [first, last] = inkColumns(cell);
        EXPECT_LE(last - first + 1, width);
        EXPECT_LE(first, 3);
    }
}

TEST_F(ArtScoreSprite, EachMarkLooksLikeWhatItCounts)
{
    auto share = [&](int cell, auto pred) {
        int n = 0, all = 0;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (ink(cell, x, y)) {
                    ++all;
                    n += pred(picture(cell, x, y));
                }
        return all ? double(n) / all : 0.0;
    };
    EXPECT_GT(share(1, redDominant), 0.5) << "pomodoro: a red tomato";
    EXPECT_GT(share(3, greenDominant), 0.6) << "done: a green tick";
    EXPECT_GT(share(2, [](std::uint32_t c) { return bmptest::blue(c) > bmptest::red(c) + 40; }), 0.6)
        << "internal interruption: an ink apostrophe";
    EXPECT_GT(share(4, [](std::uint32_t c) { return bmptest::red(c) > bmptest::green(c) && bmptest::green(c) > bmptest::blue(c) + 30; }),
              0.5)
        << "external interruption: an orange bolt";
    // Estimated: an empty tomato, its middle left clear; abandoned: crossed out in the middle.
    EXPECT_FALSE(ink(6, 10, 13));
    EXPECT_GT(share(6, redDominant), 0.4);
    EXPECT_TRUE(ink(5, 10, 15));
    EXPECT_LT(luminance(picture(5, 10, 15)), 90) << "the cross over the fruit";
}

TEST(ArtBitmaps, CategorySquaresCarryTheCategoryColours)
{
    constexpr std::array<std::uint32_t, 13> kFill = {0xE6E6E6, 0xDB0B1B, 0xF5DC4B, 0xA4DE78, 0xC9E2FF, 0xF5D5F5, 0x2323F4,
                                                     0xFC8A50, 0x006C00, 0x9D00EB, 0xB5B5B5, 0x282828, 0xFF4EFF};
    for (auto [id, cell] : {std::pair{202, 18}, std::pair{160, 11}}) {
        SCOPED_TRACE(id);
        const Image img = bitmap(id);
        ASSERT_EQ(img.width, 13 * cell);
        for (int n = 0; n < 13; ++n) {
            // The inside is the category's colour; a darker rim keeps pale ones visible.
            for (int y = 1; y < cell - 1; ++y)
                for (int x = 1; x < cell - 1; ++x) ASSERT_EQ(img.at(n * cell + x, y), kFill[n]) << "category " << n;
            EXPECT_LT(luminance(img.at(n * cell, 0)), luminance(kFill[n])) << "category " << n;
            EXPECT_LT(luminance(img.at(n * cell + cell - 1, cell - 1)), luminance(kFill[n])) << "category " << n;
        }
    }
}

TEST(ArtBitmaps, ToolbarButtonsHaveDistinctPicturesAndAPressedState)
{
    std::set<std::vector<std::uint32_t>> released;
    for (int id : kToolbarIds) {
        SCOPED_TRACE(id);
        const Image img = bitmap(id);
        ASSERT_EQ(img.width, 40);
        ASSERT_EQ(img.height, 80);
        std::vector<std::uint32_t> up(img.pixels.begin(), img.pixels.begin() + 40 * 40);
        std::vector<std::uint32_t> down(img.pixels.begin() + 40 * 40, img.pixels.end());
        EXPECT_NE(up, down);
        double lumUp = 0, lumDown = 0;
        for (std::size_t i = 0; i < up.size(); ++i) {
            lumUp += luminance(up[i]);
            lumDown += luminance(down[i]);
        }
        EXPECT_LT(lumDown, lumUp) << "pressed looks pushed in";
        // A picture on the face: plenty of pixels far from the face colour of their row.
        int drawn = 0;
        for (int y = 6; y < 34; ++y)
            for (int x = 6; x < 34; ++x) {
                const std::uint32_t face = img.at(3, y), p = img.at(x, y);
                const int d = std::max({std::abs(bmptest::red(p) - bmptest::red(face)), std::abs(bmptest::green(p) - bmptest::green(face)),
                                        std::abs(bmptest::blue(p) - bmptest::blue(face))});
                drawn += d > 40;
            }
        EXPECT_GT(drawn, 60);
        EXPECT_TRUE(released.insert(up).second) << "looks like another button";
    }
}

TEST(ArtBitmaps, DigitStripHasElevenDistinctImagesPerStyle)
{
    const Image img = bitmap(210);
    ASSERT_EQ(img.width, 308);
    ASSERT_EQ(img.height, 280);
    auto cellOf = [&](int style, int column) {
        std::vector<std::uint32_t> px;
        for (int y = 0; y < 56; ++y)
            for (int x = 0; x < 28; ++x) px.push_back(img.at(column * 28 + x, style * 56 + y));
        return px;
    };
    // Ink: how far a cell's pixels are from its own background (column 0 of each row).
    auto inkOf = [&](int style, int column) {
        double sum = 0;
        for (int y = 0; y < 56; ++y)
            for (int x = 0; x < 28; ++x)
                sum += std::abs(luminance(img.at(column * 28 + x, style * 56 + y)) - luminance(img.at(column * 28, style * 56 + y)));
        return sum;
    };
    std::set<std::vector<std::uint32_t>> seen;
    for (int style = 0; style < 5; ++style) {
        SCOPED_TRACE(style);
        for (int column = 0; column < 11; ++column) EXPECT_TRUE(seen.insert(cellOf(style, column)).second) << column;
        // Tens and units images sit side by side: their backgrounds must meet.
        for (int column = 1; column < 11; ++column)
            for (int y : {1, 28, 54}) EXPECT_EQ(img.at(column * 28, style * 56 + y), img.at(0, style * 56 + y));
        EXPECT_LT(inkOf(style, 10) * 3, inkOf(style, 1)) << "the blank tens image";
        EXPECT_GT(inkOf(style, 8), inkOf(style, 1) * 2) << "8 lights all segments, 1 two";
    }
    // The rows follow the styles: Classic (red), Grey, Light Grey, Yellow, Blue.
    auto background = [&](int style) { return img.at(0, style * 56 + 28); };
    EXPECT_TRUE(redDominant(background(0)));
    EXPECT_LT(luminance(background(1)), luminance(background(2)));
    EXPECT_LT(std::abs(bmptest::red(background(1)) - bmptest::blue(background(1))), 20);
    EXPECT_GT(bmptest::green(background(3)), bmptest::blue(background(3)) + 80);
    EXPECT_GT(bmptest::blue(background(4)), bmptest::red(background(4)) + 80);
}

TEST(ArtBitmaps, GaugeShowsTheAbandonedShareFromTheLeft)
{
    // The page copies 100 x 6 pixels starting at x = 100 - percentage: exactly
    // `percentage` red columns from the left, green after them.
    const Image img = bitmap(211);
    ASSERT_GE(img.width, 200);
    for (int percentage = 0; percentage <= 100; ++percentage) {
        for (int i = 0; i < 100; ++i) {
            const int x = 100 - percentage + i;
            for (int y = 1; y < 5; ++y) {
                if (i < percentage) {
                    ASSERT_TRUE(redDominant(img.at(x, y))) << percentage << "% column " << i;
                } else {
                    ASSERT_TRUE(greenDominant(img.at(x, y))) << percentage << "% column " << i;
                }
            }
        }
    }
}

TEST(ArtBitmaps, PapersAreLightEvenTexturesForText)
{
    for (auto [id, warm] : {std::pair{147, false}, std::pair{154, true}}) {
        SCOPED_TRACE(id);
        const Image img = bitmap(id);
        ASSERT_EQ(img.pixels.size(), std::size_t(1400) * 1300);
        double sum = 0, sum2 = 0, warmth = 0;
        for (std::uint32_t p : img.pixels) {
            const double l = luminance(p);
            sum += l;
            sum2 += l * l;
            warmth += bmptest::red(p) - bmptest::blue(p);
        }
        const double n = double(img.pixels.size());
        const double mean = sum / n, spread = std::sqrt(std::max(0.0, sum2 / n - mean * mean));
        EXPECT_GT(mean, 210) << "text must stay readable on it";
        EXPECT_GT(spread, 1.5) << "a texture, not a flat fill";
        EXPECT_LT(spread, 16) << "no strong pattern behind the rows";
        if (warm) {
            EXPECT_GT(warmth / n, 20) << "parchment is warm";
        } else {
            EXPECT_LT(std::abs(warmth / n), 8) << "crumpled paper is a neutral off-white";
        }
    }
}

TEST(ArtBitmaps, HeaderStripLeavesTheFormAreaClear)
{
    // The strip sits at y 84 centred on the window; the header form and the gauge are
    // written over its middle, so that stays near white. The ends are decorated.
    const Image img = bitmap(167);
    ASSERT_EQ(img.width, 1460);
    for (int y = 30; y < 125; ++y)
        for (int x = 330; x < 1130; ++x) ASSERT_GE(luminance(img.at(x, y)), 245) << x << "," << y;
    int coloured = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < 300; ++x) coloured += redDominant(img.at(x, y)) || greenDominant(img.at(x, y));
    EXPECT_GT(coloured, 500);
}

TEST(ArtBitmaps, ClassicPictureContinuesThePaperUnderIt)
{
    // The "classic" skin fills its paper RGB(252,255,232), draws fine lines RGB(225,225,225)
    // every third of its 63-pixel rows from x 41 and from the rows top 124, row lines
    // RGB(210,210,210) every 63 pixels, then puts this picture at (471, 364).
    const Image img = bitmap(166);
    ASSERT_EQ(img.width, 250);
    ASSERT_EQ(img.height, 189);
    auto fineColumn = [](int x) { return (471 + x - 41) % 21 == 0; };
    auto fineRow = [](int y) { return (364 + y - 124) % 21 == 0; };
    auto rowLine = [](int y) { return (364 + y - 124) % 63 == 0; };
    int checked = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 250; ++x) {
            const std::uint32_t expected = rowLine(y) ? 0xD2D2D2 : (fineRow(y) || fineColumn(x)) ? 0xE1E1E1 : 0xFCFFE8;
            ASSERT_EQ(img.at(x, y), expected) << x << "," << y;
            ++checked;
        }
    EXPECT_EQ(checked, 5000);
    int red = 0;
    for (std::uint32_t p : img.pixels) red += redDominant(p);
    EXPECT_GT(red, 3000) << "a tomato timer on the desk";
}

TEST(ArtBitmaps, RowPicturesAreSmallAndDrawn)
{
    for (int id : {168, 172}) {
        SCOPED_TRACE(id);
        const Image img = bitmap(id);
        ASSERT_EQ(img.width, 24);
        ASSERT_EQ(img.height, 24);
        std::set<std::uint32_t> colours(img.pixels.begin(), img.pixels.end());
        EXPECT_GT(colours.size(), 4u);
        EXPECT_EQ(img.at(0, 12), img.at(23, 12)) << "plain background at both sides";
    }
    EXPECT_EQ(bitmap(168).at(0, 0), 0xFFFFFFu) << "the hourglass sits on white paper";
}

} // namespace
