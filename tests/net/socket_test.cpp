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

TEST(SocketTest, OperationsCompleteOnTheMainThreadInQueueOrder) {
  Connection link;
  ASSERT_EQ(link.recorder->events, std::vector<std::string>{"connected"});
  EXPECT_TRUE(link.socket->IsConnected());
  EXPECT_EQ(link.socket->state, Socket::kStateOpen | Socket::kStateBound | Socket::kStateConnected);

  const auto out = Buffer("onetwothree");
  link.socket->SendAsync(out, 0, 3, link.recorder);
  link.socket->SendAsync(out, 3, 3, link.recorder);
  link.socket->SendAsync(out, 6, 5, link.recorder);
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
  // 0.0.0.0 would reach this listener, so a name that does not resolve must not fall back
  // to it.
  int port = 0;
  const int listener = ListenOnLoopback(port);
  auto unknown = Socket::Create("stream");
  unknown->ConnectAsync("nothing.invalid", port, recorder);
  PumpUntil([&] { return recorder->events.size() == 2; });
  EXPECT_EQ(recorder->events, (std::vector<std::string>{"not connected", "not connected"}));
  EXPECT_FALSE(refused->IsConnected());
  EXPECT_FALSE(unknown->IsConnected());
  EXPECT_TRUE(unknown->IsOpen());
  close(listener);
}

TEST(SocketTest, UpdatingFromInsideACallbackReturnsAtOnce) {
  Connection link;
  const auto out = Buffer("abc");
  for (int i = 0; i < 3; ++i) link.socket->SendAsync(out, i, 1, link.recorder);
  std::this_thread::sleep_for(100ms);  // let all three run before any completes
  int depth = 0;
  link.recorder->onEvent = [&] {
    EXPECT_EQ(depth, 0);
    ++depth;
    EXPECT_EQ(UpdateAsyncEvents(), 0);
    --depth;
  };
  PumpUntil([&] { return link.recorder->events.size() == 4; });
  EXPECT_EQ(link.recorder->events,
            (std::vector<std::string>{"connected", "sent 0 1", "sent 1 1", "sent 2 1"}));
}

TEST(SocketTest, OperationsQueuedBeforeACloseStillComplete) {
  Connection link;
  link.socket->ReceiveAsync(Buffer(""), 0, 64, link.recorder);
  PumpFor(50ms);  // the worker now waits in the receive
  link.socket->Close();
  EXPECT_FALSE(link.socket->IsOpen());
  EXPECT_FALSE(link.socket->IsConnected());
  PumpUntil([&] { return link.recorder->events.size() == 2; });
  EXPECT_EQ(link.recorder->events.back(), "received 0");
}

TEST(SocketTest, WorkersRestartForEveryBurstOfWork) {
  Connection link;
  std::thread echo([&] {
    char byte;
    while (recv(link.server, &byte, 1, 0) == 1) send(link.server, &byte, 1, MSG_NOSIGNAL);
  });
  constexpr int kRoundTrips = 300;
  const auto out = Buffer("e");
  const auto in = std::make_shared<DataBuffer>(1);
  int received = 0;
  link.recorder->onEvent = [&] {
    if (link.recorder->events.back() != "received e" || ++received == kRoundTrips) return;
    link.socket->SendAsync(out, 0, 1, link.recorder);
    link.socket->ReceiveAsync(in, 0, 1, link.recorder);
  };
  link.socket->SendAsync(out, 0, 1, link.recorder);
  link.socket->ReceiveAsync(in, 0, 1, link.recorder);
  PumpUntil([&] { return received == kRoundTrips; }, 30s);
  shutdown(link.server, SHUT_RDWR);
  echo.join();
}

TEST(SocketDeathTest, MisuseIsARuntimeError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_RUNTIME_ERROR("Illegal socket protocol", Socket::Create("tcp"));
  EXPECT_RUNTIME_ERROR("Async event source is already active",
                       AddAsyncEventSource(Socket::Create("datagram")));
  // One queue holds 255 operations (see below); the 256th is one too many.
  EXPECT_RUNTIME_ERROR("AsyncQueue queue overflow!", {
    auto socket = Socket::Create("stream");
    auto recorder = std::make_shared<Recorder>();
    const int port = ClosedPort();
    for (int i = 0; i < AsyncQueue::kRingSize; ++i)
      socket->ConnectAsync("127.0.0.1", port, recorder);
  });
}

TEST(SocketTest, AQueueHolds255Operations) {
  auto socket = Socket::Create("stream");
  auto recorder = std::make_shared<Recorder>();
  const int port = ClosedPort();
  for (int i = 1; i < AsyncQueue::kRingSize; ++i) socket->ConnectAsync("127.0.0.1", port, recorder);
  PumpUntil([&] { return recorder->events.size() == AsyncQueue::kRingSize - 1u; });
}

}  // namespace
