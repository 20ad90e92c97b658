// Gaugery Designer's main window: the palette above the form, the object inspector on
// the left, the collection editor on the right, and the File, Edit, Component and Help
// menus. The window title shows the form's file and a modified mark; closing (or
// replacing) a form with unsaved changes asks first.
#pragma once

#include <QMainWindow>
#include <memory>
#include <vector>

#include "DesignForm.h"
#include "PackageLoader.h"

namespace Ui {
class TDesignerWindow;
}

namespace gaugery {

class TCollectionEditor;
class TComponentPalette;
class TFormSurface;
class TPropertyGrid;
class TPreviewWindow;

class TDesignerWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Packages: what loading the design packages gave; the palette shows what they
  // registered.
  explicit TDesignerWindow(std::vector<TLoadedPackage> Packages, QWidget* Parent = nullptr);
  ~TDesignerWindow() override;

  TDesignForm& Form() const { return *Form_; }
  TComponentPalette* Palette() const;
  TFormSurface* Surface() const;
  TPropertyGrid* Inspector() const;
  TCollectionEditor* CollectionEditor() const;
  const std::vector<TLoadedPackage>& Packages() const { return Packages_; }

  // The file commands without their file dialogs; an error is shown. True when done.
  bool OpenFile(const QString& FileName);
  bool SaveFile(const QString& FileName);
  // Asks what becomes of unsaved changes: true when they were saved or may be dropped.
  bool ConfirmDiscard();

  void EditCollection(TComponent* Owner, const TPropertyInfo& Property);
  // Opens a preview of the selected component; null when it has none.
  TPreviewWindow* Preview();
  // The pause between the samples of a preview (a second unless changed).
  void SetPreviewInterval(int Milliseconds) { PreviewInterval_ = Milliseconds; }

  // Tells the user about the packages that could not be loaded, in one message.
  void ReportPackageProblems();

 protected:
  void closeEvent(QCloseEvent* Event) override;

 private:
  void FileNew();
  void FileOpen();
  void FileSave();
  void FileSaveAs();
  void EditDelete();
  void EditSelectAll();
  void EditRename();
  void HelpPackages();
  void ComponentActivated(TComponent* Component);
  void UpdateTitle();
  void UpdateActions();
  // The one component selected; null for none, several, or collection items.
  TComponent* SelectedComponent() const;

  std::unique_ptr<Ui::TDesignerWindow> Ui_;
  std::unique_ptr<TDesignForm> Form_;
  std::vector<TLoadedPackage> Packages_;
  int PreviewInterval_ = 1000;
};

}  // namespace gaugery
