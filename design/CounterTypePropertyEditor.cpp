#include "CounterTypePropertyEditor.h"

#include "PerfFilter.h"
#include "PerfMonitor.h"
#include "ui_CounterTypePropertyEditor.h"

namespace gaugery {

namespace {

QString ToQ(const std::string& Text) { return QString::fromStdString(Text); }

PPERF_COUNTER_DEFINITION CounterDefinitionOf(TObject* Item) {
  if (auto* CounterItem = dynamic_cast<TPerfCounterItem*>(Item)) {
    return CounterItem->GetCounterDefinition();
  }
  if (auto* MonitorItem = dynamic_cast<TPerfMonitorItem*>(Item)) {
    return MonitorItem->GetCounterDefinition();
  }
  throw Exception("Incompatible types");
}

}  // namespace

TCounterTypeForm::TCounterTypeForm(QWidget* Parent)
    : QDialog(Parent), Ui_(std::make_unique<Ui::TCounterTypeForm>()) {
  Ui_->setupUi(this);
  // The system menu is the only border icon: no help or size buttons.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

TCounterTypeForm::~TCounterTypeForm() = default;

void TCounterTypeForm::SetItem(TObject* Item) {
  Item_ = Item;
  const PPERF_COUNTER_DEFINITION Definition = CounterDefinitionOf(Item);
  const TCounterTypeTexts Texts = CounterTypeTexts(*Definition);
  // The size line already ends with " ( CounterSize = <n>)".
  Ui_->LbSize->setText(ToQ(Texts.Size));
  Ui_->LbType->setText(ToQ(Texts.Type));
  if (Texts.Subtype) Ui_->LbSubtype->setText(ToQ(*Texts.Subtype));
  Ui_->LbTimebase->setText(ToQ(Texts.TimeBase));
  Ui_->LbModifier->setText(ToQ(Texts.Modifier));
  Ui_->LbDispaly->setText(ToQ(Texts.Display));
}

TPropertyAttributes TCounterTypePropertyEditor::GetAttributes() {
  return paDialog | paMultiSelect | paReadOnly;
}

std::string TCounterTypePropertyEditor::GetValue() { return "(Counter type)"; }

void TCounterTypePropertyEditor::SetValue(const std::string& /*Value*/) {}

void TCounterTypePropertyEditor::Edit() {
  auto Form = std::make_unique<TCounterTypeForm>();
  Form->SetItem(GetComponent(0));
  ShowModal(*Form);
  // Released after its pending events, like every dialog the designer closes.
  Form.release()->deleteLater();
}

}  // namespace gaugery

namespace gaugery::CounterTypePropertyEditorUnit {

void DoRegister() {
  for (const std::type_index Class :
       {std::type_index(typeid(TPerfCounterItem)), std::type_index(typeid(TPerfMonitorItem))}) {
    RegisterPropertyEditor(ObjectPropertyType<TPerfCounterType>(), Class, "CounterType",
                           PropertyEditorClass<TCounterTypePropertyEditor>());
  }
}

}  // namespace gaugery::CounterTypePropertyEditorUnit
