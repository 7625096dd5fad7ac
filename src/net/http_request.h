// A minimal HTTP/1.0 client: one request per connection, the body read until the server
// closes. Headers of the response are kept but not interpreted.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "base/string.h"
#include "net/data_buffer.h"
#include "net/socket.h"
#include "net/url.h"

class HttpRequest;

class IOnHttpRequestComplete {
 public:
  virtual ~IOnHttpRequestComplete() = default;
  virtual void OnHttpRequestComplete(HttpRequest& request) = 0;
};

class HttpRequest : public IOnConnectComplete,
                    public IOnSendComplete,
                    public IOnReceiveComplete,
                    public std::enable_shared_from_this<HttpRequest> {
  struct Key {};  // only Create makes requests: their socket operations hold them alive

 public:
  static constexpr int kSendBufferSize = 4096;
  static constexpr int kReceiveBufferSize = 16384;
  // What ReadResponse returns when the request has ended.
  static constexpr int kFinished = -1;

  static std::shared_ptr<HttpRequest> Create();
  // Create, then Open.
  static std::shared_ptr<HttpRequest> Create(const String& method, const String& url,
                                             IOnHttpRequestComplete* onComplete);
  explicit HttpRequest(Key);

  // The listener must stay alive until its OnHttpRequestComplete has been called.
  void Open(const String& method, const String& url, IOnHttpRequestComplete* onComplete);
  // Connects on a worker; the completion comes in a later UpdateAsyncEvents.
  void Send();
  // Sends data as the body, encoded with "utf8" or "ascii"; an empty mimeType sends no
  // Content-Type line.
  void Send2(const String& data, const String& mimeType, const String& encoding);
  // -1 until a status line has been read.
  int Status() const { return status; }
  // The body, once the request has ended.
  const String& ResponseText() const { return responseText; }

  void OnConnectComplete(bool connected, Socket& socket) override;
  void OnSendComplete(DataBuffer& data, int offset, int count, Socket& socket) override;
  void OnReceiveComplete(DataBuffer& data, int offset, int count, Socket& socket) override;

  // The request head lines joined with CR LF and ended by an empty line; the lines are then
  // emptied, ready to collect the response head.
  String TakeRequestHead();
  // Takes count new response bytes that were received at offset of the receive buffer and
  // returns the offset for the next receive (which runs to the end of the buffer), or
  // kFinished. Zero or negative counts (the server closed, or a socket error) finish.
  int ReadResponse(int offset, int count);
  // Closes the socket, joins the body and tells the listener.
  void Finish();
  DataBuffer& ReceiveBuffer() { return *receiveBuffer; }

  String method;
  Url url{String(), "http", 80};
  IOnHttpRequestComplete* onComplete = nullptr;
  std::shared_ptr<DataBuffer> body;
  int bodyLength = 0;  // body bytes still to send
  int status = -1;
  std::optional<std::vector<String>> responseChunks;  // set once the response head has ended
  String responseText;
  int bytesReceived = 0;  // body bytes
  // Request head lines before sending; response head lines while reading.
  std::vector<String> lines;
  std::shared_ptr<Socket> socket;
  std::shared_ptr<DataBuffer> sendBuffer;
  std::shared_ptr<DataBuffer> receiveBuffer;

 private:
  void SendHead(Socket& socket);
  int ReadHead(int offset, int count);
  int EndHead(int bodyStart, int end);
  bool ReadStatusLine();
  void AddBodyChunk(int offset, int count);
};
