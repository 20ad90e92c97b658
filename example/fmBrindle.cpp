#include "fmBrindle.h"

#include <QFile>
#include <QHeaderView>
#include <QTimer>
#include <exception>
#include <optional>

#include "ElidedHeaderStyle.h"
#include "ErrorReport.h"
#include "ListViewRows.h"
#include "ProcessTable.h"
#include "fmAbout.h"
#include "ui_fmBrindle.h"

namespace gaugery {

namespace {

constexpr int DesignedLeft = 218;
constexpr int DesignedTop = 109;
constexpr int CounterColumnWidth = 100;
constexpr int TimerIntervalMs = 1000;

// The form's non-visual components: the counter filter with its eight selections.
std::string StoredFilterForm() {
  QFile Form(QStringLiteral(":/brindle/fmBrindle.json"));
  Form.open(QIODevice::ReadOnly);
  return Form.readAll().toStdString();
}

void UseButtonFaceColour(QWidget& Form) {
  QPalette Colours = Form.palette();
  Colours.setColor(QPalette::Window, Colours.color(QPalette::Button));
  Form.setPalette(Colours);
}

}  // namespace

TBrindleForm::TBrindleForm(QWidget* Parent, const std::string& ComputerName)
    : QMainWindow(Parent), Form_(std::make_unique<Ui::TBrindleForm>()) {
  Form_->setupUi(this);
  // Owned by the form, which deletes it after the list it made before.
  auto* HeaderStyle = new TElidedHeaderStyle();
  HeaderStyle->setParent(this);
  Form_->LV->header()->setStyle(HeaderStyle);
  move(DesignedLeft, DesignedTop);
  UseButtonFaceColour(*this);
  PerfFilter_ = ReadProcessFilter(StoredFilterForm());
  PerfFilter_->SetComputerName(ComputerName);
  Rows_ = std::make_unique<TListViewRows>(*Form_->LV);
  Timer_ = new QTimer(this);
  Timer_->setObjectName(QStringLiteral("Timer"));
  Timer_->setInterval(TimerIntervalMs);
  connect(Timer_, &QTimer::timeout, this, &TBrindleForm::TimerTimer);
  connect(Form_->About1, &QAction::triggered, this, &TBrindleForm::About1Click);
  Timer_->start();
  FormCreate();
}

TBrindleForm::~TBrindleForm() = default;

QTreeWidget* TBrindleForm::LV() const { return Form_->LV; }

void TBrindleForm::FormCreate() {
  BuildColumns();
  TimerTimer();
  ShowComputerName();
}

void TBrindleForm::ShowComputerName() {
  const std::string& Given = PerfFilter_->ComputerName();
  if (Given.empty()) return;
  const TPerfData* Snapshot = PerfFilter_->Snapshot();
  const std::string Measured = Snapshot != nullptr ? Snapshot->SystemName() : std::string();
  setWindowTitle(QString::fromLatin1(BrindleProductName) + QStringLiteral(" - ") +
                 QString::fromStdString(Measured.empty() ? Given : Measured));
}

void TBrindleForm::BuildColumns() {
  QTreeWidget& List = *Form_->LV;
  const std::vector<std::string> Captions = ProcessColumnCaptions(*PerfFilter_);
  const int Columns = static_cast<int>(Captions.size());
  if (List.columnCount() > Columns) List.setColumnCount(0);
  List.setColumnCount(Columns);
  QTreeWidgetItem& Header = *List.headerItem();
  for (int Column = 0; Column < Columns; ++Column) {
    const QString Caption = QString::fromStdString(Captions[Column]);
    Header.setText(Column, Caption);
    // A caption cut at the column's edge shows whole when pointed at.
    Header.setToolTip(Column, Caption);
    if (Column == 0) continue;
    Header.setTextAlignment(Column, Qt::AlignRight | Qt::AlignVCenter);
    List.setColumnWidth(Column, CounterColumnWidth);
  }
}

void TBrindleForm::TimerTimer() {
  if (IsBusy_) return;
  IsBusy_ = true;
  std::optional<std::string> Error;
  try {
    RefreshProcessRows(*PerfFilter_, *Rows_);
  } catch (const std::exception& Failure) {
    Error = Failure.what();
  }
  IsBusy_ = false;
  // Reported once the refresh is over: the report's event loop delivers further ticks.
  if (Error) ReportError(*Error);
}

void TBrindleForm::About1Click() {
  auto* Box = new TAboutBox(nullptr);
  Box->SetProductInfo(BrindleProductName, BrindleVersion);
  Box->exec();
}

}  // namespace gaugery
