// The program's default error report: the text of an error that ended an event handler,
// shown in a message box. A failure that repeats on every timer tick must not stack a
// box per tick: while one report is open, further reports are held back (dropped).
#pragma once

#include <functional>
#include <string>

namespace gaugery {

// Shows one report and returns when the user has closed it.
using TErrorReportShow = std::function<void(const std::string& Text)>;

// Replaces the message box (tests); an empty function restores it.
void SetErrorReportShow(TErrorReportShow Show);

// Shows Text unless a report is open already. True when it was shown.
bool ReportError(const std::string& Text);

// The window system's message box with the error's text, modal, titled with the
// product's name. Each front end defines it.
void ShowErrorMessageBox(const std::string& Text);

}  // namespace gaugery
