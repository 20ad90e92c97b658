#include "framework/IcuFunctions.h"

#ifndef _WIN32

#include <dlfcn.h>

#include <optional>

namespace gaugery {

namespace {

// ICU's headers rename every function after its version (ucol_open is ucol_open_72),
// and its libraries are named after it: both names come from the headers.
#define GAUGERY_ICU_TEXT(Name) #Name
#define GAUGERY_ICU_NAME(Name) GAUGERY_ICU_TEXT(Name)

constexpr const char* CommonLibrary = "libicuuc.so." GAUGERY_ICU_NAME(U_ICU_VERSION_MAJOR_NUM);
constexpr const char* CollationLibrary = "libicui18n.so." GAUGERY_ICU_NAME(U_ICU_VERSION_MAJOR_NUM);

// The libraries stay loaded for the rest of the process, as if linked.
void* OpenLibrary(const char* Name) { return dlopen(Name, RTLD_NOW | RTLD_LOCAL); }

template <typename TFunction>
bool Find(void* Library, const char* Name, TFunction& Function) {
  Function = reinterpret_cast<TFunction>(dlsym(Library, Name));
  return Function != nullptr;
}

std::optional<TIcuFunctions> LoadIcu() {
  void* Common = OpenLibrary(CommonLibrary);
  void* Collation = Common ? OpenLibrary(CollationLibrary) : nullptr;
  if (Collation == nullptr) return std::nullopt;
  TIcuFunctions Icu{};
  const bool Found = Find(Common, GAUGERY_ICU_NAME(u_charType), Icu.CharType) &&
                     Find(Common, GAUGERY_ICU_NAME(u_getIntPropertyValue), Icu.IntPropertyValue) &&
                     Find(Common, GAUGERY_ICU_NAME(u_strFoldCase), Icu.StrFoldCase) &&
                     Find(Common, GAUGERY_ICU_NAME(uloc_getDefault), Icu.DefaultLocale) &&
                     Find(Common, GAUGERY_ICU_NAME(unorm2_getNFDInstance), Icu.NfdInstance) &&
                     Find(Common, GAUGERY_ICU_NAME(unorm2_isNormalized), Icu.IsNormalized) &&
                     Find(Common, GAUGERY_ICU_NAME(unorm2_normalize), Icu.Normalize) &&
                     Find(Collation, GAUGERY_ICU_NAME(ucol_open), Icu.CollatorOpen) &&
                     Find(Collation, GAUGERY_ICU_NAME(ucol_close), Icu.CollatorClose) &&
                     Find(Collation, GAUGERY_ICU_NAME(ucol_strcoll), Icu.Collate);
  if (!Found) return std::nullopt;
  return Icu;
}

}  // namespace

const TIcuFunctions* IcuFunctions() {
  static const std::optional<TIcuFunctions> Loaded = LoadIcu();
  return Loaded ? &*Loaded : nullptr;
}

}  // namespace gaugery

#endif
