// Arbitrary bytes as what a terminal sends and as names from the data: the key decoder
// must give the same keys however the bytes are split between reads, the view the keys
// move must stay inside the table, and printable text must hold no control character.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "KeyInput.h"
#include "PrintableText.h"
#include "TopView.h"

namespace {

using namespace gaugery::cli;

std::vector<TKeyPress> Decoded(const std::string& First, const std::string& Second) {
  TKeyDecoder Decoder;
  std::vector<TKeyPress> Keys = Decoder.Feed(First);
  for (TKeyPress& Key : Decoder.Feed(Second)) Keys.push_back(std::move(Key));
  for (TKeyPress& Key : Decoder.FlushPending()) Keys.push_back(std::move(Key));
  if (Decoder.Pending()) std::abort();
  return Keys;
}

void CheckPrintable(const std::string& Text) {
  const std::string Printable = PrintableText(Text);
  for (std::size_t At = 0; At < Printable.size(); ++At) {
    const auto Byte = static_cast<unsigned char>(Printable[At]);
    if (Byte < 0x20 || Byte == 0x7F) std::abort();
    const bool C1 = Byte == 0xC2 && At + 1 < Printable.size() &&
                    static_cast<unsigned char>(Printable[At + 1]) >= 0x80 &&
                    static_cast<unsigned char>(Printable[At + 1]) <= 0x9F;
    if (C1) std::abort();
  }
}

void CheckView(const std::vector<TKeyPress>& Keys, std::size_t Rows, std::size_t PageRows) {
  TTopView View;
  View.ShownColumns = {0, 3, 1, 2};
  const TTopExtent Extent{Rows, PageRows};
  for (const TKeyPress& Key : Keys) {
    if (View.Apply(Key, Extent)) return;
    const std::size_t LastFirstRow = Rows > PageRows ? Rows - PageRows : 0;
    if (View.Viewport.FirstRow > LastFirstRow || View.Viewport.FirstColumn > 2) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string Bytes(reinterpret_cast<const char*>(Data), Size);
  CheckPrintable(Bytes);
  if (Size == 0) return 0;
  const std::size_t Split = Data[0] % Size;
  const std::vector<TKeyPress> Keys = Decoded(Bytes.substr(0, Split), Bytes.substr(Split));
  if (Keys != Decoded(Bytes, "")) std::abort();
  CheckView(Keys, Data[0], Size % 40);
  return 0;
}
