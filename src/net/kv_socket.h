// A thin layer over the platform's Berkeley sockets (IPv4 only).
#pragma once

#include <netinet/in.h>

#include <atomic>
#include <memory>

#include "base/string.h"
#include "net/data_buffer.h"

constexpr int kProtoStream = 1;
constexpr int kProtoServer = 2;
constexpr int kProtoDatagram = 3;

class KvSocketAddress {
 public:
  KvSocketAddress();

  // Resolves the host (see ResolveAddress); a host that does not resolve gives 0.0.0.0.
  void Set(const String& host, int port);
  void Set(const KvSocketAddress& address);
  void Set(const sockaddr_in& address);
  // Brings host and port up to date with addr.
  void Validate();

  sockaddr_in addr{};
  bool valid = false;
  String host;
  int port = 0;
};

// Fills address with host and port: family AF_INET, port in network order, the first IPv4
// address of the host, or 0.0.0.0 when the host is empty, longer than 1023 characters or
// does not resolve. Returns false only when a non-empty host did not resolve. Safe to call
// from several threads at once; names under the reserved "invalid" domain fail at once
// without asking a name server.
bool ResolveAddress(const String& host, int port, sockaddr_in& address);

// Shutting a handle down wakes a thread blocked on it without freeing the handle number,
// which another thread may still be about to use; closing it frees the number. Both ignore -1.
void ShutDownHandle(int handle);
void CloseHandle(int handle);

class KvSocket {
 public:
  KvSocket();
  // Wraps a handle that is already open (an accepted connection).
  KvSocket(int handle, int protocol);
  KvSocket(const KvSocket&) = delete;
  KvSocket& operator=(const KvSocket&) = delete;
  ~KvSocket();

  // Once per process; the platform needs no set-up on POSIX systems.
  static void InitSockets();

  bool Open(int protocol);
  void Close();
  // Gives up the handle without closing it; the socket is closed from then on.
  int Detach();
  bool Bind(const String& host, int port);
  // Fails without a platform call when a named host does not resolve: 0.0.0.0 would reach
  // this machine instead.
  bool Connect(const String& host, int port);
  bool Listen(int backlog);
  bool Accept();
  std::unique_ptr<KvSocket> Accepted();

  // Counts are clipped to the buffer; the result is the platform's (bytes, or -1). Nothing
  // left to move after clipping gives 0. Sending never raises SIGPIPE.
  int Send(KvDataBuffer& buffer, int offset, int count);
  int Receive(KvDataBuffer& buffer, int offset, int count);
  int SendTo(KvDataBuffer& buffer, int offset, int count, KvSocketAddress& address);
  int ReceiveFrom(KvDataBuffer& buffer, int offset, int count, KvSocketAddress& address);

  bool GetLocalAddress(KvSocketAddress& address);
  bool GetRemoteAddress(KvSocketAddress& address);

  // Written by the main thread, read by worker threads.
  std::atomic<int> sock{-1};
  int proto = 0;
  int accepted = -1;
};
