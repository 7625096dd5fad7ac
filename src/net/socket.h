// Sockets whose connects, sends and receives run on worker threads and complete on the main
// thread, inside UpdateAsyncEvents.
#pragma once

#include <array>
#include <atomic>
#include <memory>

#include "base/string.h"
#include "net/async_events.h"
#include "net/data_buffer.h"
#include "net/kv_socket.h"
#include "net/kv_thread.h"

class Socket;

class IOnConnectComplete {
 public:
  virtual ~IOnConnectComplete() = default;
  virtual void OnConnectComplete(bool connected, Socket& socket) = 0;
};

class IOnSendComplete {
 public:
  virtual ~IOnSendComplete() = default;
  virtual void OnSendComplete(DataBuffer& data, int offset, int count, Socket& socket) = 0;
};

class IOnReceiveComplete {
 public:
  virtual ~IOnReceiveComplete() = default;
  virtual void OnReceiveComplete(DataBuffer& data, int offset, int count, Socket& socket) = 0;
};

// An operation runs once on a worker (Execute__UNSAFE__), which touches only the operation's
// own fields and the platform socket, then completes on the main thread (Complete). The
// operation holds its buffer and listener, so they live until it has completed.
class AsyncOp {
 public:
  virtual ~AsyncOp() = default;
  virtual void Complete(Socket& socket) = 0;
  virtual void Execute__UNSAFE__(Socket& socket) = 0;
};

class AsyncConnectOp : public AsyncOp {
 public:
  AsyncConnectOp(KvSocket& socket, const String& host, int port,
                 std::shared_ptr<IOnConnectComplete> onComplete);
  void Complete(Socket& socket) override;
  void Execute__UNSAFE__(Socket& socket) override;

  KvSocket& socket;
  String host;
  int port;
  std::shared_ptr<IOnConnectComplete> onComplete;
  bool connected = false;
};

class AsyncSocketIoOp : public AsyncOp {
 public:
  AsyncSocketIoOp(KvSocket& socket, std::shared_ptr<DataBuffer> data, int offset, int count);

  KvSocket& socket;
  std::shared_ptr<DataBuffer> data;
  int offset;
  // Asked for when queued; what the platform returned once executed.
  int count;
};

class AsyncSendOp : public AsyncSocketIoOp {
 public:
  AsyncSendOp(KvSocket& socket, std::shared_ptr<DataBuffer> data, int offset, int count,
              std::shared_ptr<IOnSendComplete> onComplete);
  void Complete(Socket& socket) override;
  void Execute__UNSAFE__(Socket& socket) override;

  std::shared_ptr<IOnSendComplete> onComplete;
};

class AsyncReceiveOp : public AsyncSocketIoOp {
 public:
  AsyncReceiveOp(KvSocket& socket, std::shared_ptr<DataBuffer> data, int offset, int count,
                 std::shared_ptr<IOnReceiveComplete> onComplete);
  void Complete(Socket& socket) override;
  void Execute__UNSAFE__(Socket& socket) override;

  std::shared_ptr<IOnReceiveComplete> onComplete;
};

// A ring of operations with one worker thread that lives only while operations await
// execution. Each index has one writer: put and get the main thread, runIndex the worker.
// The slots between get and runIndex have run and await completion; those between runIndex
// and put await execution.
class AsyncQueue : public KvThread {
 public:
  static constexpr int kRingSize = 256;

  explicit AsyncQueue(Socket& owner) : owner_(owner) {}

  // Main thread. The 256th outstanding operation is the runtime error
  // "AsyncQueue queue overflow!".
  void Enqueue(std::unique_ptr<AsyncOp> op);
  void Run__UNSAFE__() override;
  // Main thread: restarts a worker that ended just as an operation was queued (printing
  // "RACE!"), then completes the executed operations in queue order.
  void UpdateAsyncEvents();
  // Main thread: some operation has yet to finish executing.
  bool IsExecuting() const;

 private:
  static int Next(int index) { return (index + 1) % kRingSize; }

  Socket& owner_;
  std::array<std::unique_ptr<AsyncOp>, kRingSize> ops_;
  std::atomic<int> put_{0};
  int get_ = 0;
  std::atomic<int> runIndex_{0};
};

class Socket : public IAsyncEventSource {
  struct Key {};  // only Create makes sockets: they must be owned by the event-source list

 public:
  static constexpr int kStateOpen = 1;
  static constexpr int kStateBound = 2;
  static constexpr int kStateConnected = 4;
  static constexpr int kStateListening = 8;

  // "stream", "server" or "datagram"; any other name is the runtime error
  // "Illegal socket protocol", and a platform socket that cannot be made "Socket open failed".
  static std::shared_ptr<Socket> Create(const String& protocol);
  // Around a platform socket that is already open, such as an accepted connection.
  static std::shared_ptr<Socket> Create(std::unique_ptr<KvSocket> socket, int proto, int state);

  Socket(Key, std::unique_ptr<KvSocket> socket, int proto, int state);

  bool IsOpen() const { return state & kStateOpen; }
  bool IsConnected() const { return state & kStateConnected; }
  bool IsListening() const { return state & kStateListening; }

  // Queued operations are not cancelled: they still run, fail and complete.
  void Close();
  // Each does nothing (and no completion follows) unless the socket is in the right state:
  // open, neither connected nor listening, for a connect; connected for a send or receive.
  void ConnectAsync(const String& host, int port, std::shared_ptr<IOnConnectComplete> onComplete);
  void SendAsync(std::shared_ptr<DataBuffer> data, int offset, int count,
                 std::shared_ptr<IOnSendComplete> onComplete);
  void ReceiveAsync(std::shared_ptr<DataBuffer> data, int offset, int count,
                    std::shared_ptr<IOnReceiveComplete> onComplete);
  void UpdateAsyncEvents() override;

  // Main thread: a connect that succeeded makes the socket bound and connected, unless it
  // was closed meanwhile.
  void MarkConnected();

  std::unique_ptr<KvSocket> socket;
  int proto;
  int state;

 private:
  // A handle closed while an operation may still be using it on a worker is only shut down;
  // its number is freed once no operation is executing, so it cannot be reused under one.
  void CloseHandleWhenIdle();

  AsyncQueue receiveQueue_{*this};
  AsyncQueue sendQueue_{*this};
  int closingHandle_ = -1;
};
