// Run files: what the writer puts down reads back into the same input, update by update; files
// written by hand mean what the format says; malformed ones are refused with the line and
// what was expected there.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "game/runs/run_file.h"
#include "game/runs/run_writer.h"
#include "game/runs/runs.h"

namespace {

// Writes the frames as one run and returns the file's text.
std::string WriteRun(const RunHeader& header, const std::vector<InputFrame>& frames,
                     const std::string& endLine = "") {
  char* text = nullptr;
  size_t size = 0;
  {
    RunWriter writer;
    writer.Adopt(open_memstream(&text, &size), "memory");
    writer.BeginRun(header);
    for (const InputFrame& frame : frames) writer.Add(frame);
    writer.EndRun(endLine);
  }
  std::string result(text, size);
  free(text);
  return result;
}

std::vector<InputFrame> Play(const RecordedRun& run, size_t updates) {
  LinePlayer player(run.input);
  std::vector<InputFrame> frames(updates);
  for (InputFrame& frame : frames) player.Next(frame);
  return frames;
}

void ExpectSameFrame(const InputFrame& a, const InputFrame& b, size_t update) {
  SCOPED_TRACE("update " + std::to_string(update));
  EXPECT_EQ(a.held, b.held);
  EXPECT_EQ(a.hits, b.hits);
  ASSERT_EQ(a.charCount, b.charCount);
  for (int i = 0; i < a.charCount; ++i) EXPECT_EQ(a.chars[i], b.chars[i]);
  EXPECT_TRUE(SameAxes(a.axes, b.axes));
}

InputFrame Held(std::initializer_list<int> keys) {
  InputFrame frame;
  for (int key : keys) frame.held[key] = true;
  return frame;
}

// A stretch of play with every kind of input: held keys and presses as the device counts
// them, a press and release inside one update, a double press, characters, the pointer,
// a second touch, sticks (with a negative zero and a value that needs every digit) and the
// accelerometer.
std::vector<InputFrame> EveryKindOfInput() {
  std::vector<InputFrame> frames;
  std::bitset<kKeyCount> held;
  const auto add = [&](InputFrame frame, bool derive = true) {
    if (derive) DeriveHits(held, frame);
    held = frame.held;
    frames.push_back(frame);
  };
  for (int i = 0; i < 5; ++i) add(InputFrame());
  for (int i = 0; i < 4; ++i) add(Held({key::kUp, 'Z'}));
  InputFrame tapped = Held({key::kUp});
  tapped.hits['X'] = 1;  // pressed and released between two updates
  add(tapped, false);
  InputFrame twice = Held({key::kUp, key::kLeft});
  twice.hits[key::kLeft] = 2;
  add(twice, false);
  InputFrame typed = Held({key::kEscape, key::JoyButton(1, 3)});
  typed.hits[key::kEscape] = 1;
  typed.chars[0] = 'w';
  typed.chars[1] = 65536 + key::kLeft;
  typed.charCount = 2;
  add(typed, false);
  InputFrame pointer = Held({key::kMouseLeft, key::kTouchBase});
  pointer.axes.mouseX = pointer.axes.touchX[0] = 321.5f;
  pointer.axes.mouseY = pointer.axes.touchY[0] = 12;
  pointer.axes.touchX[3] = -7;
  pointer.axes.joy[0] = {0.1f, -0.0f, 1, -1, 0.333333343f, 1e-7f};
  pointer.axes.accel = {0.5f, -9.75f, 0};
  add(pointer);
  for (int i = 0; i < 3; ++i) {
    InputFrame still = frames.back();
    DeriveHits(held, still);
    add(still, false);
  }
  InputFrame moved = frames.back();
  moved.axes.joy[3][4] = -0.25f;
  add(moved);
  for (int i = 0; i < 2; ++i) add(InputFrame());
  return frames;
}

TEST(RunFile, WhatIsWrittenReadsBackUpdateByUpdate) {
  RunHeader header;
  header.level = 17;
  header.seed = 4000000000u;
  header.screenWidth = 800;
  header.screenHeight = 600;
  header.carry = {1, -0.45f, 0.3f, 1, 1, {}, -1, -1, 10, 20, 1, -1};
  header.carry.padKeys[3] = 2;
  header.carry.padKeys[10] = 1;
  const std::vector<InputFrame> frames = EveryKindOfInput();
  const std::string end = "end level=17 frames=21 result=running score=0 lives=3 items=000";
  const std::string text = WriteRun(header, frames, end);

  std::vector<RecordedRun> runs;
  std::string message;
  ASSERT_TRUE(ParseRuns(text, runs, message)) << message << "\n" << text;
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].header, header);
  EXPECT_EQ(runs[0].endLine, end);
  const std::vector<InputFrame> played = Play(runs[0], frames.size());
  for (size_t i = 0; i < frames.size(); ++i) ExpectSameFrame(played[i], frames[i], i);
  // Updates with the same input share a line: the quiet start and the held keys.
  EXPECT_NE(text.find("\n5 -\n4 UA\n"), std::string::npos) << text;
}

TEST(RunFile, AfterTheLastLineNoKeyIsHeldAndThePointerStays) {
  std::vector<RecordedRun> runs;
  std::string message;
  ASSERT_TRUE(ParseRuns("zorvane-run 1\nlevel 3\n2 R mouse=5,6\n", runs, message)) << message;
  const std::vector<InputFrame> played = Play(runs[0], 4);
  EXPECT_TRUE(played[1].held[key::kRight]);
  EXPECT_EQ(played[1].hits[key::kRight], 0);
  EXPECT_TRUE(played[2].held.none());
  EXPECT_EQ(played[3].axes.mouseX, 5);
  EXPECT_EQ(played[3].axes.touchY[0], 6);
}

TEST(RunFile, HandWrittenRunsMeanWhatTheFormatSays) {
  const char* text =
      "# two runs\n"
      "zorvane-run 1\r\n"
      "\n"
      "level 7   # defaults for the rest\n"
      "  90 -\n"
      "3 UR\n"
      "1 U k=17,300 hit=300:0,88:2 ch=72\n"
      "level 1000 seed=0 screen=1024,768 latch=1 ramp=0,-1 hud=1 icade=1 pads=0:2 "
      "stick=4,-5 pointer=1,2,1,-1\n"
      "1 - joy2=0,0,0,0,0,0.5 touch31=1,2 accel=1,2,3\n"
      "end level=1000 frames=1 result=lost score=5 lives=0 items=021\n";
  std::vector<RecordedRun> runs;
  std::string message;
  ASSERT_TRUE(ParseRuns(text, runs, message)) << message;
  ASSERT_EQ(runs.size(), 2u);
  RunHeader first;
  first.level = 7;
  EXPECT_EQ(runs[0].header, first);
  EXPECT_EQ(runs[0].fileLine, 4);
  EXPECT_TRUE(runs[0].endLine.empty());
  const std::vector<InputFrame> played = Play(runs[0], 95);
  EXPECT_TRUE(played[89].held.none());
  EXPECT_EQ(played[90].hits[key::kUp], 1);
  EXPECT_EQ(played[90].hits[key::kRight], 1);
  EXPECT_EQ(played[91].hits[key::kUp], 0);
  EXPECT_TRUE(played[93].held[key::kCtrl] && played[93].held[300] && !played[93].held[key::kRight]);
  EXPECT_EQ(played[93].hits[key::kCtrl], 1);
  EXPECT_EQ(played[93].hits[300], 0);
  EXPECT_EQ(played[93].hits['X'], 2);
  EXPECT_EQ(played[93].charCount, 1);
  EXPECT_EQ(played[94].hits[key::kUp], 0);

  RunHeader second;
  second.level = 1000;
  second.seed = 0;
  second.screenWidth = 1024;
  second.screenHeight = 768;
  second.carry = {1, 0, -1, 1, 1, {}, 4, -5, 1, 2, 1, -1};
  second.carry.padKeys[0] = 2;
  EXPECT_EQ(runs[1].header, second);
  const InputFrame last = Play(runs[1], 1)[0];
  EXPECT_EQ(last.axes.joy[2][5], 0.5f);
  EXPECT_EQ(last.axes.touchX[31], 1);
  EXPECT_EQ(last.axes.accel[2], 3);
  EXPECT_EQ(runs[1].endLine, "end level=1000 frames=1 result=lost score=5 lives=0 items=021");
}

TEST(RunFile, MalformedFilesAreRefusedWithTheLineAndWhatWasExpected) {
  struct Case {
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {"", "1: expected the first line \"zorvane-run 1\""},
      {"# nothing\n", "1: expected the first line \"zorvane-run 1\""},
      {"zorvane-run 2\n", "1: expected the first line \"zorvane-run 1\""},
      {"zorvane-run 1\n10 U\n", "2: expected \"level L\" before the first input line"},
      {"zorvane-run 1\nlevel 0\n", "2: expected \"level L\" with L from 1 to 1000"},
      {"zorvane-run 1\nlevel 1001\n", "2: expected \"level L\" with L from 1 to 1000"},
      {"zorvane-run 1\nlevel 1 seed=-1\n", "2: expected seed=S with S from 0 to 4294967295"},
      {"zorvane-run 1\nlevel 1 screen=0,480\n",
       "2: expected screen=W,H with sides from 1 to 16384"},
      {"zorvane-run 1\nlevel 1 ramp=2,0\n", "2: expected ramp=X,Y with X and Y from -1 to 1"},
      {"zorvane-run 1\nlevel 1 pads=19:1\n",
       "2: expected pads=- or pads=I:V,... with I from 0 to 18 and V from 0 to 2"},
      {"zorvane-run 1\nlevel 1 colour=red\n",
       "2: expected a level field seed=, screen=, latch=, ramp=, hud=, icade=, pads=, stick= or "
       "pointer="},
      {"zorvane-run 1\nlevel 1\n0 U\n",
       "3: expected an input line \"COUNT KEYS\" with COUNT from 1 to 10000000"},
      {"zorvane-run 1\nlevel 1\n+5 U\n",
       "3: expected an input line \"COUNT KEYS\" with COUNT from 1 to 10000000"},
      {"zorvane-run 1\nlevel 1\n5\n",
       "3: expected KEYS after the count: letters from U D L R A B, or - for none"},
      {"zorvane-run 1\nlevel 1\n5 UX\n",
       "3: expected KEYS after the count: letters from U D L R A B, or - for none"},
      {"zorvane-run 1\nlevel 1\n5 U k=512\n", "3: expected k=C,... with key codes from 1 to 511"},
      {"zorvane-run 1\nlevel 1\n5 U hit=38:34\n",
       "3: expected hit=C:N,... with key codes from 1 to 511, N 0 to 33"},
      {"zorvane-run 1\nlevel 1\n5 U mouse=nan,1\n",
       "3: expected mouse=X,Y with numbers from -1e6 to 1e6"},
      {"zorvane-run 1\nlevel 1\n5 U mouse=1\n",
       "3: expected mouse=X,Y with numbers from -1e6 to 1e6"},
      {"zorvane-run 1\nlevel 1\n5 U joy4=0,0,0,0,0,0\n",
       "3: expected a field k=, hit=, ch=, mouse=, touchN=, joyN= or accel="},
      {"zorvane-run 1\nlevel 1\n5 U joy0=0,0,0,0,0,1.5\n",
       "3: expected joyN=X0,Y0,Z0,X1,Y1,Z1 with numbers from -1 to 1"},
      {"zorvane-run 1\nlevel 1\n5 U ch=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,"
       "24,25,26,27,28,29,30,31,32,33\n",
       "3: expected ch=C,... with at most 32 character codes"},
      {"zorvane-run 1\nend\n", "2: expected a level line before the end"},
      {"zorvane-run 1\nlevel 1\nend a\nend b\n", "4: expected a level line before the end"},
      {"zorvane-run 1\nlevel 1\nend a\n1 U\n", "4: expected a level line after the end line"},
      {"zorvane-run 1\nlevel 1\n10000000 U\n10000000 U\n10000000 U\n10000000 U\n10000000 U\n"
       "10000000 U\n10000000 U\n10000000 U\n10000000 U\n10000000 U\n1 U\n",
       "13: expected at most 100000000 updates in one run"},
      {"zorvane-run 1\n#" + std::string(kMaxRunLineBytes, 'x') + "\n",
       "2: expected at most 16384 bytes on a line"},
      {"zorvane-run 1\nlevel 1 seed=1 seed=1\n", "2: expected seed= at most once on a line"},
      {"zorvane-run 1\nlevel 1\n5 U touch1=0,0 touch2=0,0 touch1=0,0\n",
       "3: expected touch1= at most once on a line"},
      {"zorvane-run 1\nlevel 1\nend frames=-1\n",
       "3: expected frames=F with F from 0 to 100000000 on the end line"},
  };
  for (const Case& c : cases) {
    std::vector<RecordedRun> runs(1);
    std::string message;
    EXPECT_FALSE(ParseRuns(c.text, runs, message)) << c.text;
    EXPECT_EQ(message, c.message) << c.text;
    EXPECT_EQ(runs.size(), 1u) << "a refused file leaves the runs as they were";
  }
}

// Memory follows the lines: a few bytes each, however short the lines of a hostile file.
TEST(RunFile, AFileTakesAFewBytesOfMemoryALine) {
  constexpr int kLines = 100000;
  std::string text = "zorvane-run 1\nlevel 1\n";
  for (int i = 0; i < kLines / 2; ++i) text += "1 U\n1 -\n";
  const std::string path = testing::TempDir() + "zv_many_lines.txt";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(file && std::fwrite(text.data(), 1, text.size(), file) == text.size());
  std::fclose(file);
  std::vector<RecordedRun> runs;
  std::string message;
  const size_t before = mallinfo2().uordblks;
  ASSERT_TRUE(ReadRunFile(path, runs, message)) << message;
  EXPECT_LT(mallinfo2().uordblks - before, 32u * kLines);
  EXPECT_EQ(runs[0].input.lines.size(), static_cast<size_t>(kLines));
  std::remove(path.c_str());
}

TEST(RunFile, KeyScripts) {
  RunInput input;
  std::string message;
  ASSERT_TRUE(ParseKeyScript("90:- 30:U  60:RA 1:BDL", input, message)) << message;
  ASSERT_EQ(input.lines.size(), 4u);
  RecordedRun run;
  run.input = input;
  const std::vector<InputFrame> played = Play(run, 181);
  EXPECT_TRUE(played[89].held.none());
  EXPECT_EQ(played[90].held, Held({key::kUp}).held);
  EXPECT_EQ(played[120].held, Held({key::kRight, 'Z'}).held);
  EXPECT_EQ(played[180].held, Held({'X', key::kDown, key::kLeft}).held);
  for (const char* bad : {"90", "90:", ":U", "0:U", "5:Q", "5:U,R", "x:U"}) {
    EXPECT_FALSE(ParseKeyScript(bad, input, message)) << bad;
    EXPECT_NE(message.find("expected COUNT:KEYS"), std::string::npos) << message;
  }
}

TEST(InputFrame, TheDeviceReadsAsTheFrameAndIsCapturedBackExceptTheQuitKeys) {
  InputFrame frame = EveryKindOfInput()[11];
  frame.held[key::kF4] = true;
  frame.hits[key::kF4] = 1;
  frame.hits[key::kWindowClose] = 1;
  InputDevice device;
  device.keyHit[key::kDown] = 3;  // left over from an earlier update
  ApplyFrame(frame, device);
  EXPECT_EQ(device.KeyDown(key::kF4), 0);
  EXPECT_EQ(device.KeyHit(key::kWindowClose), 0);
  EXPECT_EQ(device.KeyHit(key::kDown), 0);
  EXPECT_EQ(device.KeyHit(key::kEscape), 1);
  EXPECT_TRUE(device.joyStates[1].buttons[3]);
  InputFrame captured;
  CaptureFrame(device, captured);
  frame.held[key::kF4] = false;
  frame.hits[key::kF4] = frame.hits[key::kWindowClose] = 0;
  ExpectSameFrame(captured, frame, 0);
  device.EndUpdate();
  EXPECT_EQ(device.KeyHit(key::kEscape), 0) << "the hits applied are cleared with the update";
}

}  // namespace
