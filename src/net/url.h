// URL text split into scheme, user information, host, port, path, query and fragment.
#pragma once

#include "base/string.h"

class Url {
 public:
  Url(const String& text, const String& defaultScheme, int defaultPort);

  // Parses text again, starting from the defaults.
  void Set2(const String& text);
  // The path, then "?" and the query and "#" and the fragment when they are not empty.
  String FullPath() const;
  const String& Domain() const { return domain; }
  int Port() const { return port; }

  String defaultScheme;
  int defaultPort;
  String url;
  String scheme;
  String username;
  String password;
  String domain;
  int port;
  String path;  // always begins with "/"
  String query;
  String fragment;

 private:
  void ReadUserInfo(int& start, int end);
  void ReadHostPortAndPath(int start, int end);
};

// atoi on the 8-bit form of text: leading white space, a sign, digits; 0 when there are none.
// Out-of-range values saturate instead of overflowing.
int AsciiToInt(const String& text);
