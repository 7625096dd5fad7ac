#include "net/socket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
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
    Record(count > 0 ? "received " + data.PeekString(offset, count, "ascii").ToUtf8()
                     : "received " + std::to_string(count));
  }
  void Record(const std::string& event) {
    ExpectInsideUpdate();
    events.push_back(event);
    if (onEvent) onEvent();
  }
  std::vector<std::string> events;
  std::function<void()> onEvent;
};

std::shared_ptr<DataBuffer> Buffer(const String& text) {
  auto buffer = std::make_shared<DataBuffer>(64);
  buffer->PokeString(0, text, "ascii");
  return buffer;
}

// A client socket connected to a loopback listener, and the server's end of it.
struct Connection {
  Connection() {
    listener = ListenOnLoopback(port);
    socket = Socket::Create("stream");
    socket->ConnectAsync("127.0.0.1", port, recorder);
    PumpUntil([&] { return recorder->events.size() == 1; });
    server = accept(listener, nullptr, nullptr);
  }
  ~Connection() {
    close(server);
    close(listener);
  }
  std::string ServerRead(size_t count) {
    std::string data(count, '\0');
    EXPECT_EQ(recv(server, data.data(), count, MSG_WAITALL), static_cast<ssize_t>(count));
    return data;
  }

  int port = 0;
  int listener = -1;
  int server = -1;
  std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
  std::shared_ptr<Socket> socket;
};

// Completions come on the main thread, in queue order, one update at a time: a callback that
// updates again gets nothing.
TEST(SocketTest, OperationsCompleteOnTheMainThreadInQueueOrder) {
  Connection link;
  EXPECT_EQ(link.socket->state, Socket::kStateOpen | Socket::kStateBound | Socket::kStateConnected);
  const auto out = Buffer("onetwothree");
  link.socket->SendAsync(out, 0, 3, link.recorder);
  link.socket->SendAsync(out, 3, 3, link.recorder);
  link.socket->SendAsync(out, 6, 5, link.recorder);
  std::this_thread::sleep_for(100ms);  // let all three run before any completes
  link.recorder->onEvent = [] { EXPECT_EQ(UpdateAsyncEvents(), 0); };
  PumpUntil([&] { return link.recorder->events.size() == 4; });
  EXPECT_EQ(link.ServerRead(11), "onetwothree");
  link.socket->ReceiveAsync(std::make_shared<DataBuffer>(64), 2, 10, link.recorder);
  ASSERT_EQ(send(link.server, "pong", 4, 0), 4);
  PumpUntil([&] { return link.recorder->events.size() == 5; });
  EXPECT_EQ(link.recorder->events, (std::vector<std::string>{"connected", "sent 0 3", "sent 3 3",
                                                             "sent 6 5", "received pong"}));
}

TEST(SocketTest, FailedConnectsReportFalse) {
  auto recorder = std::make_shared<Recorder>();
  auto refused = Socket::Create("stream");
  refused->ConnectAsync("127.0.0.1", ClosedPort(), recorder);
  // 0.0.0.0 would reach this listener: a name that does not resolve must not fall back to it.
  int port = 0;
  const int listener = ListenOnLoopback(port);
  auto unknown = Socket::Create("stream");
  unknown->ConnectAsync("nothing.invalid", port, recorder);
  PumpUntil([&] { return recorder->events.size() == 2; });
  EXPECT_EQ(recorder->events, (std::vector<std::string>{"not connected", "not connected"}));
  EXPECT_FALSE(unknown->IsConnected());
  close(listener);
}

// A queue holds 255 operations; the 256th is a runtime error.
TEST(SocketDeathTest, AQueueHolds255OperationsAndMisuseIsARuntimeError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto connect = [](int count) {
    auto socket = Socket::Create("stream");
    auto recorder = std::make_shared<Recorder>();
    const int port = ClosedPort();
    for (int i = 0; i < count; ++i) socket->ConnectAsync("127.0.0.1", port, recorder);
    PumpUntil([&] { return recorder->events.size() == static_cast<size_t>(count); });
  };
  connect(AsyncQueue::kRingSize - 1);
  EXPECT_RUNTIME_ERROR("AsyncQueue queue overflow!", connect(AsyncQueue::kRingSize));
  EXPECT_RUNTIME_ERROR("Illegal socket protocol", Socket::Create("tcp"));
  EXPECT_RUNTIME_ERROR("Async event source is already active",
                       AddAsyncEventSource(Socket::Create("datagram")));
}

}  // namespace
