#include "noise.h"

#include <cmath>

namespace artgen {

namespace {

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
  h *= 0x27D4EB2Fu;
  h ^= h >> 15;
  h *= 0x165667B1u;
  h ^= h >> 13;
  return h;
}

double lattice(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  return (hash3(x, y, seed) >> 8) / double(1u << 24);
}

double smooth(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

}  // namespace

std::uint64_t Rng::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Rng::uniform(double lo, double hi) { return lo + (hi - lo) * ((next() >> 11) / double(1ull << 53)); }

int Rng::below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

double valueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy);
  const double tx = smooth(x - fx), ty = smooth(y - fy);
  const double a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
  const double c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
  const double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double fractalNoise(double x, double y, int octaves, double gain, std::uint32_t seed) {
  double sum = 0, weight = 1, total = 0, freq = 1;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * valueNoise(x * freq, y * freq, seed + 101u * static_cast<std::uint32_t>(i));
    total += weight;
    weight *= gain;
    freq *= 2;
  }
  return total > 0 ? sum / total : 0;
}

}  // namespace artgen
