// Arbitrary bytes as a name-list value: the parser must read only inside the value and
// keep only complete index/text pairs, and the hash lookups of the loaded entry must
// answer like a linear case-insensitive search.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "PerfNameStrings.h"
#include "PerfTitles.h"
#include "framework/Exceptions.h"
#include "framework/TextFunctions.h"

namespace {

using namespace gaugery;

// Each line starts with an index in plain decimal that fits in 32 bits, then "=".
bool IsWellFormedLine(const std::string& Line) {
  std::size_t Equals = Line.find('=');
  if (Equals == std::string::npos || Equals == 0 || Equals > 10) return false;
  std::string Index = Line.substr(0, Equals);
  if (Index.find_first_not_of("0123456789") != std::string::npos) return false;
  if (Index.size() > 1 && Index[0] == '0') return false;
  return std::stoull(Index) <= 0xFFFFFFFFull;
}

std::size_t CountNuls(const std::vector<WCHAR>& Value) {
  std::size_t Nuls = 0;
  for (WCHAR C : Value) Nuls += C == 0;
  return Nuls;
}

// The first lines only: the linear search that the lookups are held against is slow.
void CheckLookups(const TStringList& Lines) {
  constexpr int CheckedLines = 16;
  TPerfInfoData Data;
  Data.Fill(Lines);
  for (int I = 0; I < Data.Items.Count() && I < CheckedLines; ++I) {
    // A text also probes the index texts, mostly past their plain decimal path.
    for (const std::string& Probe : {Data.Items.Strings(I), Data.Idx.Strings(I)}) {
      if (Data.IndexOfItem(Probe) != Data.Items.IndexOf(Probe)) std::abort();
      if (Data.IndexOfIdx(Probe) != Data.Idx.IndexOf(Probe)) std::abort();
    }
  }
}

void ParseAndCheck(const std::vector<WCHAR>& Value, TBlankTexts Blanks) {
  TStringList Lines;
  try {
    ParseNameStrings(Value.data(), Value.size(), &Lines, Blanks);
  } catch (const EConvertError&) {
    // An index that is no integer ends the parse; the lines before it must still be sound.
  }
  // Every line uses two NUL-terminated strings of the value.
  if (static_cast<std::size_t>(Lines.Count()) * 2 > CountNuls(Value)) std::abort();
  for (int I = 0; I < Lines.Count(); ++I)
    if (!IsWellFormedLine(Lines.Strings(I))) std::abort();
  CheckLookups(Lines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  // An exactly sized heap copy, so that any read past the value is caught.
  std::vector<WCHAR> Value(Size / sizeof(WCHAR));
  if (!Value.empty()) std::memcpy(Value.data(), Data, Value.size() * sizeof(WCHAR));
  ParseAndCheck(Value, TBlankTexts::Keep);
  ParseAndCheck(Value, TBlankTexts::Drop);
  return 0;
}
