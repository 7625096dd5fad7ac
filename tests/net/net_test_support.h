// Loopback servers and an update pump for tests that go through real sockets. Every server
// listens on 127.0.0.1 only and every wait is bounded.
#pragma once

#include <gtest/gtest.h>

#include "net_test_output.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/string.h"

namespace net_test {

using namespace std::chrono_literals;

constexpr auto kWaitLimit = 10s;

// Runs the game's per-update event pump until done() holds or the limit passes. Callbacks
// check with ExpectInsideUpdate that they are delivered here and nowhere else.
void PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = kWaitLimit);
// Pumps for the whole time given (to show that something does not happen).
void PumpFor(std::chrono::milliseconds time);
void ExpectInsideUpdate();

// A listening socket on 127.0.0.1 with a free port.
int ListenOnLoopback(int& port);
// A port on 127.0.0.1 that nothing listens on.
int ClosedPort();

// One connection on 127.0.0.1: reads the request up to its blank line and the body its
// Content-Length announces, then sends the pieces with a short pause between them, then closes.
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
