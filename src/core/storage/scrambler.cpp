#include "storage/scrambler.h"

#include <cstdint>

namespace tirelmo {

namespace {

inline std::uint8_t rotl3(std::uint8_t v) { return static_cast<std::uint8_t>((v << 3) | (v >> 5)); }
inline std::uint8_t rotr3(std::uint8_t v) { return static_cast<std::uint8_t>((v >> 3) | (v << 5)); }

}  // namespace

void scrambleBytes(const void* src, void* dst, std::size_t n) {
  const auto* in = static_cast<const std::uint8_t*>(src);
  auto* out = static_cast<std::uint8_t*>(dst);
  std::uint8_t k = 1;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t t = static_cast<std::uint8_t>((kScramblerKey[i & 7] ^ in[i]) + k);
    const std::uint8_t o = rotl3(t);
    out[i] = o;
    k = o & 3;
  }
}

int descrambleBytes(const void* src, void* dst, std::size_t n) {
  const auto* in = static_cast<const std::uint8_t*>(src);
  auto* out = static_cast<std::uint8_t*>(dst);
  std::uint8_t k = 1;
  for (std::size_t i = 0; i < n; ++i) {
    // The carry comes from the scrambled byte, so take it before an in-place store.
    const std::uint8_t b = in[i];
    out[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(rotr3(b) - k) ^ kScramblerKey[i & 7]);
    k = b & 3;
  }
  return 0;
}

}  // namespace tirelmo
