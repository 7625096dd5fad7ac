// Loopback servers (127.0.0.1 only) and a bounded update pump for tests through real sockets.
#pragma once

#include <gtest/gtest.h>

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

namespace net_test {

using namespace std::chrono_literals;

// Runs the game's per-update event pump until done() holds or the limit passes; callbacks
// check with ExpectInsideUpdate that they come from there. PumpFor pumps the whole time.
void PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);
void PumpFor(std::chrono::milliseconds time);
void ExpectInsideUpdate();

// A listening socket on a free port, and a port nothing listens on.
int ListenOnLoopback(int& port);
int ClosedPort();

// One connection: reads the request head and the body its Content-Length announces, sends
// the pieces a little apart, then closes.
class ScriptedServer {
 public:
  explicit ScriptedServer(std::vector<std::string> pieces);
  ~ScriptedServer();
  int Port() const { return port_; }
  std::string Request();  // the bytes read, once the server is done

 private:
  void Serve();

  std::vector<std::string> pieces_;
  int listener_ = -1, port_ = 0;
  std::string request_;
  std::thread thread_;
};

}  // namespace net_test
