// Brindle's main form: the running processes of this computer with eight of their
// counters, refreshed once a second from one sample of the form's counter filter.
#pragma once

#include <QMainWindow>
#include <memory>

#include "PerfFilter.h"

class QTimer;
class QTreeWidget;

namespace Ui {
class TBrindleForm;
}

namespace gaugery {

class TListViewRows;

// The product information the wait form and the about box show.
inline constexpr char BrindleProductName[] = "Brindle";
inline constexpr char BrindleVersion[] = "4.1";

class TBrindleForm : public QMainWindow {
  Q_OBJECT

 public:
  // Loads the filter from the form's stored components, sets it to read ComputerName
  // (empty: this computer), starts the timer and runs FormCreate: the table is filled
  // before the form is first shown.
  explicit TBrindleForm(QWidget* Parent = nullptr, const std::string& ComputerName = {});
  ~TBrindleForm() override;

  // Builds one column per counter selection after "Task name" (a list with surplus
  // columns loses all of them first), then refreshes once. A remote computer's name
  // (as its data names it, or as given) follows the caption: "Brindle - NAME".
  void FormCreate();
  // One refresh of the whole table. A tick that arrives while a refresh runs is
  // dropped; an error ends the refresh and goes to the default error report.
  void TimerTimer();
  // Shows a new about box modally; it disposes of itself when closed.
  void About1Click();

  QTreeWidget* LV() const;
  QTimer* Timer() const { return Timer_; }
  TPerfFilter* PerfFilter() const { return PerfFilter_.get(); }
  bool IsBusy() const { return IsBusy_; }

 private:
  void BuildColumns();
  void ShowComputerName();

  std::unique_ptr<Ui::TBrindleForm> Form_;
  std::unique_ptr<TPerfFilter> PerfFilter_;
  std::unique_ptr<TListViewRows> Rows_;
  QTimer* Timer_ = nullptr;
  bool IsBusy_ = false;
};

}  // namespace gaugery
