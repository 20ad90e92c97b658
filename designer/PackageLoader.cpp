#include "PackageLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <map>

#include "framework/DesignPackage.h"

namespace gaugery {

namespace {

std::string Text(const QString& Value) { return Value.toStdString(); }

TLoadedPackage Load(const QString& FileName) {
  TLoadedPackage Package{FileName, {}, {}};
  // Never unloaded: the registrations point into the package's code.
  QLibrary Library(FileName);
  if (!Library.load()) {
    Package.Error =
        "Cannot load the design package " + Text(FileName) + ": " + Text(Library.errorString());
    return Package;
  }
  auto Register = reinterpret_cast<TRegisterPackageProc>(Library.resolve(RegisterPackageEntry));
  auto Describe =
      reinterpret_cast<TPackageDescriptionProc>(Library.resolve(PackageDescriptionEntry));
  if (Register == nullptr || Describe == nullptr) {
    Package.Error = Text(FileName) + " is not a design package: it lacks the entry point " +
                    (Register == nullptr ? RegisterPackageEntry : PackageDescriptionEntry);
    return Package;
  }
  if (const char* Failure = Register()) {
    Package.Error = "The design package " + Text(FileName) + " failed to register: " + Failure;
    return Package;
  }
  Package.Description = Describe();
  return Package;
}

}  // namespace

TLoadedPackage LoadDesignPackage(const QString& FileName) {
  static std::map<QString, TLoadedPackage> Loaded;
  const QFileInfo File(FileName);
  const QString Key = File.exists() ? File.canonicalFilePath() : FileName;
  const auto Found = Loaded.find(Key);
  if (Found != Loaded.end()) return Found->second;
  return Loaded.emplace(Key, Load(FileName)).first->second;
}

QString DefaultPackageFile() {
  const QDir ProgramDir(QCoreApplication::applicationDirPath());
  return QDir::cleanPath(ProgramDir.filePath(QStringLiteral(GAUGERY_DESIGN_PACKAGE_FROM_PROGRAM)));
}

}  // namespace gaugery
