// The visit report: the one request that tells the game's server a copy was started, and what
// it answered. May use: core.
#pragma once

#include "base/string.h"

class HttpRequest;

struct VisitReport {
  HttpRequest* Request = nullptr;
  String Answer = "N/A";
  int Done = 0;
  // The server answered: the credits may say so.
  int Able = 0;
};
