// Brindle's main form on Win32: the running processes with eight of their counters in a
// report-style ListView, refreshed once a second from one sample of the form's filter.
#pragma once

#include <memory>
#include <string>

#include "BrindleArguments.h"
#include "framework/WindowsApi.h"

namespace gaugery {

class TBrindleTable;
class TListViewColumns;
class TListViewRows;

class TBrindleForm {
 public:
  // The window class of the form, by which tests find it.
  static constexpr wchar_t WindowClass[] = L"TBrindleForm";

  // Creates the window (hidden) at its designed bounds reading what Shown names, starts
  // the timer, then builds the columns and fills the table once (FormCreate): ticks
  // arrive while a failed first refresh is being reported. Exception when the window
  // cannot be created; a failed first refresh is reported and the form is still created.
  explicit TBrindleForm(const TBrindleArguments& Shown);
  ~TBrindleForm();
  TBrindleForm(const TBrindleForm&) = delete;
  TBrindleForm& operator=(const TBrindleForm&) = delete;

  void FormCreate();
  // One refresh, then the timer set for the next: a second, or a counter log's recorded
  // pace, stopped after its last sample.
  void TimerTimer();
  // Shows a new about box modally, with the notice of what is shown; the table keeps
  // refreshing behind it.
  void About1Click();

  HWND Handle() const { return Window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam);
  void CreateList();
  void LayOut();
  void ScheduleTick();

  HWND Window_ = nullptr;
  HWND LV_ = nullptr;
  HFONT Font_ = nullptr;
  std::unique_ptr<TListViewColumns> Columns_;
  std::unique_ptr<TListViewRows> Rows_;
  std::unique_ptr<TBrindleTable> Table_;
};

}  // namespace gaugery
