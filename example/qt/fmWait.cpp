#include "fmWait.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWindow>

#include "NoticeLabel.h"
#include "ui_fmWait.h"

namespace gaugery {

namespace {

// How long ShowPainted waits for the window system to map the window.
constexpr int ExposeTimeoutMs = 1000;

}  // namespace

TPerfWaitForm::TPerfWaitForm(QWidget* Parent)
    : QWidget(Parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      Form_(std::make_unique<Ui::TPerfWaitForm>()) {
  Form_->setupUi(this);
  // Labels take the size of their text in the fonts at hand; Label1 keeps its own.
  for (QLabel* Label : {Form_->LbProductName, Form_->Label2}) Label->adjustSize();
  move(screen()->availableGeometry().center() - rect().center());
}

TPerfWaitForm::~TPerfWaitForm() = default;

void TPerfWaitForm::SetProductInfo(const std::string& ProductName, const std::string& Version) {
  Form_->LbProductTitle->setText(QString::fromStdString(ProductName));
  Form_->LbVersion->setText(QStringLiteral("Version ") + QString::fromStdString(Version));
  Form_->LbProductTitle->adjustSize();
  Form_->LbVersion->adjustSize();
}

void TPerfWaitForm::SetNotice(const std::string& Notice) { ShowNotice(*Form_->Label2, Notice); }

// A window can be painted only once it is mapped; until then only the window system's
// events are let through.
void TPerfWaitForm::ShowPainted() {
  show();
  QElapsedTimer Waited;
  Waited.start();
  while (!windowHandle()->isExposed() && Waited.elapsed() < ExposeTimeoutMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
  }
  repaint();
}

void TPerfWaitForm::closeEvent(QCloseEvent* Event) {
  QWidget::closeEvent(Event);
  FormClose();
}

// Deferred, as the close may come from inside one of the form's own event handlers.
void TPerfWaitForm::FormClose() { deleteLater(); }

}  // namespace gaugery
