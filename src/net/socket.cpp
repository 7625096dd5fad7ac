#include "net/socket.h"

#include "base/runtime.h"

namespace {

int ProtocolFromName(const String& name) {
  if (name == "stream") return kProtoStream;
  if (name == "server") return kProtoServer;
  if (name == "datagram") return kProtoDatagram;
  kvError("Illegal socket protocol");
}

}  // namespace

AsyncConnectOp::AsyncConnectOp(KvSocket& socket, const String& host, int port,
                               std::shared_ptr<IOnConnectComplete> onComplete)
    : socket(socket), host(host), port(port), onComplete(std::move(onComplete)) {}

void AsyncConnectOp::Execute__UNSAFE__(Socket&) {
  connected = socket.Connect(host, port);
}

void AsyncConnectOp::Complete(Socket& owner) {
  if (connected) owner.MarkConnected();
  onComplete->OnConnectComplete(connected, owner);
}

AsyncSocketIoOp::AsyncSocketIoOp(KvSocket& socket, std::shared_ptr<DataBuffer> data, int offset,
                                 int count)
    : socket(socket), data(std::move(data)), offset(offset), count(count) {}

AsyncSendOp::AsyncSendOp(KvSocket& socket, std::shared_ptr<DataBuffer> data, int offset, int count,
                         std::shared_ptr<IOnSendComplete> onComplete)
    : AsyncSocketIoOp(socket, std::move(data), offset, count), onComplete(std::move(onComplete)) {}

void AsyncSendOp::Execute__UNSAFE__(Socket&) {
  count = socket.Send(*data, offset, count);
}

void AsyncSendOp::Complete(Socket& owner) {
  onComplete->OnSendComplete(*data, offset, count, owner);
}

AsyncReceiveOp::AsyncReceiveOp(KvSocket& socket, std::shared_ptr<DataBuffer> data, int offset,
                               int count, std::shared_ptr<IOnReceiveComplete> onComplete)
    : AsyncSocketIoOp(socket, std::move(data), offset, count), onComplete(std::move(onComplete)) {}

void AsyncReceiveOp::Execute__UNSAFE__(Socket&) {
  count = socket.Receive(*data, offset, count);
}

void AsyncReceiveOp::Complete(Socket& owner) {
  onComplete->OnReceiveComplete(*data, offset, count, owner);
}

void AsyncQueue::Enqueue(std::unique_ptr<AsyncOp> op) {
  const int slot = put_.load(std::memory_order_relaxed);
  ops_[slot] = std::move(op);
  if (Next(slot) == get_) kvError("AsyncQueue queue overflow!");
  // Release: the worker sees the filled slot before it sees the new put.
  put_.store(Next(slot), std::memory_order_release);
  Start();
}

void AsyncQueue::Run__UNSAFE__() {
  int index = runIndex_.load(std::memory_order_relaxed);
  while (index != put_.load(std::memory_order_acquire)) {
    ops_[index]->Execute__UNSAFE__(owner_);
    index = Next(index);
    // Release: the main thread sees the operation's results before it sees it has run.
    runIndex_.store(index, std::memory_order_release);
  }
}

bool AsyncQueue::IsExecuting() const {
  return runIndex_.load(std::memory_order_acquire) != put_.load(std::memory_order_relaxed);
}

void AsyncQueue::UpdateAsyncEvents() {
  if (IsExecuting()) {
    if (!IsRunning()) kvPrint("RACE!");
    Start();
  }
  while (get_ != runIndex_.load(std::memory_order_acquire)) {
    const std::unique_ptr<AsyncOp> op = std::move(ops_[get_]);
    get_ = Next(get_);
    op->Complete(owner_);
  }
}

std::shared_ptr<Socket> Socket::Create(const String& protocol) {
  const int proto = ProtocolFromName(protocol);
  auto platform = std::make_unique<KvSocket>();
  if (!platform->Open(proto)) kvError("Socket open failed");
  return Create(std::move(platform), proto, kStateOpen);
}

std::shared_ptr<Socket> Socket::Create(std::unique_ptr<KvSocket> socket, int proto, int state) {
  auto made = std::make_shared<Socket>(Key{}, std::move(socket), proto, state);
  AddAsyncEventSource(made);
  return made;
}

Socket::Socket(Key, std::unique_ptr<KvSocket> platform, int proto, int state)
    : socket(std::move(platform)), proto(proto), state(state) {
  socket->proto = proto;
}

void Socket::Close() {
  state = 0;
  const int handle = socket->Detach();
  if (handle < 0) return;
  ShutDownHandle(handle);
  closingHandle_ = handle;
  CloseHandleWhenIdle();
}

void Socket::CloseHandleWhenIdle() {
  if (closingHandle_ < 0 || receiveQueue_.IsExecuting() || sendQueue_.IsExecuting()) return;
  CloseHandle(closingHandle_);
  closingHandle_ = -1;
}

void Socket::ConnectAsync(const String& host, int port,
                          std::shared_ptr<IOnConnectComplete> onComplete) {
  if (!IsOpen() || IsConnected() || IsListening()) return;
  receiveQueue_.Enqueue(
      std::make_unique<AsyncConnectOp>(*socket, host, port, std::move(onComplete)));
}

void Socket::SendAsync(std::shared_ptr<DataBuffer> data, int offset, int count,
                       std::shared_ptr<IOnSendComplete> onComplete) {
  if (!IsConnected()) return;
  sendQueue_.Enqueue(std::make_unique<AsyncSendOp>(*socket, std::move(data), offset, count,
                                                   std::move(onComplete)));
}

void Socket::ReceiveAsync(std::shared_ptr<DataBuffer> data, int offset, int count,
                          std::shared_ptr<IOnReceiveComplete> onComplete) {
  if (!IsConnected()) return;
  receiveQueue_.Enqueue(std::make_unique<AsyncReceiveOp>(*socket, std::move(data), offset, count,
                                                         std::move(onComplete)));
}

void Socket::UpdateAsyncEvents() {
  receiveQueue_.UpdateAsyncEvents();
  sendQueue_.UpdateAsyncEvents();
  CloseHandleWhenIdle();
}

void Socket::MarkConnected() {
  if (IsOpen()) state |= kStateBound | kStateConnected;
}
