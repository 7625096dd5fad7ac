#include "net/url.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kNotFound = -1;
constexpr int kMaxPortCharacters = 63;

// A find result at or after end counts as not found.
int FindBefore(const String& text, const String& what, int start, int end) {
  const int at = text.Find(what, start);
  return at >= end ? kNotFound : at;
}

int ReadPort(const String& text, int from, int to) {
  return AsciiToInt(text.Slice(from, std::min(to, from + kMaxPortCharacters)));
}

}  // namespace

int AsciiToInt(const String& text) {
  // Read from the 8-bit form, as atoi sees it.
  const std::string narrow = text.ToLatin1();
  const auto* bytes = reinterpret_cast<const unsigned char*>(narrow.data());
  return String::FromBytes(bytes, static_cast<int>(narrow.size())).ToInt();
}

Url::Url(const String& text, const String& defaultScheme, int defaultPort)
    : defaultScheme(defaultScheme), defaultPort(defaultPort) {
  Set2(text);
}

void Url::Set2(const String& text) {
  url = text;
  scheme = defaultScheme;
  username = password = domain = String();
  port = defaultPort;
  path = "/";
  query = fragment = String();

  int q = text.Find("?");
  const int h = text.Find("#");
  if (q != kNotFound && h != kNotFound && h < q) q = kNotFound;  // a "?" in the fragment
  int end = text.Length();
  if (q != kNotFound) end = q;
  if (h != kNotFound && h < end) end = h;

  int start = 0;
  const int schemeEnd = FindBefore(text, "://", 0, end);
  if (schemeEnd != kNotFound) {
    scheme = text.Slice(0, schemeEnd);
    start = schemeEnd + 3;
  }
  ReadUserInfo(start, end);
  ReadHostPortAndPath(start, end);

  if (q != kNotFound) query = text.Slice(q + 1, h != kNotFound ? h : text.Length());
  if (h != kNotFound) fragment = text.Slice(h + 1);
}

void Url::ReadUserInfo(int& start, int end) {
  const int at = FindBefore(url, "@", start, end);
  if (at == kNotFound) return;
  const int colon = FindBefore(url, ":", start, at);
  if (colon != kNotFound) {
    username = url.Slice(start, colon);
    password = url.Slice(colon + 1, at);
  } else {
    username = url.Slice(start, at);
  }
  start = at + 1;
}

void Url::ReadHostPortAndPath(int start, int end) {
  const int colon = FindBefore(url, ":", start, end);
  const int slash = FindBefore(url, "/", start, end);
  if (slash == kNotFound) {
    domain = url.Slice(start, colon != kNotFound ? colon : end);
    if (colon != kNotFound) port = ReadPort(url, colon + 1, end);
    return;
  }
  if (colon != kNotFound && colon < slash) {
    domain = url.Slice(start, colon);
    port = ReadPort(url, colon + 1, slash);
  } else {
    domain = url.Slice(start, slash);
  }
  path = url.Slice(slash, end);
}

String Url::FullPath() const {
  String full = path;
  if (!query.Empty()) full += "?" + query;
  if (!fragment.Empty()) full += "#" + fragment;
  return full;
}
