#include "PropertyRow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "DesignerMessages.h"
#include "framework/TextCompare.h"

namespace gaugery {

namespace {

// A drop-down that asks for its entries when it opens, as designers ask editors.
class TValueListBox : public QComboBox {
 public:
  TValueListBox(QWidget* Parent, std::function<bool()> Fill)
      : QComboBox(Parent), Fill_(std::move(Fill)) {}

  void showPopup() override {
    if (Fill_()) QComboBox::showPopup();
  }

 private:
  std::function<bool()> Fill_;
};

}  // namespace

TPropertyRow::TPropertyRow(std::unique_ptr<TPropertyEditor> Editor, QWidget* Parent)
    : QWidget(Parent), Editor_(std::move(Editor)), Attributes_(Editor_->GetAttributes()) {
  auto* Layout = new QHBoxLayout(this);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(0);
  if ((Attributes_ & paValueList) != 0) {
    BuildValueList();
  } else {
    BuildTextLine();
  }
  if ((Attributes_ & paDialog) != 0) BuildDialogButton();
  Refresh();
}

TPropertyRow::~TPropertyRow() = default;

QString TPropertyRow::Name() const { return QString::fromStdString(Editor_->GetName()); }

void TPropertyRow::BuildValueList() {
  ValueList_ = new TValueListBox(this, [this] { return FillValues(); });
  ValueList_->setEditable(true);
  ValueList_->setInsertPolicy(QComboBox::NoInsert);
  TextLine_ = ValueList_->lineEdit();
  TextLine_->setReadOnly(IsReadOnly());
  connect(ValueList_, &QComboBox::activated, this,
          [this](int Index) { Enter(ValueList_->itemText(Index)); });
  connect(TextLine_, &QLineEdit::editingFinished, this, [this] { Enter(TextLine_->text()); });
  layout()->addWidget(ValueList_);
}

void TPropertyRow::BuildTextLine() {
  TextLine_ = new QLineEdit(this);
  TextLine_->setFrame(false);
  TextLine_->setReadOnly(IsReadOnly());
  TextLine_->setEnabled(!IsReadOnly());
  connect(TextLine_, &QLineEdit::editingFinished, this, [this] { Enter(TextLine_->text()); });
  layout()->addWidget(TextLine_);
}

void TPropertyRow::BuildDialogButton() {
  DialogButton_ = new QToolButton(this);
  DialogButton_->setText(QStringLiteral("..."));
  DialogButton_->setToolTip(tr("Edit %1").arg(Name()));
  connect(DialogButton_, &QToolButton::clicked, this, &TPropertyRow::DialogRequested);
  layout()->addWidget(DialogButton_);
}

void TPropertyRow::Refresh() {
  try {
    Shown_ = QString::fromStdString(Editor_->GetValue());
    TextLine_->setToolTip({});
  } catch (const std::exception& Error) {
    // A value the component cannot give (a name unknown on this computer) is no reason
    // to hide the row: the reason stands in its place.
    Shown_.clear();
    TextLine_->setToolTip(QString::fromStdString(Error.what()));
  }
  TextLine_->setText(Shown_);
  TextLine_->setCursorPosition(0);
}

QString TPropertyRow::Text() const { return TextLine_->text(); }

bool TPropertyRow::FillValues() {
  if (ValueList_ == nullptr) return false;
  std::vector<std::string> Values;
  if (!Attempt(this,
               [&] { Editor_->GetValues([&](const std::string& V) { Values.push_back(V); }); })) {
    return false;
  }
  if ((Attributes_ & paSortList) != 0) {
    std::stable_sort(Values.begin(), Values.end(), [](const std::string& A, const std::string& B) {
      return AnsiCompareText(A, B) < 0;
    });
  }
  const QString Current = TextLine_->text();
  ValueList_->clear();
  for (const std::string& Value : Values) ValueList_->addItem(QString::fromStdString(Value));
  ValueList_->setCurrentIndex(ValueList_->findText(Current, Qt::MatchFixedString));
  TextLine_->setText(Current);
  return true;
}

void TPropertyRow::Enter(const QString& Text) {
  if (Text != Shown_) emit ValueEntered(Text);
}

}  // namespace gaugery
