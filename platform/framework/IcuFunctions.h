// The functions of ICU that the system calls, looked up in ICU's libraries at the first
// call that needs one. A program that never compares, folds or measures non-ASCII text
// thus does not load ICU at all: its libraries and their relocations cost about a
// millisecond at the start of every process that links them.
#pragma once

#ifndef _WIN32

#include "framework/LibraryExport.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

namespace gaugery {

struct TIcuFunctions {
  decltype(&::u_charType) CharType;
  decltype(&::u_getIntPropertyValue) IntPropertyValue;
  decltype(&::u_strFoldCase) StrFoldCase;
  decltype(&::uloc_getDefault) DefaultLocale;
  decltype(&::unorm2_getNFDInstance) NfdInstance;
  decltype(&::unorm2_isNormalized) IsNormalized;
  decltype(&::unorm2_normalize) Normalize;
  decltype(&::ucol_open) CollatorOpen;
  decltype(&::ucol_close) CollatorClose;
  decltype(&::ucol_strcoll) Collate;
};

// ICU's functions, loaded at the first call; null when ICU's libraries (of the version
// the system was built with) cannot be loaded or lack one of them.
GAUGERY_PLATFORM_API const TIcuFunctions* IcuFunctions();

}  // namespace gaugery

#endif
