// Loading design packages: the host opens a package's shared library at run time, finds
// its C entry points by name and lets it register its components, property editors and
// previews. Nothing of a package is linked into the host.
#pragma once

#include <QString>
#include <string>

namespace gaugery {

// The outcome of loading one package.
struct TLoadedPackage {
  QString FileName;
  // How the package describes itself; empty when it was not loaded.
  std::string Description;
  // Why the package could not be loaded or registered; empty when it was.
  std::string Error;

  bool IsLoaded() const { return Error.empty(); }
};

// Loads and registers the package at FileName, once per process: a later call for the
// same file answers the first outcome. Never raises.
TLoadedPackage LoadDesignPackage(const QString& FileName);

// Where the host looks for GaugeryDesign: the library folder beside the program's
// folder (build/lib beside build/bin).
QString DefaultPackageFile();

}  // namespace gaugery
