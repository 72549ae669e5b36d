// Repeatable randomness for procedural textures. Everything is integer
// hashing and plain arithmetic, so a given seed gives the same picture on
// every machine and with every standard library (the <random> distributions
// are free to differ between implementations).
#pragma once

#include <cstdint>

namespace artgen {

// SplitMix64: small, fast and good enough to scatter folds and fibres.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  // Uniform in [lo, hi).
  double uniform(double lo, double hi);
  // Uniform integer in [0, n); n must be positive.
  int below(int n);

 private:
  std::uint64_t state_;
};

// Smoothly interpolated lattice noise in [0, 1] with features about one unit apart.
double valueNoise(double x, double y, std::uint32_t seed);

// Sum of `octaves` layers of value noise, each at twice the frequency and
// `gain` times the weight of the one before, scaled back into [0, 1].
double fractalNoise(double x, double y, int octaves, double gain, std::uint32_t seed);

}  // namespace artgen
