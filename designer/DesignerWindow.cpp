#include "DesignerWindow.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <algorithm>

#include "CollectionEditor.h"
#include "ComponentPalette.h"
#include "DesignerMessages.h"
#include "FormSurface.h"
#include "PropertyGrid.h"
#include "PreviewWindow.h"
#include "framework/ComponentPreview.h"
#include "ui_DesignerWindow.h"

namespace gaugery {

namespace {

const QString FormFilter = QStringLiteral("Stored forms (*.json);;All files (*)");

}  // namespace

TDesignerWindow::TDesignerWindow(std::vector<TLoadedPackage> Packages, QWidget* Parent)
    : QMainWindow(Parent),
      Ui_(std::make_unique<Ui::TDesignerWindow>()),
      Form_(std::make_unique<TDesignForm>()),
      Packages_(std::move(Packages)) {
  Ui_->setupUi(this);
  Ui_->CollectionDock->hide();
  Ui_->Surface->SetForm(Form_.get());
  Ui_->Inspector->SetForm(Form_.get());
  Ui_->CollectionEditor->SetForm(Form_.get());

  connect(Ui_->NewAction, &QAction::triggered, this, &TDesignerWindow::FileNew);
  connect(Ui_->OpenAction, &QAction::triggered, this, &TDesignerWindow::FileOpen);
  connect(Ui_->SaveAction, &QAction::triggered, this, &TDesignerWindow::FileSave);
  connect(Ui_->SaveAsAction, &QAction::triggered, this, &TDesignerWindow::FileSaveAs);
  connect(Ui_->ExitAction, &QAction::triggered, this, &QWidget::close);
  connect(Ui_->DeleteAction, &QAction::triggered, this, &TDesignerWindow::EditDelete);
  connect(Ui_->SelectAllAction, &QAction::triggered, this, &TDesignerWindow::EditSelectAll);
  connect(Ui_->RenameAction, &QAction::triggered, this, &TDesignerWindow::EditRename);
  connect(Ui_->PreviewAction, &QAction::triggered, this, &TDesignerWindow::Preview);
  connect(Ui_->PackagesAction, &QAction::triggered, this, &TDesignerWindow::HelpPackages);

  connect(Ui_->Palette, &TComponentPalette::currentChanged, this,
          [this] { Ui_->Palette->ClearPending(); });
  connect(
      Ui_->Palette, &TComponentPalette::ClassDoubleClicked, this,
      [this](const QString& ClassName) { Ui_->Surface->DropComponent(ClassName.toStdString()); });
  connect(
      Ui_->Palette, &TComponentPalette::PendingClassChanged, this,
      [this](const QString& ClassName) { Ui_->Surface->SetPendingClass(ClassName.toStdString()); });
  connect(Ui_->Surface, &TFormSurface::PendingClassDropped, Ui_->Palette,
          &TComponentPalette::ClearPending);
  connect(Ui_->Surface, &TFormSurface::ComponentActivated, this,
          &TDesignerWindow::ComponentActivated);
  connect(Ui_->Inspector, &TPropertyGrid::CollectionEditRequested, this,
          [this](TComponent* Owner, const TPropertyInfo* Property) {
            EditCollection(Owner, *Property);
          });
  connect(Ui_->CollectionEditor, &TCollectionEditor::TitleChanged, this,
          [this](const QString& Title) {
            Ui_->CollectionDock->setWindowTitle(Title.isEmpty() ? tr("Items")
                                                                : tr("Editing %1").arg(Title));
            if (Title.isEmpty()) Ui_->CollectionDock->hide();
          });

  connect(Form_.get(), &TDesignForm::ModifiedChanged, this, &TDesignerWindow::UpdateTitle);
  connect(Form_.get(), &TDesignForm::FileNameChanged, this, &TDesignerWindow::UpdateTitle);
  connect(Form_.get(), &TDesignForm::SelectionChanged, this, &TDesignerWindow::UpdateActions);
  connect(Form_.get(), &TDesignForm::Changed, this, &TDesignerWindow::UpdateActions);
  UpdateTitle();
  UpdateActions();
}

TDesignerWindow::~TDesignerWindow() {
  // The inspector's editors go while the components they edit still exist.
  Form_->Select({});
}

TComponentPalette* TDesignerWindow::Palette() const { return Ui_->Palette; }
TFormSurface* TDesignerWindow::Surface() const { return Ui_->Surface; }
TPropertyGrid* TDesignerWindow::Inspector() const { return Ui_->Inspector; }
TCollectionEditor* TDesignerWindow::CollectionEditor() const { return Ui_->CollectionEditor; }

bool TDesignerWindow::OpenFile(const QString& FileName) {
  return Attempt(this, [&] { Form_->Open(FileName); });
}

bool TDesignerWindow::SaveFile(const QString& FileName) {
  return Attempt(this, [&] { Form_->SaveAs(FileName); });
}

bool TDesignerWindow::ConfirmDiscard() {
  if (!Form_->IsModified()) return true;
  const QString Name =
      Form_->FileName().isEmpty() ? tr("the new form") : QFileInfo(Form_->FileName()).fileName();
  const auto Answer = QMessageBox::question(
      this, QString::fromLatin1(DesignerName), tr("Save changes to %1?").arg(Name),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (Answer == QMessageBox::Save) {
    FileSave();
    return !Form_->IsModified();
  }
  return Answer == QMessageBox::Discard;
}

void TDesignerWindow::closeEvent(QCloseEvent* Event) {
  if (ConfirmDiscard()) {
    Event->accept();
  } else {
    Event->ignore();
  }
}

void TDesignerWindow::FileNew() {
  if (ConfirmDiscard()) Form_->New();
}

void TDesignerWindow::FileOpen() {
  if (!ConfirmDiscard()) return;
  const QString FileName =
      QFileDialog::getOpenFileName(this, tr("Open Form"), Form_->FileName(), FormFilter);
  if (!FileName.isEmpty()) OpenFile(FileName);
}

void TDesignerWindow::FileSave() {
  if (Form_->FileName().isEmpty()) {
    FileSaveAs();
  } else {
    SaveFile(Form_->FileName());
  }
}

void TDesignerWindow::FileSaveAs() {
  QFileDialog Dialog(this, tr("Save Form As"), Form_->FileName(), FormFilter);
  Dialog.setAcceptMode(QFileDialog::AcceptSave);
  // A name typed without extension gets ".json", and the dialog asks before replacing.
  Dialog.setDefaultSuffix(QStringLiteral("json"));
  if (Dialog.exec() == QDialog::Accepted) SaveFile(Dialog.selectedFiles().constFirst());
}

void TDesignerWindow::EditDelete() {
  std::vector<TComponent*> Components;
  std::vector<TCollectionItem*> Items;
  for (TPersistent* Object : Form_->Selection()) {
    if (auto* Component = dynamic_cast<TComponent*>(Object)) Components.push_back(Component);
    if (auto* Item = dynamic_cast<TCollectionItem*>(Object)) Items.push_back(Item);
  }
  if (!Items.empty()) Form_->DeleteItems(Items);
  if (!Components.empty()) Form_->DeleteComponents(Components);
}

void TDesignerWindow::EditSelectAll() {
  const std::vector<TComponent*> All = Form_->Components();
  // The root's own components; the root itself when it owns none.
  Form_->Select(All.size() == 1 ? TDesignSelection{All.front()}
                                : TDesignSelection(All.begin() + 1, All.end()));
}

void TDesignerWindow::EditRename() {
  if (SelectedComponent() != nullptr) Ui_->Inspector->EditName();
}

void TDesignerWindow::EditCollection(TComponent* Owner, const TPropertyInfo& Property) {
  Ui_->CollectionEditor->Edit(Owner, Property);
  Ui_->CollectionDock->show();
  Ui_->CollectionDock->raise();
}

TPreviewWindow* TDesignerWindow::Preview() {
  TComponent* Component = SelectedComponent();
  std::unique_ptr<TComponentPreview> Reader =
      Component == nullptr ? nullptr : CreateComponentPreview(Component);
  if (!Reader) return nullptr;
  auto* Window =
      new TPreviewWindow(Form_.get(), Component, std::move(Reader), PreviewInterval_, this);
  Window->show();
  Window->Start();
  return Window;
}

void TDesignerWindow::ReportPackageProblems() {
  QStringList Problems;
  for (const TLoadedPackage& Package : Packages_) {
    if (!Package.IsLoaded()) Problems << QString::fromStdString(Package.Error);
  }
  if (Packages_.empty()) Problems << tr("No design package was named.");
  if (Problems.isEmpty()) return;
  const bool NoneLoaded =
      std::none_of(Packages_.begin(), Packages_.end(),
                   [](const TLoadedPackage& Package) { return Package.IsLoaded(); });
  if (NoneLoaded) statusBar()->showMessage(tr("The palette is empty: no design package is loaded"));
  QMessageBox::warning(this, QString::fromLatin1(DesignerName),
                       Problems.join(QStringLiteral("\n\n")));
}

void TDesignerWindow::HelpPackages() {
  QStringList Lines;
  for (const TLoadedPackage& Package : Packages_) {
    const std::string& What = Package.IsLoaded() ? Package.Description : Package.Error;
    Lines << QString::fromStdString(What) + QStringLiteral("\n") + Package.FileName;
  }
  if (Lines.isEmpty()) Lines << tr("No design package is loaded.");
  QMessageBox::information(this, tr("Packages"), Lines.join(QStringLiteral("\n\n")));
}

void TDesignerWindow::ComponentActivated(TComponent* Component) {
  for (const TPropertyInfo* Property : PublishedProperties(*ClassInfoOf(Component))) {
    if (Property->Kind == TPropertyKind::pkCollection) {
      EditCollection(Component, *Property);
      return;
    }
  }
}

void TDesignerWindow::UpdateTitle() {
  const QString Name =
      Form_->FileName().isEmpty() ? tr("Untitled") : QFileInfo(Form_->FileName()).fileName();
  setWindowTitle(Name + QStringLiteral("[*] - ") + QString::fromLatin1(DesignerName));
  setWindowModified(Form_->IsModified());
}

void TDesignerWindow::UpdateActions() {
  const TDesignSelection& Selection = Form_->Selection();
  const bool Deletable =
      std::any_of(Selection.begin(), Selection.end(),
                  [this](TPersistent* Object) { return Object != Form_->Root(); });
  Ui_->DeleteAction->setEnabled(Deletable);
  Ui_->RenameAction->setEnabled(SelectedComponent() != nullptr);
  TComponent* Component = SelectedComponent();
  Ui_->PreviewAction->setEnabled(Component != nullptr &&
                                 CreateComponentPreview(Component) != nullptr);
}

TComponent* TDesignerWindow::SelectedComponent() const {
  const TDesignSelection& Selection = Form_->Selection();
  return Selection.size() == 1 ? dynamic_cast<TComponent*>(Selection.front()) : nullptr;
}

}  // namespace gaugery
