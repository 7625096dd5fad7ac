#include "net/kv_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <string>

namespace {

constexpr int kMaxHostLength = 1023;
constexpr const char* kReservedDomain = ".invalid";

// Names under "invalid" never resolve, so a name server is never asked about them.
bool IsReservedInvalidName(const std::string& name) {
  std::string lower = name;
  while (!lower.empty() && lower.back() == '.') lower.pop_back();
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string suffix = kReservedDomain;
  return lower == suffix.substr(1) ||
         (lower.size() > suffix.size() &&
          lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0);
}

// The first IPv4 address of the name; getaddrinfo is safe on several threads at once.
bool LookUpIpv4(const std::string& name, in_addr& out) {
  if (IsReservedInvalidName(name)) return false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
  out = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  freeaddrinfo(found);
  return true;
}

}  // namespace

bool ResolveAddress(const String& host, int port, sockaddr_in& address) {
  std::memset(&address, 0, sizeof(address));
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  if (host.Empty() || host.Length() > kMaxHostLength) return true;
  return LookUpIpv4(host.ToLatin1(), address.sin_addr);
}

KvSocketAddress::KvSocketAddress() {
  KvSocket::InitSockets();
  addr.sin_family = AF_INET;
}

void KvSocketAddress::Set(const String& newHost, int newPort) {
  ResolveAddress(newHost, newPort, addr);
  valid = false;
}

void KvSocketAddress::Set(const KvSocketAddress& address) {
  Set(address.addr);
}

void KvSocketAddress::Set(const sockaddr_in& address) {
  addr = address;
  valid = false;
}

void KvSocketAddress::Validate() {
  if (valid) return;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&addr.sin_addr.s_addr);
  host = String::FromInt(bytes[0]) + "." + String::FromInt(bytes[1]) + "." +
         String::FromInt(bytes[2]) + "." + String::FromInt(bytes[3]);
  port = ntohs(addr.sin_port);
  valid = true;
}

KvSocket::KvSocket() {
  InitSockets();
}

KvSocket::KvSocket(int handle, int protocol) : sock(handle), proto(protocol) {}

KvSocket::~KvSocket() {
  Close();
  if (accepted >= 0) ::close(accepted);
}

void KvSocket::InitSockets() {}

bool KvSocket::Open(int protocol) {
  if (sock >= 0 || protocol < 1) return false;
  int handle;
  if (protocol == kProtoStream || protocol == kProtoServer) {
    handle = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (handle >= 0) {
      const int noDelay = 1;
      setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay));
    }
  } else if (protocol == kProtoDatagram) {
    handle = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  } else {
    return false;
  }
  if (handle < 0) return false;
  sock = handle;
  proto = protocol;
  return true;
}

void KvSocket::Close() {
  CloseHandle(Detach());
}

int KvSocket::Detach() {
  return sock.exchange(-1);
}

void ShutDownHandle(int handle) {
  if (handle >= 0) ::shutdown(handle, SHUT_RDWR);
}

void CloseHandle(int handle) {
  if (handle >= 0) ::close(handle);
}

bool KvSocket::Bind(const String& host, int port) {
  sockaddr_in address;
  ResolveAddress(host, port, address);
  return ::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) >= 0;
}

bool KvSocket::Connect(const String& host, int port) {
  sockaddr_in address;
  if (!ResolveAddress(host, port, address)) return false;
  return ::connect(sock, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) >= 0;
}

bool KvSocket::Listen(int backlog) {
  return ::listen(sock, backlog) >= 0;
}

bool KvSocket::Accept() {
  accepted = ::accept(sock, nullptr, nullptr);
  return accepted >= 0;
}

std::unique_ptr<KvSocket> KvSocket::Accepted() {
  if (accepted < 0) return nullptr;
  auto wrapped = std::make_unique<KvSocket>(accepted, proto);
  accepted = -1;
  return wrapped;
}

int KvSocket::Send(KvDataBuffer& buffer, int offset, int count) {
  count = buffer.ClipCount(offset, count);
  if (count == 0) return 0;
  return static_cast<int>(::send(sock, buffer.Data() + offset, count, MSG_NOSIGNAL));
}

int KvSocket::Receive(KvDataBuffer& buffer, int offset, int count) {
  count = buffer.ClipCount(offset, count);
  if (count == 0) return 0;
  return static_cast<int>(::recv(sock, buffer.Data() + offset, count, 0));
}

int KvSocket::SendTo(KvDataBuffer& buffer, int offset, int count, KvSocketAddress& address) {
  count = buffer.ClipCount(offset, count);
  if (count == 0) return 0;
  return static_cast<int>(::sendto(sock, buffer.Data() + offset, count, MSG_NOSIGNAL,
                                   reinterpret_cast<const sockaddr*>(&address.addr),
                                   sizeof(address.addr)));
}

int KvSocket::ReceiveFrom(KvDataBuffer& buffer, int offset, int count, KvSocketAddress& address) {
  count = buffer.ClipCount(offset, count);
  if (count == 0) return 0;
  socklen_t size = sizeof(address.addr);
  const int result = static_cast<int>(::recvfrom(
      sock, buffer.Data() + offset, count, 0, reinterpret_cast<sockaddr*>(&address.addr), &size));
  address.valid = false;
  return result;
}

bool KvSocket::GetLocalAddress(KvSocketAddress& address) {
  socklen_t size = sizeof(address.addr);
  const bool ok = getsockname(sock, reinterpret_cast<sockaddr*>(&address.addr), &size) >= 0;
  address.valid = false;
  return ok;
}

bool KvSocket::GetRemoteAddress(KvSocketAddress& address) {
  socklen_t size = sizeof(address.addr);
  const bool ok = getpeername(sock, reinterpret_cast<sockaddr*>(&address.addr), &size) >= 0;
  address.valid = false;
  return ok;
}
