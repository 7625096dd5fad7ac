// The autopilot: plays a level with the game keys alone, through the same input a player
// gives. It reads the world and the ship but never changes them: it plans a route over the
// tiles and doorways to the next item or the pad, shoots the blocks in its way from the side,
// and picks the keys of each update by trying them out on its own forecast of the flight.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "game/runs/runs.h"

class Pilot : public InputSource {
 public:
  // How many updates ahead the pilot looks.
  static constexpr int kForecastFrames = 20;
  Pilot();
  void Next(const MyApp& app, InputFrame& frame) override;

  // The ship as the pilot's forecast sees it, advanced one update with the given keys.
  struct Ship {
    float x = 0, y = 0, vx = 0, vy = 0;
    float rampX = 0, rampY = 0;
  };
  struct Keys {
    bool up = false, left = false, right = false, fire = false;
  };
  static void Forecast(const MyApp& app, const Keys& keys, Ship& ship);

 private:
  struct Goal {
    int kind = 0;  // what the goal is: nothing, an item or the pad
    int item = -1;
    int tx = 0, ty = 0;
  };
  struct Target {
    float x = 0, y = 0;
    int blockSide = 0;  // a block to shoot lies that way along the row: -1 left, 1 right
    bool fire = false;  // close enough to shoot it
    bool stop = false;  // the ship should come to rest at the target
  };
  struct Enemy {
    int kind = 0;
    float x = 0, y = 0;
    std::array<std::array<float, 2>, kForecastFrames> at{};  // where it will be
  };

  Goal ChooseGoal(const MyApp& app);
  void PlanTo(const MyApp& app, const Goal& goal);
  Target Steer(const MyApp& app, int shipTx, int shipTy);
  Keys Decide(const MyApp& app);
  Keys ChooseKeys(const MyApp& app, const Target& target, int aim) const;
  static Keys Homing(const Ship& ship, float x, float y);
  double RolloutCost(const MyApp& app, Keys first, int firstFrames, const Target& target) const;
  static void AimAtBlock(const MyApp& app, int shipTx, int shipTy, int blockX, Target& target);
  void LevelWithChaser(const MyApp& app, Target& target) const;
  // Counts the updates since the ship last came closer to the goal.
  void TrackHeadway(int distance);
  // The planned cost from a tile to the goal; kUnreached outside routes.
  int Distance(int tx, int ty) const;
  void SeeEnemies(const MyApp& app);
  void ForecastEnemy(const MyApp& app, const float* record, Enemy& enemy) const;
  int EnemyInLine(const MyApp& app) const;

  std::vector<int> distance_;  // per global tile: cost to the goal, or kUnreached
  std::vector<std::uint32_t> queue_;
  Goal planned_;
  int replanIn_ = 0;
  int bestDistance_ = 0;
  int stalled_ = 0;
  std::vector<Enemy> enemies_;
  std::bitset<kKeyCount> held_;
};
