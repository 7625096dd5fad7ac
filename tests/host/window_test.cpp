// The real window under an X server (Xvfb in the test run).
#include <unistd.h>

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
    for (int i = 0; i < 20; ++i, usleep(10000)) glfw2::PollEvents();
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

// The library takes time by the square of the mapping count: 150,000 mappings held the window
// back 86 s, so a huge list is cut and an oversized file refused, each told in one line.
TEST_F(WindowTest, ControllerMappingsAreBounded) {
  const ScratchFolder folder("pads", false);
  setenv(kStateDirVariable, folder.path().c_str(), 1);
  const std::string path = folder.File(kGamepadMappingsFile);
  const std::string good =
      "0300000012340000abcd000001000000,Test Pad,a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,"
      "leftx:a0,lefty:a1,dpup:h0.1,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,platform:Linux,\n";
  std::string many;
  while (many.size() < (4u << 20) - good.size()) many += good;
  const std::pair<std::string, std::string> rows[] = {
      {many, "only the first 10000 lines of controller mappings in " + path + " are used\n"},
      {many + good,
       "cannot use the controller mappings in " + path + ": larger than 4194304 bytes\n"}};
  for (const auto& [file, told] : rows) {
    std::ofstream(path) << file;
    testing::internal::CaptureStderr();
    LoadGamepadMappings();
    // This test program has no game data beside it; that may be told first.
    const std::string got = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(got.ends_with("zorvane: " + told)) << got;
  }
  unsetenv(kStateDirVariable);
}
