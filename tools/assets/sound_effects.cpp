// The game's sound effects, each synthesized for its role.
#include <array>
#include <cstdio>
#include <stdexcept>

#include "game/frame/sound_table.h"
#include "synth.h"

namespace assets {
namespace {

constexpr double kEffectPeak = 0.89;  // about -1 dBFS; the tunes sit well below

// A zap whose pitch glides from one frequency to another while it fades.
std::vector<float> Laser(double fromHz, double toHz, double seconds, double pulseWidth,
                         double noise, uint64_t seed) {
  Phasor osc;
  OnePole tone;
  AssetRng rng(seed);
  return Render(seconds, [&](double t) {
    double p = osc.Advance(Glide(fromHz, toHz, t, seconds * 0.8));
    double s = Square(p, osc.step, pulseWidth) * 0.7 + Sine(p) * 0.3;
    s += noise * rng.Range(-1, 1);
    return tone.LowPass(s, 6000) * Pluck(t, 0.002, seconds * 0.35);
  });
}

// Filtered noise with a falling rumble under it.
std::vector<float> Explosion(double seconds, double cutoff, double rumbleHz, uint64_t seed) {
  AssetRng rng(seed);
  Svf filter;
  Phasor rumble;
  double crackle = 0;
  return Render(seconds, [&](double t) {
    // Sparse louder grains give the noise a crackle.
    if (rng.Unit() < 0.002) crackle = rng.Range(0.5, 1.0);
    crackle *= 0.995;
    double n = rng.Range(-1, 1) * (0.7 + crackle);
    filter.Step(n, Glide(cutoff, 120, t, seconds), 0.8);
    double body = filter.low * Pluck(t, 0.004, seconds * 0.3);
    double low = Sine(rumble.Advance(Glide(rumbleHz, 30, t, seconds * 0.7))) *
                 Pluck(t, 0.003, seconds * 0.22);
    return body * 1.2 + low * 0.8;
  });
}

// Bell-like notes: a sine with a quieter octave and a faint inharmonic shimmer.
std::vector<float> Bell(double midi, double seconds, double brightness = 0.4) {
  Phasor a, b, c;
  double hz = NoteHz(midi);
  return Render(seconds, [&](double t) {
    double s = Sine(a.Advance(hz)) + brightness * Sine(b.Advance(hz * 2)) * Pluck(t, 0.002, 0.12) +
               0.15 * Sine(c.Advance(hz * 3.01)) * Pluck(t, 0.002, 0.05);
    return s * Pluck(t, 0.004, seconds * 0.3);
  });
}

// A soft square note for chiptune-like motifs.
std::vector<float> Blip(double midi, double seconds, double width = 0.5) {
  Phasor osc;
  OnePole tone;
  double hz = NoteHz(midi);
  return Render(seconds, [&](double t) {
    double s = Square(osc.Advance(hz), osc.step, width);
    // A plucked fall rather than a held tone: menu ticks repeat often and must not grate.
    return tone.LowPass(s, 4000) * Pluck(t, 0.003, seconds * 0.4) *
           Gate(t, 0, seconds * 0.8, seconds * 0.2);
  });
}

// Notes one after another, each step later, as blips or bells.
std::vector<float> Motif(std::initializer_list<double> notes, double step, double noteLength,
                         bool bell, double tail = 0.3) {
  std::vector<float> out;
  double at = 0;
  for (double midi : notes) {
    MixAt(out, bell ? Bell(midi, noteLength + tail) : Blip(midi, noteLength), at, 0.6);
    at += step;
  }
  return out;
}

// Noise swept through a band, for whooshes and engines.
std::vector<float> Whoosh(double seconds, double fromHz, double toHz, uint64_t seed) {
  AssetRng rng(seed);
  Svf filter;
  return Render(seconds, [&](double t) {
    filter.Step(rng.Range(-1, 1), Glide(fromHz, toHz, t, seconds), 3);
    return filter.band * Gate(t, seconds * 0.3, seconds * 0.4, seconds * 0.3);
  });
}

std::vector<float> TakeOff() {
  Phasor engine;
  AssetRng rng(4);
  Svf air;
  OnePole tone;
  return Render(1.6, [&](double t) {
    double hz = Glide(55, 220, t, 1.4);
    double s = Saw(engine.Advance(hz), engine.step) * 0.5;
    air.Step(rng.Range(-1, 1), Glide(300, 3000, t, 1.5), 2);
    return (tone.LowPass(s, 900) + air.band * 0.8) * Gate(t, 0.25, 1.0, 0.6);
  });
}

std::vector<float> Hit() {
  AssetRng rng(5);
  Svf ring;
  Phasor ping;
  return Render(0.12, [&](double t) {
    ring.Step(rng.Range(-1, 1), 3200, 4);
    return ring.band * Pluck(t, 0.001, 0.02) +
           0.6 * Sine(ping.Advance(Glide(1400, 700, t, 0.1))) * Pluck(t, 0.001, 0.03);
  });
}

std::vector<float> TrackerHit() {
  Phasor osc, ringMod;
  return Render(0.28, [&](double t) {
    double s = Saw(osc.Advance(Glide(1100, 140, t, 0.25)), osc.step);
    return s * Sine(ringMod.Advance(310)) * Pluck(t, 0.002, 0.08);
  });
}

std::vector<float> BombDrop() {
  Phasor whistle;
  auto out = Render(0.7, [&](double t) {
    return Sine(whistle.Advance(Glide(1900, 320, t, 0.65))) * Gate(t, 0.02, 0.55, 0.13) * 0.6;
  });
  MixAt(out, Explosion(0.25, 900, 90, 149), 0.0, 0.5);
  return out;
}

std::vector<float> GrenadeThrow() {
  Phasor thump;
  auto out = Render(0.2, [&](double t) {
    return Sine(thump.Advance(Glide(220, 60, t, 0.15))) * Pluck(t, 0.002, 0.05);
  });
  MixAt(out, Bell(96, 0.3, 0.2), 0.06, 0.35);  // the pin
  return out;
}

std::vector<float> TrackerLaunch() {
  Phasor osc, wobble;
  return Render(0.4, [&](double t) {
    double hz = Glide(280, 1500, t, 0.35) * (1 + 0.05 * Sine(wobble.Advance(28)));
    return Square(osc.Advance(hz), osc.step, 0.3) * Gate(t, 0.01, 0.25, 0.14) * 0.7;
  });
}

std::vector<float> TurretDeploy() {
  Phasor servo;
  OnePole tone;
  auto out = Render(0.45, [&](double t) {
    double s = Saw(servo.Advance(Glide(180, 420, t, 0.35)), servo.step);
    return tone.LowPass(s, 1200) * Gate(t, 0.02, 0.3, 0.12) * 0.5;
  });
  MixAt(out, Hit(), 0.0, 0.7);
  MixAt(out, Hit(), 0.33, 0.7);
  return out;
}

std::vector<float> BigLazer() {
  Phasor a, b, c, whine, vibrato;
  OnePole tone;
  return Render(1.0, [&](double t) {
    double v = 1 + 0.01 * Sine(vibrato.Advance(7));
    double s = Saw(a.Advance(110 * v), a.step) + Saw(b.Advance(111.6 * v), b.step) +
               0.6 * Saw(c.Advance(220.5 * v), c.step);
    double beam = tone.LowPass(s, Glide(5000, 700, t, 0.9)) * 0.4;
    double high = 0.25 * Sine(whine.Advance(Glide(2600, 1800, t, 0.9)));
    return (beam + high) * Gate(t, 0.01, 0.7, 0.28);
  });
}

std::vector<float> ShipDestroyed() {
  auto out = Explosion(1.5, 5000, 70, 3);
  Phasor fall;
  MixAt(out,
        Render(0.9,
               [&](double t) {
                 return Square(fall.Advance(Glide(520, 50, t, 0.85)), fall.step) *
                        Pluck(t, 0.003, 0.3);
               }),
        0.0, 0.35);
  return out;
}

// The six weapon pickups: the same rising call on a different root and timbre each.
std::vector<float> WeaponPickup(int weapon) {
  double root = 72 + 2 * (weapon - 49);
  bool bell = weapon % 2 == 1;
  return Motif({root, root + 4, root + 7, root + 12}, 0.055, 0.07, bell, 0.2);
}

std::vector<float> Synthesize(int id) {
  switch (id) {
    case sfx::kBlip:
      return Blip(81, 0.06, 0.25);
    case sfx::kGun:
      return Laser(1500, 260, 0.18, 0.5, 0.08, 2);
    case sfx::kShipDestroyed:
      return ShipDestroyed();
    case sfx::kTakeOff:
      return TakeOff();
    case sfx::kShotHit:
      return Hit();
    case sfx::kDelivery:
      return Motif({72, 76, 79, 84, 88}, 0.09, 0.12, true, 0.5);
    case sfx::kItemCollect:
      return Motif({88, 95, 100}, 0.06, 0.08, true, 0.3);
    case sfx::kTurretShot:
      return Laser(2300, 700, 0.09, 0.3, 0.05, 8);
    case sfx::kFirstBreak:
      return Explosion(0.55, 3500, 110, 10);
    case sfx::kFirstBreak + 1:
      return Explosion(0.7, 2500, 90, 11);
    case sfx::kFirstBreak + 2:
      return Explosion(0.85, 1800, 70, 12);
    case sfx::kFirstBreak + 3:
      return Explosion(0.45, 4500, 140, 13);
    case sfx::kTrackerHit:
      return TrackerHit();
    case sfx::kLevelStart:
      return Motif({67, 72, 76, 79, 84}, 0.11, 0.1, false, 0.0);
    case sfx::WeaponPickup(weapon::kBomb):
    case sfx::WeaponPickup(weapon::kGrenade):
    case sfx::WeaponPickup(weapon::kTracker):
    case sfx::WeaponPickup(weapon::kTurret):
    case sfx::WeaponPickup(weapon::kOrbitBlaster):
    case sfx::WeaponPickup(weapon::kBigLazer):
      return WeaponPickup(id);
    case sfx::kWhoosh:
      return Whoosh(0.4, 3000, 400, 95);
    case sfx::kStartJingle:
      return Motif({72, 79, 88, 86, 91, 96}, 0.13, 0.3, true, 0.9);
    case sfx::kConfirm:
      return Motif({76, 83}, 0.07, 0.09, false);
    case sfx::kMove:
      return Blip(88, 0.045, 0.5);
    case sfx::WeaponFire(weapon::kBomb):
      return BombDrop();
    case sfx::WeaponFire(weapon::kGrenade):
      return GrenadeThrow();
    case sfx::WeaponFire(weapon::kTracker):
      return TrackerLaunch();
    case sfx::WeaponFire(weapon::kTurret):
      return TurretDeploy();
    case sfx::WeaponFire(weapon::kBigLazer):
      return BigLazer();
    default:
      throw std::runtime_error("no sound for effect " + std::to_string(id));
  }
}

}  // namespace

std::span<const int> EffectIds() {
  return sfx::kAllEffects;
}

std::string EffectFileName(int id) {
  char name[32];
  std::snprintf(name, sizeof name, "sfx/%03d.wav", id);
  return name;
}

std::vector<float> SynthesizeEffect(int id) {
  std::vector<float> samples = Synthesize(id);
  FadeEdges(samples, 0.002, 0.01);
  Normalise(samples, kEffectPeak);
  return samples;
}

}  // namespace assets
