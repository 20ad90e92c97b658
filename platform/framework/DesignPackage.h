// How a form-designer host and a design package find each other at run time. The host
// loads the package's shared library and looks up two functions with C linkage by the
// names below; nothing of the package is linked into the host. The package registers
// its components, property editors and previews in the tables of this framework, which
// both sides share.
#pragma once

#if defined(_WIN32)
#define GAUGERY_PACKAGE_ENTRY extern "C" __declspec(dllexport)
#else
#define GAUGERY_PACKAGE_ENTRY extern "C" __attribute__((visibility("default")))
#endif

namespace gaugery {

// Registers the package; called once per process. Answers null when it succeeded, else
// the message of the error that stopped it (valid until the next call).
using TRegisterPackageProc = const char* (*)();
inline constexpr char RegisterPackageEntry[] = "GaugeryRegisterPackage";

// How the package describes itself to the host.
using TPackageDescriptionProc = const char* (*)();
inline constexpr char PackageDescriptionEntry[] = "GaugeryPackageDescription";

}  // namespace gaugery
