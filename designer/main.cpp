// Gaugery Designer: builds and edits the stored forms of Gaugery's components with the
// design package's palette, property editors and dialogs.
//
//   gaugery-designer [--package FILE]... [FORM.json]
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "DesignerMessages.h"
#include "DesignerWindow.h"
#include "PackageLoader.h"

int main(int argc, char** argv) {
  QApplication Application(argc, argv);
  Application.setApplicationName(QString::fromLatin1(gaugery::DesignerName));

  QCommandLineParser Parser;
  Parser.setApplicationDescription(QStringLiteral("Designs stored forms of Gaugery components."));
  Parser.addHelpOption();
  const QCommandLineOption PackageOption(
      QStringLiteral("package"),
      QStringLiteral("Loads the design package FILE instead of GaugeryDesign (repeatable)."),
      QStringLiteral("FILE"));
  Parser.addOption(PackageOption);
  Parser.addPositionalArgument(QStringLiteral("form"), QStringLiteral("A stored form to open."),
                               QStringLiteral("[FORM.json]"));
  Parser.process(Application);

  QStringList PackageFiles = Parser.values(PackageOption);
  if (PackageFiles.isEmpty()) PackageFiles << gaugery::DefaultPackageFile();
  std::vector<gaugery::TLoadedPackage> Packages;
  for (const QString& File : PackageFiles) Packages.push_back(gaugery::LoadDesignPackage(File));

  gaugery::TDesignerWindow Window(std::move(Packages));
  Window.show();
  const QStringList Forms = Parser.positionalArguments();
  if (!Forms.isEmpty()) Window.OpenFile(Forms.first());
  QTimer::singleShot(0, &Window, &gaugery::TDesignerWindow::ReportPackageProblems);
  return QApplication::exec();
}
