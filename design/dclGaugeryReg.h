// The plug-in's entry point: the designer calls Register once when it loads the
// package, which puts the components on the palette and registers the property editors.
#pragma once

#include <QImage>
#include <string>

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
