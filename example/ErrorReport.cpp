#include "ErrorReport.h"

#include <utility>

namespace gaugery {

namespace {

TErrorReportShow& Shower() {
  static TErrorReportShow Show = ShowErrorMessageBox;
  return Show;
}

// The box is modal but runs its own event loop: timer ticks, and their errors, still
// arrive while it is open.
bool ReportOpen = false;

class TOpenReport {
 public:
  TOpenReport() { ReportOpen = true; }
  ~TOpenReport() { ReportOpen = false; }
  TOpenReport(const TOpenReport&) = delete;
  TOpenReport& operator=(const TOpenReport&) = delete;
};

}  // namespace

void SetErrorReportShow(TErrorReportShow Show) {
  Shower() = Show ? std::move(Show) : TErrorReportShow(ShowErrorMessageBox);
}

bool ReportError(const std::string& Text) {
  if (ReportOpen) return false;
  const TOpenReport Open;
  Shower()(Text);
  return true;
}

}  // namespace gaugery
