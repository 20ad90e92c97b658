#include "fmBrindle.h"

#include <QHeaderView>
#include <QTimer>
#include <chrono>
#include <optional>

#include "BrindleTable.h"
#include "ElidedHeaderStyle.h"
#include "ListViewRows.h"
#include "fmAbout.h"
#include "ui_fmBrindle.h"

namespace gaugery {

namespace {

constexpr int DesignedLeft = 218;
constexpr int DesignedTop = 109;

void UseButtonFaceColour(QWidget& Form) {
  QPalette Colours = Form.palette();
  Colours.setColor(QPalette::Window, Colours.color(QPalette::Button));
  Form.setPalette(Colours);
}

}  // namespace

TBrindleForm::TBrindleForm(QWidget* Parent, const TBrindleArguments& Shown)
    : QMainWindow(Parent), Form_(std::make_unique<Ui::TBrindleForm>()) {
  Form_->setupUi(this);
  // Owned by the form, which deletes it after the list it made before.
  auto* HeaderStyle = new TElidedHeaderStyle();
  HeaderStyle->setParent(this);
  Form_->LV->header()->setStyle(HeaderStyle);
  move(DesignedLeft, DesignedTop);
  UseButtonFaceColour(*this);
  Columns_ = std::make_unique<TListViewColumns>(*Form_->LV);
  Rows_ = std::make_unique<TListViewRows>(*Form_->LV);
  Table_ = std::make_unique<TBrindleTable>(*Columns_, *Rows_, Shown);
  Timer_ = new QTimer(this);
  Timer_->setObjectName(QStringLiteral("Timer"));
  connect(Timer_, &QTimer::timeout, this, &TBrindleForm::TimerTimer);
  connect(Form_->About1, &QAction::triggered, this, &TBrindleForm::About1Click);
  // Started first: ticks arrive while a failed first refresh is being reported.
  ScheduleTick();
  FormCreate();
}

TBrindleForm::~TBrindleForm() = default;

QTreeWidget* TBrindleForm::LV() const { return Form_->LV; }

TPerfFilter* TBrindleForm::PerfFilter() const { return &Table_->PerfFilter(); }

bool TBrindleForm::IsBusy() const { return Table_->IsBusy(); }

void TBrindleForm::FormCreate() {
  Table_->FormCreate();
  setWindowTitle(QString::fromStdString(Table_->Caption()));
  ScheduleTick();
}

void TBrindleForm::TimerTimer() {
  Table_->TimerTimer();
  ScheduleTick();
}

// A new interval restarts the running timer, so that it counts from this refresh.
void TBrindleForm::ScheduleTick() {
  const std::optional<std::chrono::milliseconds> Interval = Table_->TickInterval();
  if (Interval) {
    Timer_->start(*Interval);
  } else {
    Timer_->stop();
  }
}

void TBrindleForm::About1Click() {
  auto* Box = new TAboutBox(nullptr);
  Box->SetProductInfo(BrindleProductName, BrindleVersion);
  Box->SetNotice(Table_->Notice());
  Box->exec();
}

}  // namespace gaugery
