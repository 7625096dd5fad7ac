// Run files: what the writer puts down reads back into the same input, update by update; files
// malformed ones are refused with the line and what was expected there. Hand-written key
// scripts drive the corpus traces.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "game/runs/run_file.h"
#include "game/runs/run_writer.h"
#include "game/runs/runs.h"

namespace {

std::string WriteRun(const RunHeader& header, const std::vector<InputFrame>& frames,
                     const std::string& endLine) {
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

std::vector<InputFrame> Play(const RunInput& input, size_t updates) {
  LinePlayer player(input);
  std::vector<InputFrame> frames(updates);
  for (InputFrame& frame : frames) player.Next(frame);
  return frames;
}

std::vector<RecordedRun> Parse(const std::string& text) {
  std::vector<RecordedRun> runs;
  std::string message;
  EXPECT_TRUE(ParseRuns(text, runs, message)) << message << "\n" << text;
  return runs;
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

// Every kind of input: held keys, a press and release inside one update, a double press,
// characters, the pointer, a second touch, sticks (a negative zero and a value that needs
// every digit) and the accelerometer.
std::vector<InputFrame> EveryKindOfInput() {
  std::vector<InputFrame> frames(5);
  for (int i = 0; i < 4; ++i) frames.push_back(Held({key::kUp, 'Z'}));
  frames.push_back(Held({key::kUp}));
  frames.back().hits['X'] = 1;
  frames.push_back(Held({key::kUp, key::kLeft}));
  frames.back().hits[key::kLeft] = 2;
  InputFrame typed = Held({key::kEscape, key::JoyButton(1, 3)});
  typed.chars[0] = 'w';
  typed.chars[1] = 65536 + key::kLeft;
  typed.charCount = 2;
  frames.push_back(typed);
  InputFrame pointer = Held({key::kMouseLeft, key::kTouchBase});
  pointer.axes.mouseX = pointer.axes.touchX[0] = 321.5f;
  pointer.axes.mouseY = pointer.axes.touchY[0] = 12;
  pointer.axes.touchX[3] = -7;
  pointer.axes.joy[0] = {0.1f, -0.0f, 1, -1, 0.333333343f, 1e-7f};
  pointer.axes.accel = {0.5f, -9.75f, 0};
  for (int i = 0; i < 4; ++i) frames.push_back(pointer);
  frames.push_back(pointer);
  frames.back().axes.joy[3][4] = -0.25f;
  frames.resize(frames.size() + 2);
  std::bitset<kKeyCount> held;
  for (InputFrame& frame : frames) {
    DeriveHits(held, frame);
    held = frame.held;
  }
  return frames;
}

TEST(RunFile, WhatIsWrittenReadsBackUpdateByUpdate) {
  RunHeader header;
  header.level = 17;
  header.seed = 4000000000u;
  header.screenWidth = 800;
  header.carry = {1, -0.45f, 0.3f, 1, 1, {}, -1, -1, 10, 20, 1, -1};
  header.carry.padKeys[3] = 2;
  const std::vector<InputFrame> frames = EveryKindOfInput();
  const std::string end = "end level=17 frames=21 result=running score=0 lives=3 items=000";
  const std::string text = WriteRun(header, frames, end);
  const std::vector<RecordedRun> runs = Parse(text);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].header, header);
  EXPECT_EQ(runs[0].endLine, end);
  const std::vector<InputFrame> played = Play(runs[0].input, frames.size());
  for (size_t i = 0; i < frames.size(); ++i) ExpectSameFrame(played[i], frames[i], i);
  EXPECT_NE(text.find("\n5 -\n4 UA\n"), std::string::npos) << "same input, one line";
}

TEST(RunFile, MalformedFilesAreRefusedWithTheLineAndWhatWasExpected) {
  const auto Repeat = [](const std::string& text, int times) {
    std::string repeated;
    while (times-- > 0) repeated += text;
    return repeated;
  };
  const std::string head = "zorvane-run 1\nlevel 1";
  const std::pair<std::string, const char*> cases[] = {
      {"", "1: expected the first line \"zorvane-run 1\""},
      {"zorvane-run 1\n10 U\n", "2: expected \"level L\" before the first input line"},
      {"zorvane-run 1\nlevel 1001\n", "2: expected \"level L\" with L from 1 to 1000"},
      {head + " seed=-1\n", "2: expected seed=S with S from 0 to 4294967295"},
      {head + " colour=red\n",
       "2: expected a level field seed=, screen=, latch=, ramp=, hud=, icade=, pads=, stick= or "
       "pointer="},
      {head + "\n+5 U\n", "3: expected an input line \"COUNT KEYS\" with COUNT from 1 to 10000000"},
      {head + "\n5 UX\n",
       "3: expected KEYS after the count: letters from U D L R A B, or - for none"},
      {head + "\n5 U joy4=0,0,0,0,0,0\n",
       "3: expected a field k=, hit=, ch=, mouse=, touchN=, joyN= or accel="},
      {head + "\n5 U ch=" + Repeat("1,", 32) + "1\n",
       "3: expected ch=C,... with at most 32 character codes"},
      {head + "\nend a\n1 U\n", "4: expected a level line after the end line"},
      {head + "\n" + Repeat("10000000 U\n", 10) + "1 U\n",
       "13: expected at most 100000000 updates in one run"},
      {"zorvane-run 1\n#" + std::string(kMaxRunLineBytes, 'x') + "\n",
       "2: expected at most 16384 bytes on a line"},
  };
  for (const auto& [text, expected] : cases) {
    std::vector<RecordedRun> runs(1);
    std::string message;
    EXPECT_FALSE(ParseRuns(text, runs, message));
    EXPECT_EQ(message, expected) << text.substr(0, 80);
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

}  // namespace
