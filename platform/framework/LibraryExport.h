// What the shared libraries export. Both are built with hidden symbols; a class or
// function marked GAUGERY_PLATFORM_API (GaugeryPlatform) or GAUGERY_RUNTIME_API
// (GaugeryRuntime) is their programming interface and is exported.
//
// On Windows the marks also export from the DLL being built and import into its users.
// GAUGERY_NO_DLLIMPORT leaves the import out: for code linked with the libraries' objects
// rather than their DLLs (the project's own programs and tests, which rely on the
// linker's automatic import where they use a DLL).
#pragma once

#if defined(_WIN32)
#define GAUGERY_DLL_EXPORT __declspec(dllexport)
#if defined(GAUGERY_NO_DLLIMPORT)
#define GAUGERY_DLL_IMPORT
#else
#define GAUGERY_DLL_IMPORT __declspec(dllimport)
#endif
#else
#define GAUGERY_DLL_EXPORT __attribute__((visibility("default")))
#define GAUGERY_DLL_IMPORT __attribute__((visibility("default")))
#endif

#if defined(GAUGERY_BUILDING_PLATFORM)
#define GAUGERY_PLATFORM_API GAUGERY_DLL_EXPORT
#else
#define GAUGERY_PLATFORM_API GAUGERY_DLL_IMPORT
#endif

#if defined(GAUGERY_BUILDING_RUNTIME)
#define GAUGERY_RUNTIME_API GAUGERY_DLL_EXPORT
#else
#define GAUGERY_RUNTIME_API GAUGERY_DLL_IMPORT
#endif
