#include "fmAbout.h"

#include <QDesktopServices>
#include <QUrl>

#include "BrindleProduct.h"
#include "NoticeLabel.h"
#include "ui_fmAbout.h"

namespace gaugery {

namespace {

void OpenUrl(const std::string& Url) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(Url), QUrl::StrictMode));
}

}  // namespace

TAboutBox::TAboutBox(QWidget* Parent) : QDialog(Parent), Form_(std::make_unique<Ui::TAboutBox>()) {
  Form_->setupUi(this);
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
  // Labels take the size of their text in the fonts at hand. The home-page link keeps
  // the right edge it was designed with: in a wider font it grows to the left instead of
  // past the panel's edge.
  const int HomepageRight = Form_->LbHomepage->geometry().right();
  for (QLabel* Label :
       {Form_->LbProductName, Form_->LbNotice, static_cast<QLabel*>(Form_->LbMailTo),
        static_cast<QLabel*>(Form_->LbHomepage)}) {
    Label->adjustSize();
  }
  Form_->LbHomepage->move(HomepageRight + 1 - Form_->LbHomepage->width(), Form_->LbHomepage->y());
  connect(Form_->OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(Form_->LbMailTo, &TLinkLabel::clicked, this, &TAboutBox::LbMailToClick);
  connect(Form_->LbHomepage, &TLinkLabel::clicked, this, &TAboutBox::LbHomepageClick);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::SetProductInfo(const std::string& ProductName, const std::string& Version) {
  const QString Name = QString::fromStdString(ProductName);
  setWindowTitle(QStringLiteral("About ") + Name);
  Form_->LbProductTitle->setText(Name);
  Form_->LbVersion->setText(QStringLiteral("Version ") + QString::fromStdString(Version));
  Form_->LbProductTitle->adjustSize();
  Form_->LbVersion->adjustSize();
}

void TAboutBox::SetNotice(const std::string& Notice) { ShowNotice(*Form_->LbNotice, Notice); }

// Whether a program could open the link is not examined: the box stays as it is.
void TAboutBox::LbMailToClick() { OpenUrl(SupportMailUrl()); }

void TAboutBox::LbHomepageClick() { OpenUrl(HomepageUrl()); }

void TAboutBox::done(int Result) {
  QDialog::done(Result);
  FormClose();
}

// Deferred: the box may be closing from inside one of its own event handlers.
void TAboutBox::FormClose() { deleteLater(); }

}  // namespace gaugery
