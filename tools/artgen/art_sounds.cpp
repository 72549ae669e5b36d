#include "artwork.h"

namespace artgen {

namespace {
constexpr int kSampleRate = 22050;
}

// The timer plays this in a loop for the whole pomodoro, so it must be soft
// and the file exactly one second long: one tick a second, no drift.
Pcm makeTickSound() {
  Pcm pcm(kSampleRate, 1.0);
  // A small wooden block: a couple of quickly damped body modes and a short
  // filtered knock for the attack.
  addPartial(pcm, 0.0, 1180.0, 1.00, 0.0075, 0.0004);
  addPartial(pcm, 0.0, 2610.0, 0.45, 0.0040, 0.0003);
  addPartial(pcm, 0.0, 4150.0, 0.18, 0.0022, 0.0002);
  addNoiseBurst(pcm, 0.0, 0.9, 0.0018, 600.0, 5000.0, 0x7143u);
  silenceFrom(pcm, 0.08);
  normalize(pcm, 0.32);
  return pcm;
}

// End of a period: a small bell struck twice.
Pcm makeBellSound() {
  Pcm pcm(kSampleRate, 2.2);
  struct Mode {
    double ratio, amplitude, decay;
  };
  // Inharmonic partials of a bell (hum, prime, minor third, fifth, nominal
  // and above), the higher ones dying sooner; two close twins beat slowly.
  static constexpr Mode kModes[] = {
      {0.500, 0.30, 1.10}, {1.000, 1.00, 0.80}, {1.003, 0.35, 0.80}, {1.188, 0.50, 0.60}, {1.502, 0.30, 0.45},
      {2.000, 0.38, 0.40}, {2.510, 0.22, 0.25}, {2.662, 0.16, 0.22}, {3.015, 0.10, 0.16}, {4.170, 0.07, 0.10},
  };
  const double fundamental = 1046.5;  // C6
  const double strikes[] = {0.0, 0.42};
  const double strikeLevel[] = {1.0, 0.8};
  for (int s = 0; s < 2; ++s) {
    int n = 0;
    for (const Mode& m : kModes)
      addPartial(pcm, strikes[s], fundamental * m.ratio, m.amplitude * strikeLevel[s], m.decay, 0.002,
                 0.37 * ++n);
    addNoiseBurst(pcm, strikes[s], 0.25 * strikeLevel[s], 0.004, 1500.0, 9000.0,
                  0xBE11u + static_cast<unsigned>(s));
  }
  fadeOut(pcm, 0.25);
  normalize(pcm, 0.70);
  return pcm;
}

}  // namespace artgen
