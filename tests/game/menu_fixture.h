// A loaded game settled on the menu, in a folder of its own (the menu saves), with input
// helpers in game units and a reading of the text the last update drew.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "game/globals.h"
#include "game/records.h"
#include "host/key_codes.h"
#include "sim/headless_game.h"

class MenuTest : public ::testing::Test {
 protected:
  // Updates after loading for the menu to slide in and the wheel to come to rest.
  static constexpr int kSettleUpdates = 80;
  static constexpr int kSlideUpdates = 30;

  void SetUp() override {
    char pattern[] = "/tmp/zv_menu_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    ASSERT_EQ(getcwd(previous_, sizeof previous_), previous_);
    ASSERT_EQ(chdir(folder_.c_str()), 0);
    game_ = std::make_unique<HeadlessGame>();
    // One device pixel per game unit, so the mouse speaks game units.
    app().ScaleX = app().ScaleY = 1.0f;
    game_->StepUntilLoaded();
    game_->Step(kSettleUpdates);
  }

  void TearDown() override {
    game_.reset();
    std::remove(".briskostate");
    ASSERT_EQ(chdir(previous_), 0);
    rmdir(folder_.c_str());
  }

  MyApp& app() { return game_->app(); }
  HeadlessGame& game() { return *game_; }

  void Step(int updates = 1) { game_->Step(updates); }
  // Down for one update, then up for one.
  void Tap(int key) {
    game_->KeyDown(key);
    Step();
    game_->KeyUp(key);
    Step();
  }
  void PressAt(float x, float y) {
    game_->MouseMove(x, y);
    game_->MouseButton(0, true);
  }
  void Lift() { game_->MouseButton(0, false); }
  // A touch for one update, then lifted for one.
  void TouchAt(float x, float y) {
    PressAt(x, y);
    Step();
    Lift();
    Step();
  }

  // Opens the options panel from the hub by key and waits for it to finish sliding in.
  void OpenOptions() {
    app().MenuFocus = MyApp::kFocusHub;
    Tap('Z');
    Step(kSlideUpdates);
  }

  // Marks levels 0..count-1 completed, so that the wheel offers level `count` too.
  void CompleteLevels(int count) {
    for (int level = 0; level < count; ++level)
      app().LevelRecords[MyApp::kCompletionRecords + level * MyApp::kBestScores] = 1;
  }

  // The characters of every glyph the last update drew, in order (spaces are not drawn).
  std::string DrawnText() {
    std::string text;
    for (int at = 0; at < app().DrawCount; at += drawrec::kFloats) {
      if (app().DrawList[at + drawrec::kSlot] != app().FontImage) continue;
      text += static_cast<char>(app().DrawList[at + drawrec::kFrame] + 32);
    }
    return text;
  }

  // How many records of the last update draw image slot `slot`.
  int RecordsOf(int slot) {
    int count = 0;
    for (int at = 0; at < app().DrawCount; at += drawrec::kFloats)
      count += app().DrawList[at + drawrec::kSlot] == slot;
    return count;
  }

  static std::string StateText() {
    std::ifstream file(".briskostate", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

 private:
  std::string folder_;
  char previous_[4096] = {};
  std::unique_ptr<HeadlessGame> game_;
};
