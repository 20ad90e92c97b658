// Loading of the localized name and help lists kept under the Perflib registry key.
//
// A locale's "Counter" and "Help" values are multi-strings: NUL-terminated UTF-16
// strings alternating between a decimal index and its text, ended by an empty string.
// They are loaded into a string list as lines "<index>=<text>", in registry order.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "framework/LibraryExport.h"
#include "framework/TStringList.h"
#include "framework/WinTypes.h"
#include "registry/Registry.h"

namespace gaugery {

// The Perflib key under HKEY_LOCAL_MACHINE; each subkey is one locale.
inline constexpr char PerflibKeyPath[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib";

// Whether a pair whose text is empty or blank becomes a line.
enum class TBlankTexts { Drop, Keep };

// Appends one line per index/text pair of a multi-string of Length code units. The
// index is converted with StrToInt and written back as its 32-bit unsigned value in
// plain decimal; the text is copied untrimmed. The walk ends at the empty string that
// closes the value, or at the end of the data: an index without a complete text after
// it, or a string without its NUL, is not a pair and is dropped. Nothing past Length
// is read. An index that is no integer raises StrToInt's EConvertError; the lines
// appended before it stay.
GAUGERY_RUNTIME_API void ParseNameStrings(const WCHAR* Data, std::size_t Length,
                                          TStringList* Target, TBlankTexts Blanks);

// The two registry calls through which a value of an open key is read; tests put
// fakes in their place.
struct GAUGERY_RUNTIME_API TValueReadCalls {
  decltype(&RegQueryInfoKeyW) QueryInfoKey = &RegQueryInfoKeyW;
  decltype(&RegQueryValueExW) QueryValue = &RegQueryValueExW;
};

// The code units of the value ValueName of Key, exactly as many as the query
// returned (a trailing odd byte is dropped). The buffer starts at the largest value
// size the key reports, or at the value's own size when the key reports nothing, and
// grows while the query answers ERROR_MORE_DATA. A value that is missing or cannot be
// read gives an empty result.
GAUGERY_RUNTIME_API std::vector<WCHAR> ReadValueCodeUnits(HKEY Key, const std::string& ValueName,
                                                          const TValueReadCalls& Calls = {});

// Loads the value ValueName of the locale's subkey of Perflib into Target, from the
// local computer (ComputerName empty) or a remote one. A computer that cannot be
// connected raises Exception "Cannot open remote registry on %s (%d)" and a locale
// subkey that cannot be opened leaves Target as it was; otherwise Target is cleared
// and filled with the pairs read. Every key opened is closed on every path.
GAUGERY_RUNTIME_API void LoadNameStrings(const std::string& Locale, const std::string& ValueName,
                                         TStringList* Target, const std::string& ComputerName,
                                         TBlankTexts Blanks);

}  // namespace gaugery
