// Brindle's main form on Qt: the running processes of this computer with eight of their
// counters, refreshed once a second from one sample of the form's counter filter.
#pragma once

#include <QMainWindow>
#include <memory>

#include "BrindleArguments.h"
#include "BrindleProduct.h"
#include "PerfFilter.h"

class QTimer;
class QTreeWidget;

namespace Ui {
class TBrindleForm;
}

namespace gaugery {

class TBrindleTable;
class TListViewColumns;
class TListViewRows;

class TBrindleForm : public QMainWindow {
  Q_OBJECT

 public:
  // Loads the filter from the form's stored components, sets it to read what Shown
  // names (by default this computer), starts the timer and runs FormCreate: the table is
  // filled before the form is first shown.
  explicit TBrindleForm(QWidget* Parent = nullptr, const TBrindleArguments& Shown = {});
  ~TBrindleForm() override;

  // Builds the columns and refreshes once (TBrindleTable). A remote computer's name
  // follows the caption: "Brindle - NAME".
  void FormCreate();
  // One refresh of the whole table (TBrindleTable), then the timer set for the next:
  // a second, or a counter log's recorded pace, stopped after its last sample.
  void TimerTimer();
  // Shows a new about box modally, with the notice of what is shown; it disposes of
  // itself when closed.
  void About1Click();

  QTreeWidget* LV() const;
  QTimer* Timer() const { return Timer_; }
  TPerfFilter* PerfFilter() const;
  bool IsBusy() const;

 private:
  void ScheduleTick();

  std::unique_ptr<Ui::TBrindleForm> Form_;
  std::unique_ptr<TListViewColumns> Columns_;
  std::unique_ptr<TListViewRows> Rows_;
  std::unique_ptr<TBrindleTable> Table_;
  QTimer* Timer_ = nullptr;
};

}  // namespace gaugery
