// Renders Gaugery Designer offscreen into a picture: a stored form open, a monitor with
// one item dropped beside its components, and the item's object key dialog beside the
// window.
//
//   designer_screenshot FORM.json FILE.PNG
#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

#include "DesignerMessages.h"
#include "DesignerWindow.h"
#include "FormSurface.h"
#include "PropertyGrid.h"
#include "PropertyRow.h"
#include "framework/TypeInfo.h"

namespace {

using namespace gaugery;

constexpr int Gap = 16;
constexpr int TitleHeight = 24;

void SetText(TPersistent* Object, const std::string& Property, const std::string& Value) {
  FindPublishedProperty(*ClassInfoOf(Object), Property)->SetString(Object, Value);
}

// A monitor of the processor time of each process, told apart by process identifier.
TCollectionItem* DropMonitor(TDesignerWindow& Window) {
  TComponent* Monitor = Window.Surface()->DropComponent("TPerfMonitor", QPoint(128, 16));
  SetText(Monitor, "LocaleID", "009");
  TCollection* Items =
      FindPublishedProperty(*ClassInfoOf(Monitor), "Items")->GetCollection(Monitor);
  TCollectionItem* Item = Window.Form().AddItem(Items);
  SetText(Item, "ObjectName", "Process");
  SetText(Item, "CounterName", "% Processor Time");
  SetText(Item, "ObjectKey", "ID Process;Elapsed Time");
  Window.EditCollection(Monitor, *FindPublishedProperty(*ClassInfoOf(Monitor), "Items"));
  Window.Form().Select({Item});
  return Item;
}

// The window's picture under a title bar: offscreen windows have no frame of their own.
QPixmap Framed(QWidget& Window) {
  const QPixmap Client = Window.grab();
  QPixmap Picture(Client.width(), Client.height() + TitleHeight);
  QPainter Painter(&Picture);
  Painter.fillRect(0, 0, Client.width(), TitleHeight, QColor(0x2b, 0x4f, 0x81));
  Painter.setPen(Qt::white);
  QFont Caption = Window.font();
  Caption.setBold(true);
  Painter.setFont(Caption);
  Painter.drawText(
      QRect(8, 0, Client.width() - 16, TitleHeight), Qt::AlignVCenter,
      Window.windowTitle().replace(QStringLiteral("[*]"), Window.isWindowModified() ? "*" : ""));
  Painter.drawPixmap(0, TitleHeight, Client);
  return Picture;
}

QImage SideBySide(const QPixmap& Left, const QPixmap& Right) {
  QImage Picture(Left.width() + Gap + Right.width() + Gap, std::max(Left.height(), Right.height()),
                 QImage::Format_RGB32);
  Picture.fill(QColor(0xd8, 0xd8, 0xd8));
  QPainter Painter(&Picture);
  Painter.drawPixmap(0, 0, Left);
  Painter.drawPixmap(Left.width() + Gap, (Picture.height() - Right.height()) / 3, Right);
  return Picture;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: designer_screenshot FORM.json FILE.PNG\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(argc, argv);
  Application.setApplicationName(QString::fromLatin1(DesignerName));
  TDesignerWindow Window({LoadDesignPackage(DefaultPackageFile())});
  Window.resize(1000, 560);
  Window.show();
  if (!Window.OpenFile(QString::fromLocal8Bit(argv[1]))) return 1;
  DropMonitor(Window);

  bool Written = false;
  // The dialog is modal: it is grabbed from within its own event loop, then cancelled.
  QTimer::singleShot(200, [&] {
    auto* Dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (Dialog == nullptr) return;
    Written = SideBySide(Framed(Window), Framed(*Dialog)).save(QString::fromLocal8Bit(argv[2]));
    Dialog->reject();
  });
  Window.Inspector()->Row(QStringLiteral("ObjectKey"))->DialogButton()->click();
  if (!Written) {
    std::fprintf(stderr, "designer_screenshot: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
