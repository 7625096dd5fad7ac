#include "synth.h"

#include <algorithm>

namespace assets {
namespace {

double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1;
  }
  if (t > 1 - dt) {
    t = (t - 1) / dt;
    return t * t + t + t + 1;
  }
  return 0;
}

}  // namespace

double Sine(double phase) {
  return std::sin(2 * M_PI * phase);
}

double Triangle(double phase) {
  return 1 - 4 * std::abs(phase - 0.5);
}

double Saw(double phase, double step) {
  return 2 * phase - 1 - PolyBlep(phase, step);
}

double Square(double phase, double step, double width) {
  double shifted = phase + (1 - width);
  shifted -= std::floor(shifted);
  return 0.5 * (Saw(phase, step) - Saw(shifted, step)) + (width - 0.5);
}

void Svf::Step(double in, double cutoffHz, double resonance) {
  double f = 2 * std::sin(M_PI * std::min(cutoffHz, kSampleRate / 6.0) / kSampleRate);
  double q = 1 / std::max(resonance, 0.5);
  low += f * band;
  high = in - low - q * band;
  band += f * high;
}

double OnePole::LowPass(double in, double cutoffHz) {
  double a = 1 - std::exp(-2 * M_PI * cutoffHz / kSampleRate);
  z += a * (in - z);
  return z;
}

double Pluck(double t, double attack, double decay) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

double Gate(double t, double attack, double length, double release) {
  if (t < 0 || t > length + release) return 0;
  double level = t < attack ? t / attack : 1.0;
  if (t > length) level *= 1 - (t - length) / release;
  return level;
}

double Glide(double a, double b, double t, double time) {
  if (t >= time) return b;
  return a * std::pow(b / a, t / time);
}

void MixAt(std::vector<float>& a, const std::vector<float>& b, double at, double gain) {
  size_t start = static_cast<size_t>(at * kSampleRate);
  if (a.size() < start + b.size()) a.resize(start + b.size());
  for (size_t i = 0; i < b.size(); ++i) a[start + i] += static_cast<float>(b[i] * gain);
}

void FadeEdges(std::vector<float>& samples, double fadeIn, double fadeOut) {
  size_t in = std::min(samples.size(), static_cast<size_t>(fadeIn * kSampleRate));
  size_t out = std::min(samples.size(), static_cast<size_t>(fadeOut * kSampleRate));
  for (size_t i = 0; i < in; ++i) samples[i] *= static_cast<float>(double(i) / in);
  for (size_t i = 0; i < out; ++i)
    samples[samples.size() - 1 - i] *= static_cast<float>(double(i) / out);
}

void Normalise(std::span<float> samples, double peak) {
  float top = 0;
  for (float s : samples) top = std::max(top, std::abs(s));
  if (top <= 0) return;
  float gain = static_cast<float>(peak / top);
  for (float& s : samples) s *= gain;
}

}  // namespace assets
