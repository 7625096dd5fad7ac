// The real window under an X server (Xvfb in the test run).
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "display_skip.h"
#include "host/gamepad_mappings.h"
#include "host/glfw_game.h"
#include "host/state_file.h"

namespace {

class KeyRecorder : public KvGameDelegate {
 public:
  void KeyEvent(int event, int data) override { events.push_back({event, data}); }
  std::vector<std::pair<int, int>> events;
};

class WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ready = getenv("DISPLAY") && glfw2::Init(); }
  static void TearDownTestSuite() {
    if (ready) glfw2::Terminate();
  }
  void SetUp() override {
    if (!ready) ZV_SKIP_DISPLAY_TEST("no X display");
    host.SetDelegate(&recorder);
    host.StartGame();
  }
  void TearDown() override { glfw2::CloseWindow(); }

  // Lets the X server and the window exchange events for a while.
  static void Pump(int rounds = 20) {
    for (int i = 0; i < rounds; ++i) {
      glfw2::PollEvents();
      usleep(10000);
    }
  }

  static inline bool ready = false;
  KvGlfwGame host;
  KeyRecorder recorder;
};

}  // namespace

TEST_F(WindowTest, EveryOpenedWindowIsANewContextAtTheCentre) {
  const int firstSeq = glfwGraphicsSeq;
  host.SetGlfwWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 0, 0, 0, false);
  EXPECT_EQ(glfwGraphicsSeq, firstSeq + 1);
  EXPECT_EQ(host.GetDeviceWidth(), kWindowWidth);
  EXPECT_EQ(host.GetDeviceHeight(), kWindowHeight);
  EXPECT_EQ(glfw2::GetWindowParam(glfw2::OPENED), 1);
  GLFWwindow* first = glfwGetCurrentContext();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(glfwGetWindowAttrib(first, GLFW_RESIZABLE), GLFW_TRUE);

  host.SetDeviceWindow(320, 200, 2);
  EXPECT_EQ(glfwGraphicsSeq, firstSeq + 2);
  EXPECT_EQ(host.GetDeviceWidth(), 320);
  Pump();
  const KvDisplayMode desktop = host.GetDesktopMode();
  int x = 0, y = 0;
  glfwGetWindowPos(glfwGetCurrentContext(), &x, &y);
  EXPECT_EQ(x, (desktop.width - 320) / 2);
  EXPECT_EQ(y, (desktop.height - 200) / 2);
}

TEST_F(WindowTest, AKeyHeldAcrossAReopenIsReleased) {
  host.SetGlfwWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 0, 0, 0, false);
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

// Controller mappings from the state folder and the environment reach the window library; a
// source holding lines it cannot read, or too many, is told once.
TEST_F(WindowTest, ControllerMappingsAreReadAndUnreadableOnesTold) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("zv_pads_" + std::to_string(getpid()));
  fs::create_directories(folder);
  setenv(kStateDirVariable, folder.c_str(), 1);
  const std::string good =
      "0300000012340000abcd000001000000,Test Pad,a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,"
      "leftx:a0,lefty:a1,dpup:h0.1,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,platform:Linux,\n";
  auto told = [&](const std::string& file, const char* variable) {
    std::ofstream(folder / kGamepadMappingsFile) << file;
    if (variable) {
      setenv(kGamepadMappingsVariable, variable, 1);
    } else {
      unsetenv(kGamepadMappingsVariable);
    }
    testing::internal::CaptureStderr();
    LoadGamepadMappings();
    // This test program has no game data beside it; that is told once, first.
    std::string lines = testing::internal::GetCapturedStderr();
    if (lines.starts_with("zorvane: no game data")) lines.erase(0, lines.find('\n') + 1);
    return lines;
  };
  EXPECT_EQ(told("# comments and good lines\n" + good, good.c_str()), "");
  const std::string path = (folder / kGamepadMappingsFile).string();
  const std::string bad = told(good + "0123,cut short\n", "03000000,also bad");
  EXPECT_TRUE(
      bad.starts_with("zorvane: some controller mappings in " + path + " were not understood: "))
      << bad;
  EXPECT_NE(bad.find("\nzorvane: some controller mappings in SDL_GAMECONTROLLERCONFIG were not "
                     "understood: "),
            std::string::npos)
      << bad;
  EXPECT_EQ(std::count(bad.begin(), bad.end(), '\n'), 2) << bad;

  // The library takes time by the square of the count: a huge list is cut, an oversized file
  // refused, each told in one line.
  std::string many;
  while (many.size() < (4u << 20) - good.size()) many += good;
  EXPECT_EQ(told(many, nullptr), "zorvane: only the first 10000 lines of controller mappings in " +
                                     path + " are used\n");
  EXPECT_EQ(told(many + good, nullptr), "zorvane: cannot use the controller mappings in " + path +
                                            ": larger than 4194304 bytes\n");
  unsetenv(kGamepadMappingsVariable);
  unsetenv(kStateDirVariable);
  fs::remove_all(folder);
}
