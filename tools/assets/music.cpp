// The five tunes: a bass line, chords, a lead melody and drums laid out on a grid of
// sixteenth notes from each tune's style and seed, rendered so that the end runs into the start.
#include <algorithm>
#include <array>
#include <cmath>

#include "synth.h"

namespace assets {
namespace {

constexpr const char* kTuneNames[] = {"Robust", "Trying", "Unknown", "Versatile", "Xeroxed"};
constexpr double kTunePeak = 0.5;  // -6 dBFS: a few dB under the effects
constexpr double kMinSeconds = 46;
constexpr int kStepsPerBar = 16;
constexpr int kBarsPerSection = 8;

using Scale = std::array<int, 7>;
constexpr Scale kMinor{0, 2, 3, 5, 7, 8, 10};
constexpr Scale kDorian{0, 2, 3, 5, 7, 9, 10};
constexpr Scale kPhrygian{0, 1, 3, 5, 7, 8, 10};
constexpr Scale kMajor{0, 2, 4, 5, 7, 9, 11};

struct TuneStyle {
  double bpm;
  int root;  // MIDI note of the key's tonic in the bass octave
  Scale scale;
  std::array<int, 4> chordsA, chordsB;  // scale degrees, one chord per bar
  int bassPattern, drumPattern;
  bool arpeggio;     // broken chords instead of held ones
  double leadWidth;  // pulse width of the lead
  double swing;      // delay of the off sixteenths, in steps
  int density;       // 0 calm .. 2 busy melody
  uint64_t seed;
};

constexpr TuneStyle kStyles[] = {
    // Robust: driving minor rock at 128.
    {128, 45, kMinor, {0, 5, 2, 6}, {3, 0, 4, 4}, 0, 0, false, 0.5, 0, 2, 101},
    // Trying: laid-back dorian half-time groove.
    {100, 38, kDorian, {0, 3, 0, 6}, {2, 3, 4, 3}, 1, 1, false, 0.35, 0.25, 1, 202},
    // Unknown: slow, dark and sparse, arpeggiated.
    {84, 40, kPhrygian, {0, 1, 0, 6}, {5, 1, 3, 1}, 2, 2, true, 0.25, 0, 0, 303},
    // Versatile: bright and upbeat major pop.
    {140, 48, kMajor, {0, 4, 5, 3}, {3, 4, 0, 4}, 4, 3, false, 0.5, 0, 2, 404},
    // Xeroxed: mechanical sixteenth-note minor.
    {112, 42, kMinor, {0, 0, 5, 6}, {3, 2, 5, 4}, 3, 4, true, 0.15, 0, 1, 505},
};

int DegreeToMidi(const TuneStyle& s, int degree) {
  int octave = degree >= 0 ? degree / 7 : (degree - 6) / 7;
  return s.root + 12 * octave + s.scale[degree - 7 * octave];
}

// A stereo loop: notes that run past the end continue at the start.
class LoopBuffer {
 public:
  explicit LoopBuffer(size_t frames) : left_(frames), right_(frames) {}
  void Add(size_t start, const std::vector<float>& note, double gain, double pan) {
    double l = gain * std::sqrt(0.5 * (1 - pan)), r = gain * std::sqrt(0.5 * (1 + pan));
    for (size_t i = 0; i < note.size(); ++i) {
      size_t at = (start + i) % left_.size();
      left_[at] += static_cast<float>(note[i] * l);
      right_[at] += static_cast<float>(note[i] * r);
    }
  }
  // A ping-pong echo; run over the loop twice so that the tail of the end reaches the start.
  void Echo(size_t delay, double feedback, double wet, LoopBuffer& out) const {
    std::vector<float> lineL(delay), lineR(delay);
    size_t n = left_.size();
    for (size_t pass = 0; pass < 2; ++pass) {
      for (size_t i = 0; i < n; ++i) {
        size_t k = (pass * n + i) % delay;
        float dl = lineL[k], dr = lineR[k];
        lineL[k] = static_cast<float>(right_[i] + dr * feedback);
        lineR[k] = static_cast<float>(left_[i] + dl * feedback);
        if (pass == 1) {
          out.left_[i] += static_cast<float>(left_[i] + dl * wet);
          out.right_[i] += static_cast<float>(right_[i] + dr * wet);
        }
      }
    }
  }
  void MixInto(LoopBuffer& out) const {
    for (size_t i = 0; i < left_.size(); ++i) {
      out.left_[i] += left_[i];
      out.right_[i] += right_[i];
    }
  }
  std::vector<float> Interleaved() const {
    std::vector<float> out(left_.size() * 2);
    for (size_t i = 0; i < left_.size(); ++i) {
      out[2 * i] = static_cast<float>(std::tanh(left_[i]));
      out[2 * i + 1] = static_cast<float>(std::tanh(right_[i]));
    }
    return out;
  }

 private:
  std::vector<float> left_, right_;
};

// ---- Instruments: each returns one note as mono samples ----

std::vector<float> BassNote(double midi, double seconds) {
  Phasor osc, sub;
  OnePole tone, tone2;
  double hz = NoteHz(midi);
  return Render(seconds + 0.03, [&](double t) {
    double s = Saw(osc.Advance(hz), osc.step) * 0.7 + Sine(sub.Advance(hz / 2)) * 0.5;
    double cutoff = 250 + 1600 * Pluck(t, 0.002, 0.08);
    return tone2.LowPass(tone.LowPass(s, cutoff), cutoff * 1.5) * Gate(t, 0.004, seconds, 0.03);
  });
}

std::vector<float> PadNote(double midi, double seconds, double detune) {
  Phasor a, b;
  OnePole tone;
  double hz = NoteHz(midi);
  return Render(seconds + 0.25, [&](double t) {
    double s =
        Saw(a.Advance(hz * (1 + detune)), a.step) + Saw(b.Advance(hz * (1 - detune)), b.step);
    return tone.LowPass(s, 1400) * Gate(t, 0.08, seconds, 0.25) * 0.5;
  });
}

std::vector<float> PluckNote(double midi, double seconds) {
  Phasor osc;
  OnePole tone;
  double hz = NoteHz(midi);
  return Render(seconds + 0.15, [&](double t) {
    double s = Square(osc.Advance(hz), osc.step, 0.3);
    return tone.LowPass(s, 700 + 3000 * Pluck(t, 0.001, 0.06)) * Pluck(t, 0.002, 0.12) *
           Gate(t, 0, seconds, 0.15);
  });
}

std::vector<float> LeadNote(double midi, double seconds, double width) {
  Phasor osc, vibrato;
  OnePole tone;
  double hz = NoteHz(midi);
  return Render(seconds + 0.06, [&](double t) {
    double depth = std::min(1.0, std::max(0.0, (t - 0.15) * 4)) * 0.006;
    double p = osc.Advance(hz * (1 + depth * Sine(vibrato.Advance(5.5))));
    return tone.LowPass(Square(p, osc.step, width), 3200) * Gate(t, 0.006, seconds, 0.06) *
           (0.75 + 0.25 * Pluck(t, 0.006, 0.2));
  });
}

std::vector<float> Kick() {
  Phasor osc;
  return Render(0.35, [&](double t) {
    return Sine(osc.Advance(Glide(160, 42, t, 0.12))) * Pluck(t, 0.001, 0.12);
  });
}

std::vector<float> Snare(uint64_t seed) {
  AssetRng rng(seed);
  Svf band;
  Phasor body;
  return Render(0.25, [&](double t) {
    band.Step(rng.Range(-1, 1), 2200, 0.9);
    return (band.band + band.high * 0.3) * Pluck(t, 0.001, 0.06) +
           0.5 * Sine(body.Advance(185)) * Pluck(t, 0.001, 0.04);
  });
}

std::vector<float> Hat(double seconds, uint64_t seed) {
  AssetRng rng(seed);
  OnePole hp;
  return Render(seconds, [&](double t) {
    return hp.HighPass(rng.Range(-1, 1), 7000) * Pluck(t, 0.0005, seconds * 0.25);
  });
}

// ---- Patterns ----

struct PatternNote {
  int step, length, semitones;
};

const std::vector<PatternNote>& BassPattern(int index) {
  static const std::vector<PatternNote> kPatterns[] = {
      {{0, 2, 0}, {2, 2, 0}, {4, 2, 12}, {6, 2, 0}, {8, 2, 0}, {10, 2, 0}, {12, 2, 12}, {14, 2, 7}},
      {{0, 4, 0}, {4, 2, 0}, {6, 2, 7}, {8, 4, 0}, {12, 2, 12}, {14, 2, 7}},
      {{0, 6, 0}, {6, 2, 7}, {8, 8, 0}},
      {{0, 1, 0},
       {1, 1, 0},
       {2, 1, 12},
       {3, 1, 0},
       {4, 1, 0},
       {5, 1, 12},
       {6, 1, 0},
       {7, 1, 7},
       {8, 1, 0},
       {9, 1, 0},
       {10, 1, 12},
       {11, 1, 0},
       {12, 1, 0},
       {13, 1, 12},
       {14, 1, 7},
       {15, 1, 10}},
      {{0, 3, 0}, {3, 1, 0}, {6, 2, 12}, {8, 2, 7}, {10, 1, 0}, {11, 3, 12}, {14, 2, 7}},
  };
  return kPatterns[index];
}

struct DrumPattern {
  uint16_t kick, snare, hat, openHat;  // bit s set: a hit on step s
};

constexpr uint16_t Steps(std::initializer_list<int> steps) {
  uint16_t bits = 0;
  for (int s : steps) bits |= uint16_t(1u << s);
  return bits;
}

constexpr DrumPattern kDrums[] = {
    {Steps({0, 4, 8, 12}), Steps({4, 12}), Steps({0, 4, 8, 12}), Steps({2, 6, 10, 14})},
    {Steps({0, 10}), Steps({8}), Steps({0, 2, 4, 6, 8, 10, 12, 14}), Steps({14})},
    {Steps({0, 7}), Steps({12}), Steps({0, 4, 8, 12}), 0},
    {Steps({0, 6, 8, 11}), Steps({4, 12}), 0xFFFF, Steps({14})},
    {Steps({0, 3, 8, 11}), Steps({4, 12}), 0xFFFF, Steps({6})},
};

bool IsChordTone(int degree, int chord) {
  int interval = ((degree - chord) % 7 + 7) % 7;
  return interval == 0 || interval == 2 || interval == 4;
}

// The closest tone of the chord to where the line is; now and then the second closest, so
// that the melody keeps moving.
int NearestChordTone(AssetRng& rng, int degree, int chord) {
  std::vector<int> tones;
  for (int d = degree - 3; d <= degree + 3; ++d) {
    if (IsChordTone(d, chord)) tones.push_back(d);
  }
  std::stable_sort(tones.begin(), tones.end(),
                   [degree](int a, int b) { return std::abs(a - degree) < std::abs(b - degree); });
  return tones[rng.Unit() < 0.65 ? 0 : 1];
}

// A two-bar motif: rhythm cells per beat, chord tones on the beat, steps between.
std::vector<PatternNote> MakeMotif(AssetRng& rng, const TuneStyle& s, int firstChord,
                                   int secondChord, bool cadence) {
  static const std::vector<std::vector<std::pair<int, int>>> kCells = {
      {{0, 4}}, {{0, 2}, {2, 2}}, {{0, 3}, {3, 1}}, {{0, 2}, {2, 1}}, {}, {{0, 8}}};
  std::vector<PatternNote> notes;
  int degree = 7 + rng.Int(0, 4);
  for (int beat = 0; beat < 8;) {
    int pick = rng.Int(0, 3 + s.density);  // calm tunes draw more long notes and rests
    int cell = s.density == 0 ? std::array<int, 4>{5, 0, 4, 2}[pick % 4]
                              : std::array<int, 6>{1, 0, 2, 3, 1, 4}[pick % 6];
    if (cell == 5 && (beat % 2 == 1 || beat == 7)) cell = 0;
    if (beat == 7) cell = cadence ? 0 : 4;
    int chord = beat < 4 ? firstChord : secondChord;
    for (auto [offset, length] : kCells[cell]) {
      if (offset == 0) {
        degree = NearestChordTone(rng, degree, chord);
      } else {
        degree += rng.Unit() < 0.5 ? 1 : -1;
      }
      if (cadence && beat == 7) degree = 7 + 7 * (degree > 10);
      degree = std::clamp(degree, 5, 15);
      notes.push_back({beat * 4 + offset, length, degree});
    }
    beat += cell == 5 ? 2 : 1;
  }
  return notes;
}

class Composer {
 public:
  explicit Composer(const TuneStyle& style)
      : s_(style),
        rng_(style.seed),
        stepSeconds_(60.0 / style.bpm / 4),
        bars_(SectionsNeeded() * kBarsPerSection),
        frames_(
            static_cast<size_t>(std::lround(bars_ * kStepsPerBar * stepSeconds_ * kSampleRate))),
        drums_(frames_),
        bass_(frames_),
        chords_(frames_),
        lead_(frames_) {}

  std::vector<float> Compose() {
    std::array<std::vector<PatternNote>, 4> motifsA = Motifs(s_.chordsA);
    std::array<std::vector<PatternNote>, 4> motifsB = Motifs(s_.chordsB);
    for (int section = 0; section * kBarsPerSection < bars_; ++section) {
      bool partB = section % 2 == 1;
      const auto& chords = partB ? s_.chordsB : s_.chordsA;
      int firstBar = section * kBarsPerSection;
      for (int bar = 0; bar < kBarsPerSection; ++bar) {
        int chord = chords[bar % 4];
        bool lastBar = bar == kBarsPerSection - 1;
        Drums(firstBar + bar, lastBar, section == 0 && bar == 0);
        Bass(firstBar + bar, chord);
        Chords(firstBar + bar, chord);
      }
      // The lead rests for the first half of the opening section, then sings the phrases;
      // repeats of a part go up an octave.
      const auto& motifs = partB ? motifsB : motifsA;
      int octave = section >= 2 ? 7 : 0;
      for (int m = section == 0 ? 2 : 0; m < 4; ++m) {
        Lead(motifs[m], firstBar + 2 * m, octave);
      }
    }
    LoopBuffer mix(frames_);
    drums_.MixInto(mix);
    bass_.MixInto(mix);
    chords_.MixInto(mix);
    lead_.Echo(StepFrame(3), 0.35, 0.45, mix);
    std::vector<float> out = mix.Interleaved();
    Normalise(out, kTunePeak);
    return out;
  }

 private:
  int SectionsNeeded() const {
    double sectionSeconds = kBarsPerSection * kStepsPerBar * stepSeconds_;
    return static_cast<int>(std::ceil(kMinSeconds / sectionSeconds));
  }

  size_t StepFrame(double step) const {
    // Off sixteenths lag by the swing amount.
    double swing = (static_cast<int>(step) % 2 == 1) ? s_.swing : 0;
    return static_cast<size_t>(std::lround((step + swing) * stepSeconds_ * kSampleRate));
  }
  size_t BarStep(int bar, int step) const { return StepFrame(bar * kStepsPerBar + step); }
  double StepsToSeconds(int steps) const { return steps * stepSeconds_; }

  std::array<std::vector<PatternNote>, 4> Motifs(const std::array<int, 4>& chords) {
    auto first = MakeMotif(rng_, s_, chords[0], chords[1], false);
    auto answer = MakeMotif(rng_, s_, chords[2], chords[3], false);
    auto ending = MakeMotif(rng_, s_, chords[2], chords[3], true);
    // Statement, its repeat, an answer, and a cadence back home.
    return {first, first, answer, ending};
  }

  void Drums(int bar, bool fill, bool firstBar) {
    static const std::vector<float> kick = Kick(), snare = Snare(7), ghost = Snare(9),
                                    hat = Hat(0.05, 11), openHat = Hat(0.22, 13);
    const DrumPattern& p = kDrums[s_.drumPattern];
    for (int step = 0; step < kStepsPerBar; ++step) {
      uint16_t bit = uint16_t(1u << step);
      size_t at = BarStep(bar, step);
      if (p.kick & bit) drums_.Add(at, kick, 0.95, 0);
      if (p.snare & bit) drums_.Add(at, snare, 0.5, 0.1);
      if (fill && step >= 12 && !(p.snare & bit))
        drums_.Add(at, ghost, 0.22 + 0.05 * (step - 12), 0.1);
      if (p.openHat & bit) {
        drums_.Add(at, openHat, 0.16, 0.35);
      } else if (p.hat & bit) {
        drums_.Add(at, hat, step % 4 == 0 ? 0.2 : 0.12, 0.35);
      }
    }
    if (firstBar) drums_.Add(BarStep(bar, 0), openHat, 0.2, -0.3);  // the crash of each loop
  }

  void Bass(int bar, int chord) {
    int root = DegreeToMidi(s_, chord);
    if (root > s_.root + 7) root -= 12;
    for (const PatternNote& n : BassPattern(s_.bassPattern)) {
      bass_.Add(BarStep(bar, n.step), BassNote(root + n.semitones, StepsToSeconds(n.length) * 0.9),
                0.5, 0);
    }
  }

  void Chords(int bar, int chord) {
    std::array<int, 3> tones{};
    for (int i = 0; i < 3; ++i) tones[i] = DegreeToMidi(s_, chord + 2 * i) + 12;
    for (int& t : tones) {
      while (t > s_.root + 12 + 14) t -= 12;  // keep the voicing in one register
    }
    if (s_.arpeggio) {
      for (int step = 0; step < kStepsPerBar; step += 2) {
        int up = (step / 2) % 4;
        int tone = tones[up == 3 ? 1 : up] + (step >= 8 ? 12 : 0);
        chords_.Add(BarStep(bar, step), PluckNote(tone, StepsToSeconds(2)), 0.2,
                    step % 4 == 0 ? -0.4 : 0.4);
      }
      return;
    }
    double seconds = StepsToSeconds(kStepsPerBar) - 0.05;
    for (int i = 0; i < 3; ++i) {
      chords_.Add(BarStep(bar, 0), PadNote(tones[i], seconds, 0.004), 0.12, -0.6 + 0.6 * i);
    }
  }

  void Lead(const std::vector<PatternNote>& motif, int bar, int octave) {
    for (const PatternNote& n : motif) {
      double midi = DegreeToMidi(s_, n.semitones + octave) + 12;
      lead_.Add(BarStep(bar, n.step), LeadNote(midi, StepsToSeconds(n.length) * 0.85, s_.leadWidth),
                0.26, -0.15);
    }
  }

  const TuneStyle& s_;
  AssetRng rng_;
  double stepSeconds_;
  int bars_;
  size_t frames_;
  LoopBuffer drums_, bass_, chords_, lead_;
};

}  // namespace

std::span<const char* const> TuneNames() {
  return kTuneNames;
}

std::vector<float> ComposeTune(int index) {
  return Composer(kStyles[index]).Compose();
}

}  // namespace assets
