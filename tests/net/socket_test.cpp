#include "net/socket.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <thread>

#include "net_test_support.h"

namespace {

using namespace net_test;

struct Recorder : IOnConnectComplete, IOnSendComplete, IOnReceiveComplete {
  void OnConnectComplete(bool connected, Socket&) override {
    Record(connected ? "connected" : "not connected");
  }
  void OnSendComplete(DataBuffer&, int offset, int count, Socket&) override {
    Record("sent " + std::to_string(offset) + " " + std::to_string(count));
  }
  void OnReceiveComplete(DataBuffer& data, int offset, int count, Socket&) override {
    Record("received " + data.PeekString(offset, count, "ascii").ToUtf8());
  }
  void Record(const std::string& event) {
    ExpectInsideUpdate();
    events.push_back(event);
    if (onEvent) onEvent();
  }
  std::vector<std::string> events;
  std::function<void()> onEvent;
};

// Completions come on the main thread, in queue order, one update at a time: a callback that
// updates again gets nothing.
TEST(SocketTest, OperationsCompleteOnTheMainThreadInQueueOrder) {
  ScriptedServer server({"pong"});
  auto socket = Socket::Create("stream");
  auto recorder = std::make_shared<Recorder>();
  socket->ConnectAsync("127.0.0.1", server.Port(), recorder);
  PumpUntil([&] { return socket->IsConnected(); });
  auto out = std::make_shared<DataBuffer>(8);
  out->PokeString(0, "hi\r\n\r\n", "ascii");
  socket->SendAsync(out, 0, 2, recorder);
  socket->SendAsync(out, 2, 4, recorder);
  std::this_thread::sleep_for(100ms);  // let both run before either completes
  recorder->onEvent = [] { EXPECT_EQ(UpdateAsyncEvents(), 0); };
  PumpUntil([&] { return recorder->events.size() == 3; });
  socket->ReceiveAsync(std::make_shared<DataBuffer>(64), 2, 10, recorder);
  PumpUntil([&] { return recorder->events.size() == 4; });
  socket->Close();
  EXPECT_EQ(server.Request(), "hi\r\n\r\n");
  EXPECT_EQ(recorder->events,
            (std::vector<std::string>{"connected", "sent 0 2", "sent 2 4", "received pong"}));
}

// 0.0.0.0 would reach this listener: a name that does not resolve must not fall back to it.
TEST(SocketTest, AnUnresolvableNameDoesNotConnect) {
  int port = 0;
  const int listener = ListenOnLoopback(port);
  auto recorder = std::make_shared<Recorder>();
  auto unknown = Socket::Create("stream");
  unknown->ConnectAsync("nothing.invalid", port, recorder);
  PumpUntil([&] { return recorder->events.size() == 1; });
  EXPECT_EQ(recorder->events, std::vector<std::string>{"not connected"});
  close(listener);
}

// A queue holds 255 operations; the 256th is a runtime error.
TEST(SocketDeathTest, AQueueHolds255Operations) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto connect = [](int count) {
    auto socket = Socket::Create("stream");
    auto recorder = std::make_shared<Recorder>();
    const int port = ClosedPort();
    for (int i = 0; i < count; ++i) socket->ConnectAsync("127.0.0.1", port, recorder);
    PumpUntil([&] { return recorder->events.size() == static_cast<size_t>(count); });
  };
  connect(AsyncQueue::kRingSize - 1);
  EXPECT_EXIT(
      {
        dup2(STDERR_FILENO, STDOUT_FILENO);  // runtime errors print on standard output
        connect(AsyncQueue::kRingSize);
      },
      testing::ExitedWithCode(255), "AsyncQueue queue overflow!");
}

}  // namespace
