// The real window under an X server (Xvfb in the test run).
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "display_skip.h"
#include "host/glfw_game.h"

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

TEST_F(WindowTest, TheMonitorReportsItsModes) {
  host.SetGlfwWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 0, 0, 0, false);
  const KvGlfwVideoMode desktop = host.GetGlfwDesktopMode();
  EXPECT_GT(desktop.width, 0);
  EXPECT_EQ(desktop.red, 8);
  EXPECT_FALSE(host.GetDisplayModes().empty());
}

TEST_F(WindowTest, AKeyHeldAcrossAReopenIsReleased) {
  host.SetGlfwWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 0, 0, 0, false);
  Pump();
  ASSERT_EQ(std::system("xdotool keydown --clearmodifiers a"), 0);
  Pump();
  std::system("xdotool keyup a");
  if (glfw2::GetKey('A') != glfw2::PRESS) ZV_SKIP_DISPLAY_TEST("window did not get the key focus");
  recorder.events.clear();
  host.SetGlfwWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 0, 0, 0, false);
  ASSERT_FALSE(recorder.events.empty());
  EXPECT_EQ(recorder.events.front(), std::make_pair(int{kEventKeyUp}, 65));
}
