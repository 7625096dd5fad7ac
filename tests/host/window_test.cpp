// The real window under an X server (Xvfb in the test run).
#include <unistd.h>

#include <algorithm>

#include "host/gamepad_mappings.h"
#include "host/glfw_game.h"
#include "host/state_file.h"
#include "scratch_folder.h"
#include "window_fixture.h"

namespace {

class WindowTest : public WindowFixture {
 protected:
  struct KeyRecorder : KvGameDelegate {
    void KeyEvent(int event, int data) override { events.push_back({event, data}); }
    std::vector<std::pair<int, int>> events;
  };
  void SetUp() override {
    WindowFixture::SetUp();
    if (Stopped()) return;
    host.SetDelegate(&recorder);
    host.StartGame();
    host.SetGlfwWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 0, 0, 0, false);
  }
  // Lets the X server and the window exchange events for a while.
  static void Pump() {
    for (int i = 0; i < 20; ++i) {
      glfw2::PollEvents();
      usleep(10000);
    }
  }
  KvGlfwGame host;
  KeyRecorder recorder;
};

}  // namespace

TEST_F(WindowTest, AKeyHeldAcrossAReopenIsReleased) {
  Pump();
  ASSERT_EQ(std::system("xdotool keydown --clearmodifiers a"), 0);
  Pump();
  ASSERT_EQ(std::system("xdotool keyup a"), 0);
  if (glfw2::GetKey('A') != glfw2::PRESS) ZV_SKIP_DISPLAY_TEST("window did not get the key focus");
  recorder.events.clear();
  host.SetGlfwWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 0, 0, 0, false);
  ASSERT_FALSE(recorder.events.empty());
  EXPECT_EQ(recorder.events.front(), std::make_pair(int{kEventKeyUp}, 65));
}

// Mappings the library cannot read are told once per source. The library takes time by the
// square of the count: 150,000 mappings held the window back 86 s, so a huge list is cut and
// an oversized file refused, each told in one line.
TEST_F(WindowTest, ControllerMappingsThatAreBadOrTooManyAreTold) {
  const ScratchFolder folder("pads", false);
  setenv(kStateDirVariable, folder.path().c_str(), 1);
  const std::string path = folder.File(kGamepadMappingsFile);
  const std::string good =
      "0300000012340000abcd000001000000,Test Pad,a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,"
      "leftx:a0,lefty:a1,dpup:h0.1,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,platform:Linux,\n";
  std::string many;
  while (many.size() < (4u << 20) - good.size()) many += good;
  const struct {
    std::string file;
    const char* variable;
    std::string told;
  } rows[] = {
      {"# comments and good lines\n" + good, good.c_str(), ""},
      {good + "0123,cut short\n", nullptr,
       "zorvane: some controller mappings in " + path + " were not understood: "},
      {good, "03000000,bad",
       "zorvane: some controller mappings in SDL_GAMECONTROLLERCONFIG were not understood: "},
      {many, nullptr,
       "zorvane: only the first 10000 lines of controller mappings in " + path + " are used\n"},
      {many + good, nullptr,
       "zorvane: cannot use the controller mappings in " + path + ": larger than 4194304 bytes\n"},
  };
  for (const auto& row : rows) {
    std::ofstream(path) << row.file;
    if (row.variable) {
      setenv(kGamepadMappingsVariable, row.variable, 1);
    } else {
      unsetenv(kGamepadMappingsVariable);
    }
    testing::internal::CaptureStderr();
    LoadGamepadMappings();
    // This test program has no game data beside it; that is told once, first.
    std::string told = testing::internal::GetCapturedStderr();
    if (told.starts_with("zorvane: no game data")) told.erase(0, told.find('\n') + 1);
    EXPECT_TRUE(told.starts_with(row.told)) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), row.told.empty() ? 0 : 1) << told;
  }
  unsetenv(kGamepadMappingsVariable);
  unsetenv(kStateDirVariable);
}
