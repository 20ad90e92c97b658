// The form being designed: a root component with the components it owns, the file it
// was read from, whether it has changed since, and what the designer has selected in it.
// Every change of the form goes through here, so that the views hear of it and the
// modified mark is kept.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "framework/DesignIntf.h"
#include "framework/TCollection.h"
#include "framework/TComponent.h"

namespace gaugery {

// How the designer names an object: a component by its name, a collection item by the
// name of the component owning the collection, the collection property and the item's
// position ("PerfFilter1.Items[0]").
std::string DesignNameOf(TPersistent* Object);

class TDesignForm : public QObject {
  Q_OBJECT

 public:
  // Starts with a new form.
  explicit TDesignForm(QObject* Parent = nullptr);
  ~TDesignForm() override;

  TComponent* Root() const { return Root_.get(); }
  // The components of the form, the root first.
  std::vector<TComponent*> Components() const;
  // Empty for a form that was never saved.
  const QString& FileName() const { return FileName_; }
  bool IsModified() const { return Modified_; }

  // --- Files. Exception with the reason when a file cannot be read or written; the form
  // stays as it was then.
  // An empty form: a plain component named "Form1".
  void New();
  void Open(const QString& FileName);
  // Writes the stored form and makes FileName the form's file. When the form stores the
  // same values as the file it was read from (or last written to), the bytes of that file
  // are written again unchanged, whatever their layout.
  void SaveAs(const QString& FileName);

  // --- Components
  // A new component of the registered class, owned by the root and named after its class
  // with the first free number ("PerfFilter1").
  TComponent* AddComponent(const std::string& ClassName);
  // Destroys the components; the root is kept. The root is selected afterwards.
  void DeleteComponents(const std::vector<TComponent*>& Doomed);
  // Exception for a name that is not an identifier or that another component of the form
  // carries (ignoring case).
  void RenameComponent(TComponent* Component, const std::string& Name);

  // --- Collection items
  TCollectionItem* AddItem(TCollection* Collection);
  // Destroys the items; the component owning the collection is selected afterwards.
  void DeleteItems(const std::vector<TCollectionItem*>& Doomed);
  void MoveItem(TCollectionItem* Item, int NewIndex);

  // Marks the form modified after a property editor changed stored values.
  void PropertiesChanged();

  // --- Selection: components, or items of one collection.
  const TDesignSelection& Selection() const { return Selection_; }
  void Select(TDesignSelection Objects);

 signals:
  // New or Open replaced the form: whatever pointed into the old one is gone.
  void FormReplaced();
  // The component is about to be destroyed.
  void ComponentRemoving(TComponent* Component);
  // Components were added, renamed or removed, items added, moved or removed, or
  // property values changed.
  void Changed();
  void SelectionChanged();
  void ModifiedChanged(bool Modified);
  void FileNameChanged();

 private:
  void Replace(std::unique_ptr<TComponent> Root, const QString& FileName, std::string Text);
  std::string UniqueName(const std::string& ClassName) const;
  bool NameTaken(const std::string& Name, const TComponent* Except) const;
  void SetModified(bool Modified);

  std::unique_ptr<TComponent> Root_;
  QString FileName_;
  bool Modified_ = false;
  // The bytes of the form's file, and the stored form the designer would write for what
  // was read from it: a save that would write the same keeps the bytes.
  std::string FileText_;
  std::string FileForm_;
  TDesignSelection Selection_;
};

}  // namespace gaugery
