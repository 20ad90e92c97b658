#include "DesignerTesting.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "FormSurface.h"
#include "PropertyGrid.h"
#include "framework/TypeInfo.h"

namespace gaugery::testing {

std::vector<TLoadedPackage> DesignPackage() {
  return {LoadDesignPackage(QStringLiteral(GAUGERY_DESIGN_PACKAGE))};
}

TMessageBoxes::TMessageBoxes(QMessageBox::StandardButton Answer) : Answer_(Answer) {
  QObject::connect(&Watch_, &QTimer::timeout, [this] { AnswerOpenBox(); });
  Watch_.start(5);
}

TMessageBoxes::~TMessageBoxes() { Watch_.stop(); }

void TMessageBoxes::AnswerOpenBox() {
  auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (Box == nullptr || !Box->isVisible()) return;
  Texts_.push_back(Box->text().toStdString());
  QAbstractButton* Button = Box->button(Answer_);
  if (Button == nullptr) Button = Box->buttons().front();
  Button->click();
}

TPropertyRow& RowOf(const TDesignerWindow& Window, const QString& Property) {
  TPropertyRow* Row = Window.Inspector()->Row(Property);
  if (Row == nullptr) {
    ADD_FAILURE() << "no row " << Property.toStdString() << " among "
                  << Window.Inspector()->RowNames().join(QStringLiteral(", ")).toStdString();
    throw std::logic_error("missing row");
  }
  return *Row;
}

QStringList DropDownEntries(TPropertyRow& Row) {
  QComboBox* List = Row.ValueList();
  List->showPopup();
  QStringList Entries;
  for (int I = 0; I < List->count(); ++I) Entries << List->itemText(I);
  List->hidePopup();
  return Entries;
}

void PickEntry(TPropertyRow& Row, const QString& Entry) {
  QComboBox* List = Row.ValueList();
  List->showPopup();
  const int Index = List->findText(Entry);
  ASSERT_GE(Index, 0) << Entry.toStdString() << " is not offered";
  QAbstractItemView* View = List->view();
  const QModelIndex Item = View->model()->index(Index, 0);
  View->scrollTo(Item);
  QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, View->visualRect(Item).center());
}

void TypeText(TPropertyRow& Row, const QString& Text) {
  QLineEdit* Line = Row.TextLine();
  Line->selectAll();
  QTest::keyClicks(Line, Text);
  QTest::keyClick(Line, Qt::Key_Return);
}

void ClickIcon(const TDesignerWindow& Window, TComponent* Component,
               Qt::KeyboardModifiers Modifiers) {
  const QRect Icon = Window.Surface()->IconRect(Component);
  ASSERT_FALSE(Icon.isEmpty()) << Component->Name() << " is not on the form";
  QTest::mouseClick(Window.Surface(), Qt::LeftButton, Modifiers, Icon.center());
}

namespace {

const TPropertyInfo& PropertyOf(TPersistent* Object, const std::string& Property) {
  const TPropertyInfo* Info = FindPublishedProperty(*ClassInfoOf(Object), Property);
  if (Info == nullptr) throw std::logic_error("no property " + Property);
  return *Info;
}

}  // namespace

std::string TextOf(TPersistent* Object, const std::string& Property) {
  return PropertyOf(Object, Property).GetString(Object);
}

TCollection* CollectionOf(TPersistent* Object, const std::string& Property) {
  return PropertyOf(Object, Property).GetCollection(Object);
}

TComponent* LinkOf(TPersistent* Object, const std::string& Property) {
  return PropertyOf(Object, Property).GetComponent(Object);
}

std::string FileText(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) return {};
  return File.readAll().toStdString();
}

}  // namespace gaugery::testing
