// A loaded game settled on the menu, in a folder of its own (the menu saves), with input
// helpers in game units and readings of what the last update drew.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/core/globals.h"
#include "game/core/records.h"
#include "host/key_codes.h"
#include "scratch_folder.h"
#include "sim/headless_game.h"

class MenuTest : public ::testing::Test {
 protected:
  // Updates after loading for the menu to slide in and the wheel to come to rest.
  static constexpr int kSettleUpdates = 80;
  static constexpr int kSlideUpdates = 30;

  void SetUp() override {
    folder_.emplace("menu_test");
    game_ = std::make_unique<HeadlessGame>();
    app().frame.ScaleX = app().frame.ScaleY = 1.0f;  // one device pixel per game unit
    game_->StepUntilLoaded();
    game_->Step(kSettleUpdates);
  }

  void TearDown() override {
    game_.reset();
    folder_.reset();
  }

  MyApp& app() { return game_->app(); }
  HeadlessGame& game() { return *game_; }

  void Step(int updates = 1) { game_->Step(updates); }
  // Held for `updates`, then up for one.
  void Tap(int key, int updates = 1) {
    game_->KeyDown(key);
    Step(updates);
    game_->KeyUp(key);
    Step();
  }
  void PressAt(float x, float y) {
    game_->MouseMove(x, y);
    game_->MouseButton(0, true);
  }
  void Lift() { game_->MouseButton(0, false); }
  // A touch held for `updates`, then lifted for one.
  void TouchAt(float x, float y, int updates = 1) {
    PressAt(x, y);
    Step(updates);
    Lift();
    Step();
  }

  // Opens the options panel from the hub by key and waits for it to finish sliding in.
  void OpenOptions() {
    app().menu.MenuFocus = MenuScreen::kFocusHub;
    Tap('Z');
    Step(kSlideUpdates);
  }

  // Marks levels 0..count-1 completed, so that the wheel offers level `count` too.
  void CompleteLevels(int count) {
    for (int level = 0; level < count; ++level)
      app().save.LevelRecords[SaveData::kCompletionRecords + level * SaveData::kBestScores] = 1;
  }

  // The characters of every glyph the last update drew, in order (spaces are not drawn);
  // button glyphs, which stand for no character, read as '?'.
  std::string DrawnText() {
    std::string text;
    for (const float* r : Records(app().frame.FontImage)) {
      const int code = static_cast<int>(r[drawrec::kFrame]) + 32;
      text += code < 127 ? static_cast<char>(code) : '?';
    }
    return text;
  }

  // The records of the last update that draw image slot (or marker) `slot`.
  std::vector<const float*> Records(float slot) {
    std::vector<const float*> found;
    for (int at = 0; at < app().frame.DrawCount; at += drawrec::kFloats)
      if (app().frame.DrawList[at + drawrec::kSlot] == slot)
        found.push_back(&app().frame.DrawList[at]);
    return found;
  }
  int RecordsOf(int slot) { return static_cast<int>(Records(static_cast<float>(slot)).size()); }

  static std::string StateText() {
    std::ifstream file(".briskostate", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

 private:
  std::optional<ScratchFolder> folder_;
  std::unique_ptr<HeadlessGame> game_;
};
