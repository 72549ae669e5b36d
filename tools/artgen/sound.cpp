#include "sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace artgen {

Pcm::Pcm(int rate, double secs) : sampleRate(rate) {
  samples.assign(static_cast<std::size_t>(std::llround(std::max(0.0, secs) * rate)), 0.0);
}

namespace {

std::size_t indexAt(const Pcm& pcm, double t) {
  const long long i = std::llround(std::max(0.0, t) * pcm.sampleRate);
  return std::min(static_cast<std::size_t>(i), pcm.samples.size());
}

}  // namespace

void addPartial(Pcm& pcm, double start, double frequency, double amplitude, double decay, double attack,
                double phase) {
  const double w = 2 * std::numbers::pi * frequency / pcm.sampleRate;
  for (std::size_t i = indexAt(pcm, start); i < pcm.samples.size(); ++i) {
    const double t = double(i) / pcm.sampleRate - start;
    const double env = (attack > 0 && t < attack ? t / attack : 1.0) * std::exp(-t / decay);
    if (env < 1e-6 && t > attack) break;
    pcm.samples[i] += amplitude * env * std::sin(w * (double(i) - start * pcm.sampleRate) + phase);
  }
}

void addNoiseBurst(Pcm& pcm, double start, double amplitude, double decay, double lowCutHz, double highCutHz,
                   std::uint32_t seed) {
  const double dt = 1.0 / pcm.sampleRate;
  const double rcHigh = 1.0 / (2 * std::numbers::pi * lowCutHz);
  const double alphaHigh = rcHigh / (rcHigh + dt);
  const double rcLow = 1.0 / (2 * std::numbers::pi * highCutHz);
  const double alphaLow = dt / (rcLow + dt);
  std::uint32_t state = seed ? seed : 1u;
  double prevIn = 0, high = 0, low = 0;
  for (std::size_t i = indexAt(pcm, start); i < pcm.samples.size(); ++i) {
    const double t = double(i) / pcm.sampleRate - start;
    const double env = std::exp(-t / decay);
    if (env < 1e-6) break;
    // xorshift32: fixed sequence on every platform.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    const double white = double(state) / 4294967295.0 * 2.0 - 1.0;
    high = alphaHigh * (high + white - prevIn);
    prevIn = white;
    low += alphaLow * (high - low);
    pcm.samples[i] += amplitude * env * low;
  }
}

double peakOf(const Pcm& pcm) {
  double peak = 0;
  for (double s : pcm.samples) peak = std::max(peak, std::abs(s));
  return peak;
}

void normalize(Pcm& pcm, double peak) {
  const double now = peakOf(pcm);
  if (now <= 0) return;
  for (double& s : pcm.samples) s *= peak / now;
}

void fadeOut(Pcm& pcm, double seconds) {
  const std::size_t n =
      std::min(pcm.samples.size(), static_cast<std::size_t>(std::llround(seconds * pcm.sampleRate)));
  const std::size_t first = pcm.samples.size() - n;
  for (std::size_t i = 0; i < n; ++i) pcm.samples[first + i] *= 1.0 - double(i + 1) / double(n);
}

void silenceFrom(Pcm& pcm, double from) {
  std::fill(pcm.samples.begin() + static_cast<std::ptrdiff_t>(indexAt(pcm, from)), pcm.samples.end(), 0.0);
}

Bytes encodeWav16(const Pcm& pcm) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(pcm.samples.size() * 2);
  const std::uint32_t rate = static_cast<std::uint32_t>(pcm.sampleRate);
  ByteWriter w;
  w.tag("RIFF");
  w.u32(36 + dataBytes);
  w.tag("WAVE");
  w.tag("fmt ");
  w.u32(16);
  w.u16(1);  // PCM
  w.u16(1);  // mono
  w.u32(rate);
  w.u32(rate * 2);  // bytes a second
  w.u16(2);         // block align
  w.u16(16);
  w.tag("data");
  w.u32(dataBytes);
  for (double s : pcm.samples) {
    const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
    w.u16(static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))));
  }
  return w.take();
}

}  // namespace artgen
