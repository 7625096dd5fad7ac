// Loopback servers and an update pump for tests that go through real sockets (every server
// listens on 127.0.0.1 only and every wait is bounded), and how the networking tests show
// String values and expect the host's runtime errors.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "base/string.h"

static inline void PrintTo(const String& text, std::ostream* out) {
  *out << '"' << text.ToUtf8() << '"';
}

// A runtime error prints on standard output and exits with 255; death tests read standard
// error, so the child sends one to the other.
#define EXPECT_RUNTIME_ERROR(message, ...)  \
  EXPECT_EXIT(                              \
      {                                     \
        dup2(STDERR_FILENO, STDOUT_FILENO); \
        __VA_ARGS__;                        \
      },                                    \
      testing::ExitedWithCode(255), "Brisko Runtime Error : " message)

namespace net_test {

using namespace std::chrono_literals;

// Runs the game's per-update event pump until done() holds or the limit passes. Callbacks
// check with ExpectInsideUpdate that they are delivered here and nowhere else.
void PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);
// Pumps for the whole time given (to show that something does not happen).
void PumpFor(std::chrono::milliseconds time);
void ExpectInsideUpdate();

// A listening socket on 127.0.0.1 with a free port, and a port nothing listens on.
int ListenOnLoopback(int& port);
int ClosedPort();

// One connection: reads the request up to its blank line and the body its Content-Length
// announces, then sends the pieces with a short pause between them, then closes.
class ScriptedServer {
 public:
  explicit ScriptedServer(std::vector<std::string> pieces);
  ~ScriptedServer();
  int Port() const { return port_; }
  // The request bytes read, head and body, once the server is done.
  std::string Request();

 private:
  void Serve();

  std::vector<std::string> pieces_;
  int listener_ = -1;
  int port_ = 0;
  std::string request_;
  std::thread thread_;
};

}  // namespace net_test
