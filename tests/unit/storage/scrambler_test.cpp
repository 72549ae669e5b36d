#include "storage/scrambler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace tirelmo {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes scrambled(const Bytes& in) {
  Bytes out(in.size(), 0xEE);
  scrambleBytes(in.data(), out.data(), in.size());
  return out;
}

Bytes descrambled(const Bytes& in) {
  Bytes out(in.size(), 0xEE);
  EXPECT_EQ(descrambleBytes(in.data(), out.data(), in.size()), 0);
  return out;
}

// Worked by hand from the algorithm (key "marbella" = 6D 61 72 62 65 6C 6C 61, carry k
// starts at 1, out = rotl3((key ^ in) + k), next k = out & 3):
//
// "A" as UTF-16LE, 41 00:
//   i=0: 6D^41 = 2C, +1 = 2D = 0010'1101, rotl3 = 0110'1001 = 69, k = 1
//   i=1: 61^00 = 61, +1 = 62 = 0110'0010, rotl3 = 0001'0011 = 13
// 92 00 (the sum wraps past 255 and the carry becomes 0):
//   i=0: 6D^92 = FF, +1 = 00, rotl3 = 00, k = 0
//   i=1: 61^00 = 61, +0 = 61 = 0110'0001, rotl3 = 0000'1011 = 0B
// nine zero bytes (the key starts over at i=8, this time with k = 3):
//   6D+1=6E -> 73 (k=3); 61+3=64 -> 23; 72+3=75 -> AB; 62+3=65 -> 2B; 65+3=68 -> 43;
//   6C+3=6F -> 7B; 6F -> 7B; 64 -> 23; 6D+3=70 -> 83
TEST(Scrambler, MatchesBytesWorkedByHand) {
  const struct {
    Bytes plain, expected;
  } cases[] = {
      {{0x41, 0x00}, {0x69, 0x13}},
      {{0x92, 0x00}, {0x00, 0x0B}},
      {Bytes(9, 0x00), {0x73, 0x23, 0xAB, 0x2B, 0x43, 0x7B, 0x7B, 0x23, 0x83}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(scrambled(c.plain), c.expected);
    EXPECT_EQ(descrambled(c.expected), c.plain);
  }
}

TEST(Scrambler, EveryByteValueAtEveryKeyPositionComesBack) {
  // Byte i holds i / 8, so each of the 256 values meets each of the 8 key positions; the
  // second run shuffles the same bytes so the values meet other carries as well.
  Bytes run(256 * 8);
  for (std::size_t i = 0; i < run.size(); ++i) run[i] = static_cast<unsigned char>(i / 8);
  Bytes shuffled = run;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(20210514));

  for (const Bytes& plain : {run, shuffled}) {
    const Bytes s = scrambled(plain);
    EXPECT_NE(s, plain);
    EXPECT_EQ(descrambled(s), plain);

    // The program scrambles a line's bytes in place before writing them.
    Bytes inPlace = plain;
    scrambleBytes(inPlace.data(), inPlace.data(), inPlace.size());
    EXPECT_EQ(inPlace, s);
    descrambleBytes(inPlace.data(), inPlace.data(), inPlace.size());
    EXPECT_EQ(inPlace, plain);
  }
}

}  // namespace
}  // namespace tirelmo
