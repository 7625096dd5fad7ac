// A loaded game settled on the menu in a folder of its own (the menu saves), with input in game
// units and readings of what the last update drew.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/core/globals.h"
#include "game/core/records.h"
#include "host/key_codes.h"
#include "scratch_folder.h"
#include "sim/headless_game.h"

class MenuTest : public ::testing::Test {
 protected:
  // Updates for the menu to slide in and the wheel to rest; for a panel to slide.
  static constexpr int kSettleUpdates = 80, kSlideUpdates = 30;

  void SetUp() override {
    app.frame.ScaleX = app.frame.ScaleY = 1.0f;  // one device pixel per game unit
    game.StepUntilLoaded();
    Step(kSettleUpdates);
  }
  void Step(int updates = 1) { game.Step(updates); }
  // Held for `updates`, then up for one.
  void Tap(int key, int updates = 1) {
    game.KeyDown(key);
    Step(updates);
    game.KeyUp(key);
    Step();
  }
  void PressAt(float x, float y) {
    game.MouseMove(x, y);
    game.MouseButton(0, true);
  }
  void Lift() { game.MouseButton(0, false); }
  void TouchAt(float x, float y, int updates = 1) {
    PressAt(x, y);
    Step(updates);
    Lift();
    Step();
  }
  void TapOrTouch(int key, float x, float y) { key ? Tap(key) : TouchAt(x, y); }  // 0: touch
  void StepAlone() {  // one update with only its own records in the list
    app.frame.DrawCount = 0;
    Step();
  }
  void OpenOptions() {
    app.menu.MenuFocus = MenuScreen::kFocusHub;
    Tap('Z');
    Step(kSlideUpdates);
  }
  void CompleteLevels(int count) {  // levels 0..count-1: the wheel offers `count` too
    for (int level = 0; level < count; ++level)
      app.save.LevelRecords[SaveData::kCompletionRecords + level * SaveData::kBestScores] = 1;
  }
  // The glyphs the last update drew (spaces are not drawn; button glyphs read '?').
  std::string DrawnText() {
    std::string text;
    for (const float* r : Records(app.frame.FontImage)) {
      const int code = static_cast<int>(r[drawrec::kFrame]) + 32;
      text += code < 127 ? static_cast<char>(code) : '?';
    }
    return text;
  }
  bool Shows(const std::string& text) { return DrawnText().find(text) != std::string::npos; }
  std::vector<const float*> Records(float slot) {
    std::vector<const float*> found;
    for (int at = 0; at < app.frame.DrawCount; at += drawrec::kFloats)
      if (app.frame.DrawList[at + drawrec::kSlot] == slot) found.push_back(&app.frame.DrawList[at]);
    return found;
  }
  static std::string StateText() {
    std::ifstream file(".briskostate", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  ScratchFolder folder{"menu_test"};  // entered before the game reads its state file
  HeadlessGame game;
  MyApp& app = game.app();
};
