// The visit report: one GET at start-up telling the report endpoint the game was run.
#include "game/report/visit_report.h"
#include "base/runtime.h"
#include "game/core/globals.h"
#include "net/http_request.h"

#ifndef ZV_VISIT_REPORT_ADDRESS
#define ZV_VISIT_REPORT_ADDRESS ""
#endif

namespace {

constexpr const char* kReportPath = "/housecall.php";

// Hands one request's completion to the report, then goes: a request completes exactly once,
// and the game may replace its request while an earlier one is still in flight.
class ReportListener : public IOnHttpRequestComplete {
 public:
  explicit ReportListener(VisitReport& report) : report_(report) {}
  void OnHttpRequestComplete(HttpRequest& request) override {
    report_.OnHttpRequestComplete(request);
    delete this;
  }

 private:
  VisitReport& report_;
};

}  // namespace

String VisitReport::ReportAddress() {
  return ZV_VISIT_REPORT_ADDRESS;
}

void VisitReport::Send(bool allowed) {
  if (!allowed || ReportAddress().Empty()) return;
  GetURL(ReportAddress() + kReportPath, "hello=1&gameID=" + String::FromInt(kGameNumber));
}

int VisitReport::GetURL(const String& url, const String& query) {
  Answer = "N/A";
  auto request = HttpRequest::Create();
  request->Open("GET", url + "?" + query, new ReportListener(*this));
  Request = request.get();
  // From here the request's socket operations keep it alive until it completes.
  request->Send();
  kvPrint("Requesting URL");
  Done = 0;
  return 0;
}

void VisitReport::OnHttpRequestComplete(HttpRequest& request) {
  if (&request != Request) return;
  kvPrint("Http GET complete! " + String::FromInt(request.Status()));
  Done = 1;
  Answer = request.ResponseText();
  if (!Answer.Empty()) Able = 1;
  // The request is released when this call returns; what it said is kept above.
  Request = nullptr;
}
