// Play: the ship's record, the objects, particles and stars, the camera, score and lives of
// the level in play, and the backdrop the rooms are drawn on.
// May use: core, frame, world.
#pragma once

#include <array>

#include "base/runtime.h"

struct GameFrame;
struct WorldMap;

constexpr int kStarFloats = 5100;
constexpr int kPlayerFloats = 512;
constexpr int kObjectFloats = 2500;
constexpr int kParticleFloats = 5100;

struct Play {
  // ---- Backdrop and stars (rooms.cpp) ----
  // Eases the backdrop toward (red, green, blue) and starts the frame's drawing; a colour
  // below kLowestBackdropTarget (kKeepBackdrop) keeps its target, alpha kOpaqueBackdrop means
  // opaque, red at -3717 keeps the clear colour.
  static constexpr int kLowestBackdropTarget = -122;
  static constexpr int kKeepBackdrop = -123;
  static constexpr float kOpaqueBackdrop = -123.0f;
  void DoBG(GameFrame& frame, int red, int green, int blue, float alpha);
  // count stars (kept when out of range) scattered over the frame's screen.
  void ResetStars(const GameFrame& frame, int count);
  // Moves and draws the star field by (dx, dy) scaled by each star's depth.
  void DoStars(GameFrame& frame, float dx, float dy);

  // ---- Particles (particles.cpp): sparks, debris and exhaust that never affect play ----
  // An angle or speed of kNoArg draws a random one.
  void ThrowParticle(float x, float y, int kind, int colour, float angle = kNoArg,
                     float speed = kNoArg);
  // Moves and draws every live particle; bouncing ones bounce off the world's solid tiles.
  void DoParticles(GameFrame& frame, const WorldMap& world);
  // Start of the free particle record with the highest index, -1 when none is free.
  int FreeParticle() const;
  void ResetParticles(int count);

  std::array<float, kPlayerFloats> Player{};
  std::array<float, kObjectFloats> Objects{};
  int ParticleCount = 250;
  std::array<float, kParticleFloats> Particles{};
  int StarCount = 100;
  std::array<float, kStarFloats> Stars{};
  std::array<float, 3> BgTarget{};
  std::array<float, 3> BgColour{};
  int Score = 0;
  int ShownScore = 0;
  int Lives = 0;
  int LevelIntro = 0;
  int ExitState = 0;
  float CamX = 0, CamTargetX = 0, CamY = 0, CamTargetY = 0;
  int HudHidden = 0;
  // The HUD's score text and the value it shows, rebuilt only when the shown score changes.
  int HudScoreValue = -1;
  static constexpr int kHudScoreDigits = 8;
  std::array<char16_t, kHudScoreDigits> HudScoreDigits{};
  // Counts up once the last life is lost; the game-over overlay runs on it.
  int GameOverTimer = 0;
  // A replay or a demo is on screen: it files no score and saves nothing.
  bool Spectating = false;
};

// Sets the draw colour to particle colour `colour` at brightness `level`.
void Ink(GameFrame& frame, int colour, float level);
