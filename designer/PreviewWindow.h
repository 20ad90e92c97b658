// The live preview of a filter or a monitor: the window takes the samples the
// component's preview asks for, a pause apart, and shows what the component read for each
// instance, so that the user sees whether the selections are valid on this computer.
// It closes itself when its component leaves the form.
#pragma once

#include <QDialog>
#include <memory>

#include "DesignForm.h"
#include "framework/ComponentPreview.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

namespace gaugery {

class TPreviewWindow : public QDialog {
  Q_OBJECT

 public:
  // IntervalMs: the pause between two samples.
  TPreviewWindow(TDesignForm* Form, TComponent* Component,
                 std::unique_ptr<TComponentPreview> Preview, int IntervalMs, QWidget* Parent);
  ~TPreviewWindow() override;

  // Takes the samples again, then shows the table.
  void Start();
  bool IsSampling() const;

  QTableWidget* Table() const { return Table_; }

 signals:
  // The table shows a new reading.
  void Shown();

 private:
  void TakeSample();
  void ShowTable();
  // Stops sampling and closes: the component is gone or failed.
  void Abandon();

  TComponent* Component_;
  std::unique_ptr<TComponentPreview> Preview_;
  QTimer* Pause_;
  int SamplesTaken_ = 0;
  QLabel* Status_;
  QTableWidget* Table_;
  QPushButton* Refresh_;
};

}  // namespace gaugery
