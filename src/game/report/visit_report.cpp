// The visit report: one GET at start-up telling the report endpoint the game was run.
#include "game/core/globals.h"
#include "game/my_app.h"
#include "net/http_request.h"

#ifndef ZV_VISIT_REPORT_ADDRESS
#define ZV_VISIT_REPORT_ADDRESS ""
#endif

namespace {

constexpr const char* kReportPath = "/housecall.php";

// Hands one request's completion to the game, then goes: a request completes exactly once,
// and the game may replace its request while an earlier one is still in flight.
class ReportListener : public IOnHttpRequestComplete {
 public:
  explicit ReportListener(MyApp& app) : app_(app) {}
  void OnHttpRequestComplete(HttpRequest& request) override {
    app_.OnHttpRequestComplete(request);
    delete this;
  }

 private:
  MyApp& app_;
};

}  // namespace

String MyApp::ReportAddress() {
  return ZV_VISIT_REPORT_ADDRESS;
}

void MyApp::SendVisitReport() {
  if (!platform.visitReports || ReportAddress().Empty()) return;
  GetURL(ReportAddress() + kReportPath, "hello=1&gameID=" + String::FromInt(kGameNumber));
}

int MyApp::GetURL(const String& url, const String& query) {
  report.Answer = "N/A";
  auto request = HttpRequest::Create();
  request->Open("GET", url + "?" + query, new ReportListener(*this));
  report.Request = request.get();
  // From here the request's socket operations keep it alive until it completes.
  request->Send();
  kvPrint("Requesting URL");
  report.Done = 0;
  return 0;
}

void MyApp::OnHttpRequestComplete(HttpRequest& request) {
  if (&request != report.Request) return;
  kvPrint("Http GET complete! " + String::FromInt(request.Status()));
  report.Done = 1;
  report.Answer = request.ResponseText();
  if (!report.Answer.Empty()) report.Able = 1;
  // The request is released when this call returns; what it said is kept above.
  report.Request = nullptr;
}
