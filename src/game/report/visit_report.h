// The visit report: the one request that tells the game's server a copy was started, and what
// it answered. May use: core.
#pragma once

#include "base/string.h"

class HttpRequest;

struct VisitReport {
  // Sends the report when the player allowed it and the build names an endpoint (the
  // ZV_VISIT_REPORT_ADDRESS setting); without one nothing is sent.
  void Send(bool allowed);
  // Starts a GET of url + "?" + query with this report as the listener; returns 0.
  int GetURL(const String& url, const String& query);
  // Only the request in Request counts; a non-empty answer sets Able. Request is cleared
  // afterwards, as the request object ends with its completion.
  void OnHttpRequestComplete(HttpRequest& request);
  // The endpoint address this build reports to; empty when none was configured.
  static String ReportAddress();

  HttpRequest* Request = nullptr;
  String Answer = "N/A";
  int Done = 0;
  // The server answered: the credits may say so.
  int Able = 0;
};
