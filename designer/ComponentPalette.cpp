#include "ComponentPalette.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QStyle>
#include <QToolButton>

#include "framework/TextFunctions.h"
#include "framework/TypeInfo.h"

namespace gaugery {

namespace {

constexpr int ImageSize = 24;

}  // namespace

QPixmap PaletteImage(const std::string& ClassName) {
  const QString Name = QString::fromStdString(UpperCase(ClassName));
  const QDir Resources(QStringLiteral(":/"));
  for (const QString& Folder : Resources.entryList(QDir::Dirs)) {
    const QImage Image(Resources.filePath(Folder + QLatin1Char('/') + Name));
    if (!Image.isNull()) return QPixmap::fromImage(Image);
  }
  return QApplication::style()->standardIcon(QStyle::SP_FileIcon).pixmap(ImageSize, ImageSize);
}

TComponentPalette::TComponentPalette(QWidget* Parent) : QTabWidget(Parent) {
  setDocumentMode(true);
  Load();
}

void TComponentPalette::Load() {
  for (const std::string& Page : PalettePages())
    addTab(NewPage(PaletteClasses(Page)), QString::fromStdString(Page));
}

QWidget* TComponentPalette::NewPage(const std::vector<std::string>& ClassNames) {
  auto* Page = new QWidget(this);
  auto* Layout = new QHBoxLayout(Page);
  Layout->setContentsMargins(4, 2, 4, 2);
  Layout->setSpacing(2);
  for (const std::string& ClassName : ClassNames) Layout->addWidget(NewButton(ClassName, Page));
  Layout->addStretch();
  return Page;
}

QToolButton* TComponentPalette::NewButton(const std::string& ClassName, QWidget* Page) {
  auto* Button = new QToolButton(Page);
  Button->setObjectName(QString::fromStdString(ClassName));
  Button->setToolTip(QString::fromStdString(ClassName));
  Button->setIcon(QIcon(PaletteImage(ClassName)));
  Button->setIconSize(QSize(ImageSize, ImageSize));
  Button->setCheckable(true);
  Button->setAutoRaise(true);
  Button->installEventFilter(this);
  connect(Button, &QToolButton::toggled, this,
          [this, Button](bool Checked) { ButtonToggled(Button, Checked); });
  return Button;
}

std::vector<std::string> TComponentPalette::Classes(const QString& Page) const {
  std::vector<std::string> Names;
  for (int I = 0; I < count(); ++I) {
    if (tabText(I) != Page) continue;
    for (const QToolButton* Button : widget(I)->findChildren<QToolButton*>()) {
      Names.push_back(Button->objectName().toStdString());
    }
  }
  return Names;
}

QToolButton* TComponentPalette::Button(const std::string& ClassName) const {
  for (QToolButton* Button : Buttons()) {
    if (Button->objectName() == QString::fromStdString(ClassName)) return Button;
  }
  return nullptr;
}

std::string TComponentPalette::PendingClass() const {
  for (const QToolButton* Button : Buttons()) {
    if (Button->isChecked()) return Button->objectName().toStdString();
  }
  return {};
}

void TComponentPalette::ClearPending() {
  for (QToolButton* Button : Buttons()) Button->setChecked(false);
}

bool TComponentPalette::eventFilter(QObject* Watched, QEvent* Event) {
  if (Event->type() == QEvent::MouseButtonDblClick) {
    if (auto* Button = qobject_cast<QToolButton*>(Watched)) {
      ClearPending();
      emit ClassDoubleClicked(Button->objectName());
      return true;
    }
  }
  return QTabWidget::eventFilter(Watched, Event);
}

void TComponentPalette::ButtonToggled(QToolButton* Button, bool Checked) {
  if (Checked) {
    for (QToolButton* Other : Buttons()) {
      if (Other != Button) Other->setChecked(false);
    }
  }
  emit PendingClassChanged(QString::fromStdString(PendingClass()));
}

std::vector<QToolButton*> TComponentPalette::Buttons() const {
  std::vector<QToolButton*> All;
  for (int I = 0; I < count(); ++I) {
    for (QToolButton* Button : widget(I)->findChildren<QToolButton*>()) All.push_back(Button);
  }
  return All;
}

}  // namespace gaugery
