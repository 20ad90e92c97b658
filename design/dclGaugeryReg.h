// The plug-in's entry point: the designer calls Register once when it loads the
// package, which puts the components on the palette and registers the property editors.
// A host that loads the package at run time reaches it through the C entry points at
// the end, named in framework/DesignPackage.h.
#pragma once

#include <QImage>
#include <string>

#include "framework/DesignPackage.h"

namespace gaugery::dclGaugeryRegUnit {

// How the package describes itself to the designer.
inline constexpr const char* PackageDescription = "Gaugery for Windows NT/2000/XP";

// The run-time units' registrations (the seven classes on the page "Gaugery"), then
// the property editors'.
void Register();

// The palette image of a registered class, found under the class name in upper case;
// a null image for a class without one.
QImage PaletteImage(const std::string& ClassName);

}  // namespace gaugery::dclGaugeryRegUnit

// Register, then the previews of the filter and the monitor. Null when that succeeded,
// else the error's message.
GAUGERY_PACKAGE_ENTRY const char* GaugeryRegisterPackage() noexcept;
// PackageDescription.
GAUGERY_PACKAGE_ENTRY const char* GaugeryPackageDescription() noexcept;
