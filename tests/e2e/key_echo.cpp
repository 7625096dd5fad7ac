// The real host with a real window and the real input device, minus the game: every update it
// prints the key codes hit ("key 90"), the characters queued ("char 122") and, for the left
// button, where it went down ("mouse 50 60"). F4 ends it with status 0.
#include <cstdio>

#include "base/runtime.h"
#include "host/glfw_game.h"
#include "input/input_device.h"

namespace {

constexpr const char* kTitle = "Zorvane key echo";
constexpr int kUpdateHertz = 60;
constexpr int kKeyF4 = 115;

class EchoDelegate : public KvGameDelegate {
 public:
  void StartGame() override {
    SetInputDevice(&input_);
    KvGame::_game->SetUpdateRate(kUpdateHertz);
    glfw2::SetWindowTitle(kTitle);
    Report("ready");
  }

  void UpdateGame() override {
    input_.BeginUpdate();
    for (int key = 1; key < kKeyCount; ++key) {
      for (int hit = 0; hit < KeyHit(key); ++hit) std::printf("key %d\n", key);
    }
    if (MouseHit(0)) std::printf("mouse %d %d\n", int(MouseX()), int(MouseY()));
    for (int character = GetChar(); character != 0; character = GetChar())
      std::printf("char %d\n", character);
    std::fflush(stdout);
    if (KeyHit(kKeyF4) || KeyHit(key::kWindowClose)) kvExit(kExitQuit);
    input_.EndUpdate();
  }

  void KeyEvent(int event, int data) override { input_.KeyEvent(event, data); }
  void MouseEvent(int event, int data, float x, float y) override {
    input_.MouseEvent(event, data, x, y);
  }

 private:
  static void Report(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
  }

  InputDevice input_;
};

}  // namespace

int main() {
  if (!glfw2::Init()) {
    std::puts("glfwInit failed");
    return 1;
  }
  KvGlfwGame host;
  EchoDelegate delegate;
  host.SetDelegate(&delegate);
  host.Run();
  glfw2::Terminate();
  return 0;
}
