// The save component: what the game remembers between runs (the settings, the badges won, and
// every level's ten best scores and completion), kept as one checksummed text in the state file.
// May use: core (the world's level count); the state file through the framework.
#pragma once

#include <array>

#include "base/string.h"
#include "game/core/records.h"

constexpr int kSettings = 25;
constexpr int kBadgeSlots = 256;
constexpr int kLevelRecordInts = 55550;
// The Settings entries with a meaning; the others are saved and restored but not read.
constexpr int kSoundModeSetting = 5;
constexpr int kPadXSetting = 10, kPadYSetting = 11, kPadSizeSetting = 12;
constexpr int kOverscanSetting = 14;  // read on the console only

struct SaveData {
  // LevelRecords layout: level L's ten best scores at L * 10, best first, and its completion
  // block at kCompletionRecords + L * 10 (the first entry is 1 once the level is completed).
  static constexpr int kBestScores = 10;
  static constexpr int kCompletionRecords = 10000;

  std::array<int, kSettings> Settings{};
  std::array<bool, kBadgeSlots> BadgeGot{};
  std::array<int, kLevelRecordInts> LevelRecords{};
  // Load reset a damaged block: Save keeps the file it replaces (once).
  bool StateDamaged = false;
};

// The record as text: every number followed by "|", the settings, the badge words and each
// level's block, each block followed by its checksum.
String SaveText(const SaveData& save);
// Reads what the text holds into save, block by block: a block whose checksum fails is reset on
// its own, and a text cut short keeps the values of the blocks it lacks; either marks the save
// damaged. Prints a line per settings and badge block and per reset level block.
void LoadSaveText(SaveData& save, const String& text);
// Raises settings the game cannot use to their defaults; the overscan setting is the
// console's alone.
void RepairSettings(SaveData& save, bool console);

// The place a score takes among the best of a level (from 1): 1..10, or 0 for none or no such
// level. Ties go after, as the score is filed.
int PlaceAmongBest(const SaveData& save, int level, int score);
// Files the score at that place and marks the level completed when it was.
void FileAmongBest(SaveData& save, int level, int score, bool completed);
