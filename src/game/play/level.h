// The level in play: the ship, its objects and weapons acting on the world, drawn through the
// frame, heard through the game's sound calls and steered by the game keys. It holds the
// components it uses, and nothing of the screens.
#pragma once

#include "base/string.h"
#include "game/core/globals.h"
#include "game/frame/controls.h"
#include "game/frame/frame.h"
#include "game/frame/game_audio.h"
#include "game/frame/game_io.h"
#include "game/play/play.h"
#include "game/world/world_map.h"

class Level {
 public:
  Level(Play& play, WorldMap& world, GameFrame& frame, Controls& controls, GameIO& io,
        const Platform& platform, const int& debugMode)
      : play(play),
        world(world),
        frame(frame),
        controls(controls),
        io(io),
        platform_(platform),
        debugMode_(debugMode) {}

  Play& play;
  WorldMap& world;
  GameFrame& frame;
  Controls& controls;
  GameIO& io;

  // ---- The level's start (play.cpp) ----
  // Builds the world for world.Level (MaxBads and MaxWeaps set first) and puts the ship, its
  // weapon and the items where the level starts them. Makes no sound: the screen that starts
  // the level plays it.
  void BuildWorld();

  // ---- Rooms (rooms.cpp) ----
  // Draws one room; the active room also hands its waiting enemies over to play.
  void DrawRoom(int rx, int ry, int active);

  // ---- Play (play.cpp) ----
  // One update of a level in play; true in the update the ship finishes the level (its
  // take-off ends), which the screen flow answers by moving the menu on.
  bool Game();
  // Clears the per-level Player entries.
  void ResetPlayers();

  // ---- Objects and enemies (objects.cpp) ----
  // Start of the free object record with the highest start, -1 when none is free.
  int FreeSlot();
  void AddABad(int rx, int ry);
  // Puts the enemy a map code stands for into play at a tile centre; false when the pool is
  // full (the code then stays in the map).
  bool HandOverEnemy(int code, float x, float y);
  // Moves, draws and resolves every live object.
  void UpdateObjects();

  // ---- Weapons (weapons.cpp) ----
  // The main gun and the special weapon, from the fire keys.
  void FireWeapons();
  // Starts the orbiting blaster (pickup 453).
  void StartOrbitBlaster();
  // Rebuilds the orbiting ball around the ship.
  void UpdateOrbitBlaster();
  // Damages the block at a pixel; a broken block releases what it hides.
  void ShootShit(int x, int y, int damage);

 private:
  // ---- Objects and enemies (objects.cpp) ----
  // What a creator puts into a free record; the room is always the current one.
  struct NewObject {
    int kind = 0;
    float x = 0, y = 0, vx = 0, vy = 0, angle = 0, spin = 0, strength = 0, timer = 0;
  };
  void PlaceObject(int start, const NewObject& object);
  // Room index of Player 11, 12; -1 when they name no room of the world.
  int CurrentRoom() const;
  // Truncation toward zero that saturates at the int range; NaN gives 0.
  static int Truncate(float value);
  // Moves a velocity component toward a target by base + range u (one draw), unless equal.
  static void SteerToward(float& velocity, float from, float to, float base, float range);
  // Closer than reach to (x, y) in both axes.
  static bool Near(const float* object, float x, float y, float reach);
  // Sparks of kind 1 or 2 and colour 3..6 flying off at speed 3.
  void ThrowSparks(float x, float y, int count);
  // 0.7 + 0.6 u, the rate of hit and break sounds.
  static float RandomRate();
  void UpdateObject(int start);
  // Spends on the enemy the shots that reach it; false when it was destroyed.
  bool TakeHits(int start);
  void MoveEnemy(float* enemy, int kind);
  void Walk(float* enemy);
  void Chase(float* enemy);
  void Crawl(float* enemy, int turn);
  void Patrol(float* barrier);
  bool BlockedAcross(const float* object) const;
  bool BlockedDown(const float* object) const;
  void TouchShip(const float* enemy);
  // Frees an object the ship has left behind, parking an enemy in the map; true if freed.
  bool LeaveRoom(float* object, int kind);
  void StrikeTiles(float* shot, int kind);

  // ---- Weapons (weapons.cpp) ----
  // Shots spread evenly around a point, each placed radius out and flying outward.
  struct Ring {
    int shots;
    float radius, speed, strength;
  };
  bool MayFire() const;
  void FireMainGun();
  void FireSpecial();
  void LaunchWeapon(int kind);
  void FireBigLazer();
  // Per-update behaviour of weapons 49..52; false when the weapon was used up.
  bool UpdateWeapon(float* thrown, int kind);
  void UpdateBomb(float* bomb);
  void UpdateGrenade(float* grenade);
  void UpdateTracker(float* tracker);
  void UpdateTurret(float* turret);
  void FireRing(const float* from, const Ring& ring);
  // One shot from (x, y) toward angle, placed radius out; none when the pool is full.
  void FireShot(float x, float y, float angle, float radius, float speed, float strength);
  // Player 103 when it names a record start, else -1.
  int OrbitRecord() const;
  // The record the ball is rebuilt in: its own, or a free one when another object took it.
  int BallRecord();
  void StopOrbitBlaster();
  // The world index of the tile a shot at (x, y) may damage, -1 when there is none.
  int BreakableTile(int x, int y) const;

  const Platform& platform_;
  const int& debugMode_;
};
