// The floor of a software-drawn frame: a window that only clears and presents 60 times a
// second, paced with a sleep as the game paces its frames. scripts/frame_cpu.sh measures the
// game against it. Usage: clear_present [--fullscreen]
#include <GL/gl.h>
#include <GLFW/glfw3.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {
constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr auto kFramePeriod = std::chrono::microseconds(1000000 / 60);
}  // namespace

int main(int argc, char** argv) {
  const bool fullscreen = argc > 1 && std::strcmp(argv[1], "--fullscreen") == 0;
  if (!glfwInit()) {
    std::fputs("clear_present: no display\n", stderr);
    return 1;
  }
  GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
  const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
  GLFWwindow* window =
      glfwCreateWindow(mode ? mode->width : kWindowWidth, mode ? mode->height : kWindowHeight,
                       "clear_present", monitor, nullptr);
  if (!window) {
    std::fputs("clear_present: cannot open a window\n", stderr);
    glfwTerminate();
    return 1;
  }
  glfwMakeContextCurrent(window);
  auto next = std::chrono::steady_clock::now();
  while (!glfwWindowShouldClose(window)) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glfwSwapBuffers(window);
    glfwPollEvents();
    next += kFramePeriod;
    std::this_thread::sleep_until(next);
  }
  glfwTerminate();
  return 0;
}
