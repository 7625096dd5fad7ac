// The game's sound effects by name. Effect id n is the file "sfx/" + n in three digits +
// ".wav": the asset generator makes one for every id of kAllEffects, the loader loads them and
// the game plays them through these names, never by bare number.
#pragma once

#include "game/core/records.h"

namespace sfx {

inline constexpr int kBlip = 1;  // loaded, played by no screen of this build
inline constexpr int kGun = 2;
inline constexpr int kShipDestroyed = 3;
inline constexpr int kTakeOff = 4;
inline constexpr int kShotHit = 5;
inline constexpr int kDelivery = 6;
inline constexpr int kItemCollect = 7;
inline constexpr int kTurretShot = 8;
// A broken block sounds one of four explosions, drawn at random.
inline constexpr int kFirstBreak = 10;
inline constexpr int kBreaks = 4;
inline constexpr int kTrackerHit = 14;
inline constexpr int kLevelStart = 20;
inline constexpr int kWhoosh = 95;  // loaded, played by no screen of this build
inline constexpr int kStartJingle = 96;
inline constexpr int kConfirm = 98;  // starting a level, and any confirm
inline constexpr int kMove = 99;     // moving the selection, opening or leaving a panel

// A weapon's pickup sounds the weapon's number; firing it sounds that number plus 100.
constexpr int WeaponPickup(int weapon) {
  return weapon;
}
constexpr int WeaponFire(int weapon) {
  return 100 + weapon;
}

inline constexpr int kAllEffects[] = {
    kStartJingle,
    kBlip,
    kGun,
    kWhoosh,
    kConfirm,
    kMove,
    WeaponPickup(weapon::kBomb),
    WeaponFire(weapon::kBomb),
    WeaponPickup(weapon::kGrenade),
    WeaponFire(weapon::kGrenade),
    WeaponPickup(weapon::kTracker),
    WeaponFire(weapon::kTracker),
    kShipDestroyed,
    kTakeOff,
    kFirstBreak,
    kFirstBreak + 1,
    kFirstBreak + 2,
    kFirstBreak + 3,
    kTrackerHit,
    kShotHit,
    kDelivery,
    kItemCollect,
    kLevelStart,
    WeaponPickup(weapon::kTurret),
    WeaponFire(weapon::kTurret),
    kTurretShot,
    WeaponPickup(weapon::kOrbitBlaster),
    WeaponPickup(weapon::kBigLazer),
    WeaponFire(weapon::kBigLazer),
};

}  // namespace sfx
