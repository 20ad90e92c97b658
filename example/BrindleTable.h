// What Brindle's main form does, whatever window system shows it: the counter filter of
// its stored form with eight selections of the Process object, the columns built once,
// and a refresh of the whole table per timer tick from one sample.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BrindleArguments.h"
#include "PerfFilter.h"
#include "ProcessTable.h"

namespace gaugery {

class TBrindleTable {
 public:
  // Loads the filter from the stored form and sets it to read the computer of Shown
  // (none: this one, or the replay that Shown names and that is in service). Columns
  // and Rows are the form's list; they outlive the table.
  TBrindleTable(TProcessColumns& Columns, TProcessRows& Rows, const TBrindleArguments& Shown);
  ~TBrindleTable();
  TBrindleTable(const TBrindleTable&) = delete;
  TBrindleTable& operator=(const TBrindleTable&) = delete;

  // Builds one column per counter selection after "Task name" (a list with surplus
  // columns loses all of them first), then refreshes once.
  void FormCreate();
  // One refresh of the whole table. A tick that arrives while a refresh runs is
  // dropped; an error ends the refresh, leaving the rows as far as they got, and goes
  // to the default error report once the refresh is over.
  void TimerTimer();

  // How long the timer waits for the next tick after a refresh: a second, or on a
  // counter log the recorded time from the shown sample to the next one, so that the log
  // plays at its recorded pace. None once the log's last sample is shown: the timer
  // stops there.
  std::optional<std::chrono::milliseconds> TickInterval() const;

  // "Brindle"; for a remote computer "Brindle - " and its name, as its data gives it
  // once there is a sample, as given before.
  std::string Caption() const;
  // The notice of the about box: what is shown, a remote computer named as in Caption.
  std::string Notice() const;

  TPerfFilter& PerfFilter() const { return *PerfFilter_; }
  bool IsBusy() const { return IsBusy_; }

 private:
  void Refresh();
  // A remote computer's name, as its data gives it once there is a sample; empty for
  // this computer.
  std::string RemoteName() const;

  TProcessColumns& Columns_;
  TProcessRows& Rows_;
  std::unique_ptr<TPerfFilter> PerfFilter_;
  std::vector<std::string> ReplayFiles_;
  bool IsBusy_ = false;
};

}  // namespace gaugery
