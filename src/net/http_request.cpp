#include "net/http_request.h"

namespace {
constexpr int kDefaultPort = 80;
constexpr unsigned char kLineFeed = 10;
}  // namespace

std::shared_ptr<HttpRequest> HttpRequest::Create() {
  return std::make_shared<HttpRequest>(Key{});
}

std::shared_ptr<HttpRequest> HttpRequest::Create(const String& method, const String& url,
                                                 IOnHttpRequestComplete* onComplete) {
  auto request = Create();
  request->Open(method, url, onComplete);
  return request;
}

HttpRequest::HttpRequest(Key)
    : sendBuffer(std::make_shared<DataBuffer>(kSendBufferSize)),
      receiveBuffer(std::make_shared<DataBuffer>(kReceiveBufferSize)) {}

void HttpRequest::Open(const String& newMethod, const String& text,
                       IOnHttpRequestComplete* listener) {
  method = newMethod;
  url = Url(text, "http", kDefaultPort);
  onComplete = listener;
  body.reset();
  bodyLength = 0;
  status = -1;
  responseChunks.reset();
  responseText = String();
  bytesReceived = 0;
  lines.clear();
  lines.push_back(method + " " + url.FullPath() + " HTTP/1.0");
  lines.push_back("Host: " + url.Domain());
}

void HttpRequest::Send() {
  socket = Socket::Create("stream");
  socket->ConnectAsync(url.Domain(), url.Port(), shared_from_this());
}

void HttpRequest::Send2(const String& data, const String& mimeType, const String& encoding) {
  body = std::make_shared<DataBuffer>(3 * data.Length());
  bodyLength = body->PokeString(0, data, encoding);
  if (!mimeType.Empty()) lines.push_back("Content-Type: " + mimeType);
  lines.push_back("Content-Length: " + String::FromInt(bodyLength));
  Send();
}

void HttpRequest::OnConnectComplete(bool connected, Socket& connection) {
  if (!connected) {
    Finish();
    return;
  }
  SendHead(connection);
}

void HttpRequest::SendHead(Socket& connection) {
  const String head = TakeRequestHead();
  // A head longer than the usual buffer gets a buffer of its own rather than being cut.
  if (head.Length() > sendBuffer->Length())
    sendBuffer = std::make_shared<DataBuffer>(head.Length());
  const int headLength = sendBuffer->PokeString(0, head, "ascii");
  if (!connection.IsConnected()) return;
  connection.SendAsync(sendBuffer, 0, headLength, shared_from_this());
  if (connection.IsConnected()) {
    connection.ReceiveAsync(receiveBuffer, 0, kReceiveBufferSize, shared_from_this());
  }
}

String HttpRequest::TakeRequestHead() {
  lines.push_back(String());
  lines.push_back(String());
  const String head = String::Join("\r\n", lines);
  lines.clear();
  return head;
}

void HttpRequest::OnSendComplete(DataBuffer&, int, int, Socket& connection) {
  if (bodyLength != 0 && connection.IsConnected()) {
    connection.SendAsync(body, 0, bodyLength, shared_from_this());
  }
  bodyLength = 0;
}

void HttpRequest::OnReceiveComplete(DataBuffer&, int offset, int count, Socket& connection) {
  const int next = ReadResponse(offset, count);
  if (next == kFinished) {
    Finish();
  } else if (connection.IsConnected()) {
    connection.ReceiveAsync(receiveBuffer, next, kReceiveBufferSize - next, shared_from_this());
  }
}

int HttpRequest::ReadResponse(int offset, int count) {
  count = receiveBuffer->ClipCount(offset, count);
  if (count <= 0) return kFinished;
  if (!responseChunks) return ReadHead(offset, count);
  AddBodyChunk(offset, count);
  return 0;
}

// The unfinished head line always starts at byte 0 of the receive buffer.
int HttpRequest::ReadHead(int offset, int count) {
  const unsigned char* bytes = receiveBuffer->Data();
  const int end = offset + count;
  int lineStart = 0;
  for (int i = offset; i < end; ++i) {
    if (bytes[i] != kLineFeed) continue;
    // Trimming removes the carriage return too.
    const String line = receiveBuffer->PeekString(lineStart, i - lineStart, "ascii").Trim();
    lineStart = i + 1;
    if (line.Empty()) return EndHead(lineStart, end);
    lines.push_back(line);
  }
  const int unfinished = end - lineStart;
  receiveBuffer->CopyBytes(lineStart, *receiveBuffer, 0, unfinished);
  return unfinished;
}

int HttpRequest::EndHead(int bodyStart, int end) {
  if (!ReadStatusLine()) return kFinished;
  responseChunks.emplace();
  if (end > bodyStart) AddBodyChunk(bodyStart, end - bodyStart);
  return 0;
}

bool HttpRequest::ReadStatusLine() {
  if (lines.empty()) return false;
  const std::vector<String> parts = lines.front().ToUpper().Split(" ");
  if (parts.size() < 3 || !parts[0].StartsWith("HTTP/")) return false;
  const int code = AsciiToInt(parts[1]);
  // A negative code would read as "no status line at all"; such a line is malformed.
  if (code < 0) return false;
  status = code;
  return true;
}

// Each piece is decoded on its own.
void HttpRequest::AddBodyChunk(int offset, int count) {
  bytesReceived += count;
  responseChunks->push_back(receiveBuffer->PeekString(offset, count, "utf8"));
}

void HttpRequest::Finish() {
  if (socket) socket->Close();
  if (responseChunks) responseText = String::Join(String(), *responseChunks);
  if (onComplete) onComplete->OnHttpRequestComplete(*this);
}
