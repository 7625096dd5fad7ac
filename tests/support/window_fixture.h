// Tests with a real window: GLFW is started once per suite on the X display (Xvfb in the test
// run) and each test's window is closed after it. Without a display the test is skipped, and
// fails under CI=true; a derived SetUp returns early when IsSkipped() or HasFatalFailure().
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "display_skip.h"
#include "host/glfw2.h"

class WindowFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ready = std::getenv("DISPLAY") && glfw2::Init(); }
  static void TearDownTestSuite() {
    if (ready) glfw2::Terminate();
  }
  void SetUp() override {
    if (!ready) ZV_SKIP_DISPLAY_TEST("no X display");
  }
  void TearDown() override {
    if (ready) glfw2::CloseWindow();
  }
  bool Stopped() const { return IsSkipped() || HasFatalFailure(); }

  static inline bool ready = false;
};
