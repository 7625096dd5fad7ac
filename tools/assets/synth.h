#pragma once
// Small synthesis kit: band-limited oscillators, filters and envelopes shared by the sound
// effects and the tunes. Times are in seconds, frequencies in hertz.
#include <cmath>
#include <span>
#include <vector>

#include "audio_assets.h"
#include "rng.h"

namespace assets {

inline double NoteHz(double midi) {
  return 440.0 * std::pow(2.0, (midi - 69) / 12);
}

// A phase in cycles that advances with a (possibly changing) frequency.
struct Phasor {
  double phase = 0, step = 0;
  double Advance(double hz) {
    step = hz / kSampleRate;
    phase += step;
    phase -= std::floor(phase);
    return phase;
  }
};

double Sine(double phase);
double Triangle(double phase);
// Saw and square with polyBLEP edges so that high notes do not alias into whistles.
double Saw(double phase, double step);
double Square(double phase, double step, double width = 0.5);

// Chamberlin state-variable filter; the outputs of the last step are kept.
struct Svf {
  double low = 0, band = 0, high = 0;
  void Step(double in, double cutoffHz, double resonance);
};

struct OnePole {
  double z = 0;
  double LowPass(double in, double cutoffHz);
  // What the low pass removes.
  double HighPass(double in, double cutoffHz) { return in - LowPass(in, cutoffHz); }
};

// Linear attack, then an exponential fall with the given time constant.
double Pluck(double t, double attack, double decay);
// Linear attack, hold, linear release: 0 outside [0, length + release].
double Gate(double t, double attack, double length, double release);
// Exponential glide from a to b over the time, then b.
double Glide(double a, double b, double t, double time);

// Fills seconds of mono sound by calling make(t) for each sample.
template <typename Make>
std::vector<float> Render(double seconds, Make make) {
  std::vector<float> out(static_cast<size_t>(seconds * kSampleRate));
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<float>(make(double(i) / kSampleRate));
  return out;
}
// Adds b into a starting at the given time, growing a if needed.
void MixAt(std::vector<float>& a, const std::vector<float>& b, double at, double gain = 1.0);
// Short fades at both ends so no effect starts or stops with a click.
void FadeEdges(std::vector<float>& samples, double fadeIn, double fadeOut);
// Scales so the largest magnitude is peak.
void Normalise(std::span<float> samples, double peak);

}  // namespace assets
