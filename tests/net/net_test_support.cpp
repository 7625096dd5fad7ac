#include "net_test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>

#include "net/async_events.h"

namespace net_test {

namespace {
std::atomic<bool> insideUpdate{false};
std::thread::id pumpThread;
}  // namespace

int ListenOnLoopback(int& port) {
  const int handle = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof(address);
  if (bind(handle, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(handle, 4) != 0) {
    ADD_FAILURE() << "cannot listen on loopback";
  }
  getsockname(handle, reinterpret_cast<sockaddr*>(&address), &size);
  port = ntohs(address.sin_port);
  return handle;
}

void PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  pumpThread = std::this_thread::get_id();
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    insideUpdate = true;
    UpdateAsyncEvents();
    insideUpdate = false;
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_TRUE(done()) << "timed out";
}

void PumpFor(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  PumpUntil([end] { return std::chrono::steady_clock::now() >= end; }, time + 1s);
}

void ExpectInsideUpdate() {
  EXPECT_EQ(std::this_thread::get_id(), pumpThread);
  EXPECT_TRUE(insideUpdate);
}

int ClosedPort() {
  int port = 0;
  close(ListenOnLoopback(port));
  return port;
}

ScriptedServer::ScriptedServer(std::vector<std::string> pieces) : pieces_(std::move(pieces)) {
  listener_ = ListenOnLoopback(port_);
  thread_ = std::thread([this] { Serve(); });
}

ScriptedServer::~ScriptedServer() {
  // Wakes an accept that never got its connection.
  shutdown(listener_, SHUT_RDWR);
  if (thread_.joinable()) thread_.join();
  close(listener_);
}

std::string ScriptedServer::Request() {
  if (thread_.joinable()) thread_.join();
  return request_;
}

void ScriptedServer::Serve() {
  const int connection = accept(listener_, nullptr, nullptr);
  if (connection < 0) return;
  char byte;
  while (request_.find("\r\n\r\n") == std::string::npos && recv(connection, &byte, 1, 0) == 1) {
    request_ += byte;
  }
  // A body is read before the answer, as a server would.
  const size_t length = request_.find("Content-Length: ");
  const size_t bodySize =
      length == std::string::npos ? 0 : std::stoul(request_.substr(length + 16));
  for (const size_t end = request_.size() + bodySize;
       request_.size() < end && recv(connection, &byte, 1, 0) == 1;) {
    request_ += byte;
  }
  for (const std::string& piece : pieces_) {
    std::this_thread::sleep_for(2ms);
    // The client may have given up already; that is part of some scripts.
    if (send(connection, piece.data(), piece.size(), MSG_NOSIGNAL) < 0) break;
  }
  shutdown(connection, SHUT_WR);
  // Drain until the client closes, so the client reads the close and not a reset.
  pollfd wait{connection, POLLIN, 0};
  while (poll(&wait, 1, 2000) > 0 && recv(connection, &byte, 1, 0) > 0) {
  }
  close(connection);
}

}  // namespace net_test
