// A tiny additive synthesizer and a PCM WAV writer for the timer's sounds.
#pragma once

#include <cstdint>
#include <vector>

#include "bytes.h"

namespace artgen {

// Mono samples in [-1, 1].
struct Pcm {
  int sampleRate = 22050;
  std::vector<double> samples;

  Pcm(int rate, double seconds);
  double seconds() const { return double(samples.size()) / sampleRate; }
};

// A sine partial starting at `start` seconds: linear attack, then an
// exponential decay with time constant `decay` seconds (amplitude / e).
void addPartial(Pcm& pcm, double start, double frequency, double amplitude, double decay, double attack = 0.001,
                double phase = 0);

// A burst of band-limited noise (one-pole high-pass then low-pass), decaying
// exponentially: the "knock" part of a strike. Seeded, so it is repeatable.
void addNoiseBurst(Pcm& pcm, double start, double amplitude, double decay, double lowCutHz, double highCutHz,
                   std::uint32_t seed);

// Scales so the largest magnitude becomes `peak` (silence stays silence).
void normalize(Pcm& pcm, double peak);

// Ramps the last `seconds` down to zero so a looped or cut sound ends without a click.
void fadeOut(Pcm& pcm, double seconds);

// Zeroes everything from `from` seconds on.
void silenceFrom(Pcm& pcm, double from);

double peakOf(const Pcm& pcm);

// 16-bit PCM mono RIFF/WAVE, samples clamped and rounded to nearest.
Bytes encodeWav16(const Pcm& pcm);

}  // namespace artgen
