// Runs brindle.exe (the program beside the running test) and looks into its windows
// from outside, through the Win32 API, as a user's tools would.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "framework/WindowsApi.h"

namespace gaugery::testing {

using namespace std::chrono_literals;

// Polls Condition until it holds or Timeout has passed; whether it held.
bool WaitFor(const std::function<bool()>& Condition,
             std::chrono::milliseconds Timeout = std::chrono::milliseconds(10'000));

// Capture files for --replay in the temporary directory, removed with the object.
class TCaptures {
 public:
  TCaptures() = default;
  TCaptures(const TCaptures&) = delete;
  TCaptures& operator=(const TCaptures&) = delete;
  ~TCaptures();

  // A new file named Name holding Block; its path.
  std::wstring Save(const test::TBlock& Block, const std::wstring& Name);

 private:
  std::vector<std::wstring> Files_;
};

// What a report-style ListView shows.
struct TListViewColumn {
  std::string Caption;
  bool RightAligned = false;
  int Width = 0;
};
struct TListViewContent {
  std::vector<TListViewColumn> Columns;
  // Per row: the caption, then the sub-items.
  std::vector<std::vector<std::string>> Rows;
};

class TBrindleProcess {
 public:
  // Starts brindle.exe with "--replay FILE" for each of Captures.
  explicit TBrindleProcess(const std::vector<std::wstring>& Captures);
  // Closes the main window and waits for the program to end; ends it when it does not.
  ~TBrindleProcess();
  TBrindleProcess(const TBrindleProcess&) = delete;
  TBrindleProcess& operator=(const TBrindleProcess&) = delete;

  // The program's visible top-level windows of the given class ("#32770": dialogs
  // and message boxes) and, when not empty, caption.
  std::vector<HWND> Windows(const std::wstring& Class, const std::wstring& Caption = L"") const;
  // The visible main form once it is shown (nullptr after the timeout).
  HWND WaitForMainForm() const;
  // The main form, shown or not yet (nullptr before it is created).
  HWND MainForm() const;
  TListViewContent ReadList(HWND MainForm) const;
  bool HasEnded() const;

 private:
  PROCESS_INFORMATION Process_{};
};

// How a run of brindle.exe that opens no window ended.
struct TBrindleEnd {
  // -1 when it did not end in time (it was ended then).
  int ExitCode = -1;
  std::string Out;
};

// Runs brindle.exe with Arguments and its standard output into a pipe.
TBrindleEnd RunBrindle(const std::wstring& Arguments);

// The text of a window (for a dialog's control: GetDlgItem first).
std::string WindowText(HWND Window);

}  // namespace gaugery::testing
