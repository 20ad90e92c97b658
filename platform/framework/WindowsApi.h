// <windows.h> for the Windows side of the platform layer, without the min/max macros
// and the rarely used parts. Never included by a public header.
#pragma once

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the toolchain's headers may define it already
#define NOMINMAX
#endif
#include <windows.h>
