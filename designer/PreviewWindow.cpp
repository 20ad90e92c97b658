#include "PreviewWindow.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "DesignerMessages.h"

namespace gaugery {

TPreviewWindow::TPreviewWindow(TDesignForm* Form, TComponent* Component,
                               std::unique_ptr<TComponentPreview> Preview, int IntervalMs,
                               QWidget* Parent)
    : QDialog(Parent),
      Component_(Component),
      Preview_(std::move(Preview)),
      Pause_(new QTimer(this)),
      Status_(new QLabel(this)),
      Table_(new QTableWidget(this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(tr("Preview of %1").arg(QString::fromStdString(Component->Name())));
  resize(720, 420);
  Pause_->setSingleShot(true);
  Pause_->setInterval(IntervalMs);
  connect(Pause_, &QTimer::timeout, this, &TPreviewWindow::TakeSample);
  Table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table_->verticalHeader()->hide();
  Table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  Refresh_ = Buttons->addButton(tr("Refresh"), QDialogButtonBox::ActionRole);
  connect(Refresh_, &QPushButton::clicked, this, &TPreviewWindow::Start);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* Layout = new QVBoxLayout(this);
  Layout->addWidget(Status_);
  Layout->addWidget(Table_);
  Layout->addWidget(Buttons);
  connect(Form, &TDesignForm::FormReplaced, this, &TPreviewWindow::Abandon);
  connect(Form, &TDesignForm::ComponentRemoving, this, [this](TComponent* Removed) {
    if (Removed == Component_) Abandon();
  });
}

TPreviewWindow::~TPreviewWindow() = default;

void TPreviewWindow::Start() {
  SamplesTaken_ = 0;
  Refresh_->setEnabled(false);
  Status_->setText(tr("Sampling %1 ...").arg(QString::fromStdString(Component_->Name())));
  TakeSample();
}

void TPreviewWindow::Abandon() {
  Pause_->stop();
  close();
}

bool TPreviewWindow::IsSampling() const { return !Refresh_->isEnabled(); }

void TPreviewWindow::TakeSample() {
  if (!Attempt(this, [this] { Preview_->Sample(); })) {
    Abandon();
    return;
  }
  if (++SamplesTaken_ < Preview_->SampleCount()) {
    Pause_->start();
  } else {
    ShowTable();
  }
}

void TPreviewWindow::ShowTable() {
  const TPreviewTable Reading = Preview_->Table();
  Table_->clear();
  Table_->setColumnCount(static_cast<int>(Reading.Columns.size()));
  Table_->setRowCount(static_cast<int>(Reading.Rows.size()));
  QStringList Captions;
  for (const std::string& Column : Reading.Columns) Captions << QString::fromStdString(Column);
  Table_->setHorizontalHeaderLabels(Captions);
  for (int Row = 0; Row < Table_->rowCount(); ++Row) {
    const std::vector<std::string>& Cells = Reading.Rows[static_cast<std::size_t>(Row)];
    for (int Column = 0; Column < Table_->columnCount(); ++Column) {
      Table_->setItem(
          Row, Column,
          new QTableWidgetItem(QString::fromStdString(Cells[static_cast<std::size_t>(Column)])));
    }
  }
  Table_->resizeColumnsToContents();
  Status_->setText(
      tr("%1 read at %2")
          .arg(QString::fromStdString(Component_->Name()), QTime::currentTime().toString()));
  Refresh_->setEnabled(true);
  emit Shown();
}

}  // namespace gaugery
