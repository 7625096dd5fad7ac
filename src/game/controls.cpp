// Game keys, touch hit tests and the full-screen toggle.
#include <cmath>

#include "game/my_app.h"
#include "host/glfw_game.h"

int MyApp::PlayKey(int, int, int) {
  return 0;
}

int MyApp::Button(int image, float x, float y, int frame) {
  DrawImg(image, x, y, frame);
  const float halfW = ImageInfo[image * 3] * ImageScale * DrawSizeX * 0.5f;
  const float halfH = ImageInfo[image * 3 + 1] * ImageScale * DrawSizeY * 0.5f;
  if (PointerDown < 1) return 0;
  for (int i = 0; i < kTouchSlots; ++i) {
    if (std::fabs(TouchPosX[i] - x) < halfW && std::fabs(TouchPosY[i] - y) < halfH) return 1;
  }
  return 0;
}

int MyApp::FullscreenFlip() {
  Fullscreen = 1 - Fullscreen;
  auto* host = KvGlfwGame::_glfwGame;
  if (!host) return 0;
  const KvGlfwVideoMode desktop = host->GetGlfwDesktopMode();
  if (Fullscreen == 1) {
    host->SetGlfwWindow(desktop.width, desktop.height, desktop.red, desktop.green, desktop.blue, 0,
                        0, 0, true);
  } else {
    host->SetGlfwWindow(kWindowWidth, kWindowHeight, desktop.red, desktop.green, desktop.blue, 0, 0,
                        0, false);
  }
  return 0;
}

void MyApp::UpdateControls() {}
