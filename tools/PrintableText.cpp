#include "PrintableText.h"

namespace gaugery::cli {

namespace {

bool IsC0OrDel(unsigned char Byte) { return Byte < 0x20 || Byte == 0x7F; }

// U+0080 to U+009F are the two bytes C2 80 to C2 9F in UTF-8.
bool StartsC1(const std::string& Text, std::size_t At) {
  return static_cast<unsigned char>(Text[At]) == 0xC2 && At + 1 < Text.size() &&
         static_cast<unsigned char>(Text[At + 1]) >= 0x80 &&
         static_cast<unsigned char>(Text[At + 1]) <= 0x9F;
}

}  // namespace

std::string PrintableText(const std::string& Text) {
  std::string Printable;
  Printable.reserve(Text.size());
  for (std::size_t At = 0; At < Text.size(); ++At) {
    if (StartsC1(Text, At)) {
      Printable += '?';
      ++At;
    } else {
      Printable += IsC0OrDel(static_cast<unsigned char>(Text[At])) ? '?' : Text[At];
    }
  }
  return Printable;
}

}  // namespace gaugery::cli
