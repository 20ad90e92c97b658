#include "DesignForm.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <exception>
#include <utility>

#include "framework/Exceptions.h"
#include "framework/StoredForm.h"
#include "framework/TextFunctions.h"
#include "framework/TypeInfo.h"

namespace gaugery {

namespace {

std::string ReadFileText(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) {
    throw Exception("Cannot open " + FileName.toStdString() + ": " +
                    File.errorString().toStdString());
  }
  const QByteArray Bytes = File.readAll();
  return std::string(Bytes.constData(), static_cast<std::size_t>(Bytes.size()));
}

void WriteFileText(const QString& FileName, const std::string& Text) {
  QSaveFile File(FileName);
  const bool Written = File.open(QIODevice::WriteOnly) &&
                       File.write(Text.data(), static_cast<qint64>(Text.size())) ==
                           static_cast<qint64>(Text.size()) &&
                       File.commit();
  if (!Written) {
    throw Exception("Cannot write " + FileName.toStdString() + ": " +
                    File.errorString().toStdString());
  }
}

// The stored form of Root; empty when it cannot be written (a component refuses to give
// a value), in which case no save can keep the file's bytes.
std::string StoredFormOf(TComponent* Root) {
  try {
    return WriteComponentForm(Root);
  } catch (const std::exception&) {
    return {};
  }
}

// The collection property of Owner that holds Collection; null when none does.
const TPropertyInfo* CollectionPropertyOf(TPersistent* Owner, const TCollection* Collection) {
  const TClassInfo* Class = ClassInfoOf(Owner);
  if (Class == nullptr) return nullptr;
  for (const TPropertyInfo* Property : PublishedProperties(*Class)) {
    if (Property->Kind == TPropertyKind::pkCollection &&
        Property->GetCollection(Owner) == Collection) {
      return Property;
    }
  }
  return nullptr;
}

}  // namespace

std::string DesignNameOf(TPersistent* Object) {
  if (const auto* Component = dynamic_cast<const TComponent*>(Object)) return Component->Name();
  const auto* Item = dynamic_cast<const TCollectionItem*>(Object);
  TCollection* Collection = Item == nullptr ? nullptr : Item->Collection();
  TPersistent* Owner = Collection == nullptr ? nullptr : Collection->GetOwner();
  const TPropertyInfo* Property = CollectionPropertyOf(Owner, Collection);
  if (Property == nullptr) return Object->ClassName();
  return DesignNameOf(Owner) + "." + Property->Name + "[" + IntToStr(Item->Index()) + "]";
}

TDesignForm::TDesignForm(QObject* Parent) : QObject(Parent) { New(); }

TDesignForm::~TDesignForm() = default;

std::vector<TComponent*> TDesignForm::Components() const {
  std::vector<TComponent*> All{Root_.get()};
  for (int I = 0; I < Root_->ComponentCount(); ++I) All.push_back(Root_->Components(I));
  return All;
}

void TDesignForm::New() {
  auto Root = std::make_unique<TComponent>(nullptr);
  Root->SetName("Form1");
  Replace(std::move(Root), QString(), std::string());
}

void TDesignForm::Open(const QString& FileName) {
  std::string Text = ReadFileText(FileName);
  std::unique_ptr<TComponent> Root(ReadComponentForm(Text, nullptr));
  Replace(std::move(Root), FileName, std::move(Text));
}

void TDesignForm::Replace(std::unique_ptr<TComponent> Root, const QString& FileName,
                          std::string Text) {
  Select({});
  Root->SetDesigning(true);
  // The old form lives until the views have heard of the new one.
  const std::unique_ptr<TComponent> Old = std::exchange(Root_, std::move(Root));
  FileName_ = FileName;
  FileText_ = std::move(Text);
  FileForm_ = FileText_.empty() ? std::string() : StoredFormOf(Root_.get());
  emit FormReplaced();
  emit FileNameChanged();
  SetModified(false);
  Select({Root_.get()});
  emit Changed();
}

void TDesignForm::SaveAs(const QString& FileName) {
  const std::string Form = WriteComponentForm(Root_.get());
  const bool Unchanged = !FileText_.empty() && Form == FileForm_;
  const std::string Text = Unchanged ? FileText_ : Form;
  WriteFileText(FileName, Text);
  FileText_ = Text;
  FileForm_ = Form;
  if (FileName_ != FileName) {
    FileName_ = FileName;
    emit FileNameChanged();
  }
  SetModified(false);
}

TComponent* TDesignForm::AddComponent(const std::string& ClassName) {
  const TClassInfo* Class = FindClassInfo(ClassName);
  if (Class == nullptr || !Class->Create) {
    throw Exception("Class " + ClassName + " cannot be put on a form");
  }
  std::unique_ptr<TComponent> Component(Class->Create(Root_.get()));
  Component->SetName(UniqueName(Class->ClassName));
  TComponent* Added = Component.release();
  SetModified(true);
  emit Changed();
  return Added;
}

void TDesignForm::DeleteComponents(const std::vector<TComponent*>& Doomed) {
  std::vector<TComponent*> Owned;
  for (TComponent* Component : Doomed) {
    const bool New = std::find(Owned.begin(), Owned.end(), Component) == Owned.end();
    if (Component->Owner() == Root_.get() && New) Owned.push_back(Component);
  }
  if (Owned.empty()) return;
  Select({Root_.get()});
  for (TComponent* Component : Owned) {
    emit ComponentRemoving(Component);
    delete Component;
  }
  SetModified(true);
  emit Changed();
}

void TDesignForm::RenameComponent(TComponent* Component, const std::string& Name) {
  if (Name == Component->Name()) return;
  if (Name.empty()) throw Exception("\"\" is not a valid component name");
  if (NameTaken(Name, Component)) throw Exception("A component named " + Name + " already exists");
  Component->SetName(Name);
  SetModified(true);
  emit Changed();
}

TCollectionItem* TDesignForm::AddItem(TCollection* Collection) {
  TCollectionItem* Item = Collection->Add();
  SetModified(true);
  emit Changed();
  return Item;
}

void TDesignForm::DeleteItems(const std::vector<TCollectionItem*>& Doomed) {
  if (Doomed.empty()) return;
  TPersistent* Owner = Doomed.front()->Collection()->GetOwner();
  Select(Owner == nullptr ? TDesignSelection() : TDesignSelection{Owner});
  for (TCollectionItem* Item : Doomed) delete Item;
  SetModified(true);
  emit Changed();
}

void TDesignForm::MoveItem(TCollectionItem* Item, int NewIndex) {
  if (NewIndex == Item->Index()) return;
  Item->SetIndex(NewIndex);
  SetModified(true);
  emit Changed();
}

void TDesignForm::PropertiesChanged() {
  SetModified(true);
  emit Changed();
}

void TDesignForm::Select(TDesignSelection Objects) {
  if (Objects == Selection_) return;
  Selection_ = std::move(Objects);
  emit SelectionChanged();
}

std::string TDesignForm::UniqueName(const std::string& ClassName) const {
  const std::string Base =
      ClassName.size() > 1 && ClassName[0] == 'T' ? ClassName.substr(1) : ClassName;
  for (int Number = 1;; ++Number) {
    const std::string Name = Base + IntToStr(Number);
    if (!NameTaken(Name, nullptr)) return Name;
  }
}

bool TDesignForm::NameTaken(const std::string& Name, const TComponent* Except) const {
  const std::vector<TComponent*> All = Components();
  return std::any_of(All.begin(), All.end(), [&](const TComponent* Component) {
    return Component != Except && SameText(Component->Name(), Name);
  });
}

void TDesignForm::SetModified(bool Modified) {
  if (Modified == Modified_) return;
  Modified_ = Modified;
  emit ModifiedChanged(Modified);
}

}  // namespace gaugery
