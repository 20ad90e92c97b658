#include "KeyInput.h"

#include <algorithm>
#include <charconv>

#include "framework/Unicode.h"

namespace gaugery::cli {

namespace {

constexpr char Esc = '\x1b';

bool IsCursorFinal(char Final) {
  return Final == 'A' || Final == 'B' || Final == 'C' || Final == 'D' || Final == 'H' ||
         Final == 'F';
}

// The cursor keys and Home/End end their sequences with one letter, after "ESC [" (with
// modifiers as parameters) or after "ESC O" (the terminal's application mode).
TKey CursorKey(char Final) {
  switch (Final) {
    case 'A':
      return TKey::Up;
    case 'B':
      return TKey::Down;
    case 'C':
      return TKey::Right;
    case 'D':
      return TKey::Left;
    case 'H':
      return TKey::Home;
    default:
      return TKey::End;
  }
}

// "ESC [ n ~": the editing keys by number, Home and End in both numberings in use.
TKey TildeKey(const std::string& Parameters) {
  int Number = 0;
  std::from_chars(Parameters.data(), Parameters.data() + Parameters.size(), Number);
  switch (Number) {
    case 1:
    case 7:
      return TKey::Home;
    case 4:
    case 8:
      return TKey::End;
    case 5:
      return TKey::PageUp;
    case 6:
      return TKey::PageDown;
    default:
      return TKey::Other;
  }
}

TKey CsiKey(const std::string& Parameters, char Final) {
  if (IsCursorFinal(Final)) return CursorKey(Final);
  return Final == '~' ? TildeKey(Parameters) : TKey::Other;
}

bool IsCsiParameter(char Byte) { return Byte >= 0x20 && Byte <= 0x3F; }
bool IsCsiFinal(char Byte) { return Byte >= 0x40 && Byte <= 0x7E; }

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that starts none.
std::size_t Utf8Length(unsigned char Lead) {
  if (Lead >= 0xC2 && Lead <= 0xDF) return 2;
  if (Lead >= 0xE0 && Lead <= 0xEF) return 3;
  if (Lead >= 0xF0 && Lead <= 0xF4) return 4;
  return 0;
}

bool IsContinuation(char Byte) { return (static_cast<unsigned char>(Byte) & 0xC0) == 0x80; }

// One key from the start of Bytes. Consumed 0 means more bytes are needed.
struct TDecoded {
  TKeyPress Press;
  std::size_t Consumed = 0;
};

TDecoded ControlSequence(const std::string& Bytes, bool Complete) {
  std::size_t End = 2;
  while (End < Bytes.size() && IsCsiParameter(Bytes[End])) ++End;
  if (End == Bytes.size()) return {{}, Complete ? End : 0};
  // A byte that cannot end the sequence ends it unread: it is a key of its own.
  if (!IsCsiFinal(Bytes[End])) return {{}, End};
  return {{CsiKey(Bytes.substr(2, End - 2), Bytes[End]), {}}, End + 1};
}

TDecoded EscapeSequence(const std::string& Bytes, bool Complete) {
  if (Bytes.size() == 1) return {{TKey::Escape, {}}, Complete ? 1u : 0u};
  if (Bytes[1] == '[') return ControlSequence(Bytes, Complete);
  if (Bytes[1] == 'O') {
    if (Bytes.size() == 2) return {{}, Complete ? 2u : 0u};
    return {{IsCursorFinal(Bytes[2]) ? CursorKey(Bytes[2]) : TKey::Other, {}}, 3};
  }
  // Escape, then another key typed at once.
  return {{TKey::Escape, {}}, 1};
}

TDecoded Character(const std::string& Bytes, bool Complete) {
  const std::size_t Length = Utf8Length(static_cast<unsigned char>(Bytes[0]));
  if (Length == 0) return {{}, 1};
  const std::size_t Present = std::min(Length, Bytes.size());
  for (std::size_t At = 1; At < Present; ++At) {
    if (!IsContinuation(Bytes[At])) return {{}, At};
  }
  if (Present < Length) return {{}, Complete ? Present : 0};
  return {{TKey::Char, Bytes.substr(0, Length)}, Length};
}

TDecoded NextKey(const std::string& Bytes, bool Complete) {
  const char Byte = Bytes[0];
  if (Byte == Esc) return EscapeSequence(Bytes, Complete);
  if (Byte == '\r' || Byte == '\n') return {{TKey::Enter, {}}, 1};
  if (Byte == '\x7f' || Byte == '\b') return {{TKey::Backspace, {}}, 1};
  if (static_cast<unsigned char>(Byte) < 0x20) return {{}, 1};
  if (static_cast<unsigned char>(Byte) < 0x80) return {{TKey::Char, std::string(1, Byte)}, 1};
  return Character(Bytes, Complete);
}

// The virtual-key codes of the keys that type no character.
TKey VirtualKeyOf(WORD VirtualKey) {
  switch (VirtualKey) {
    case 0x21:
      return TKey::PageUp;
    case 0x22:
      return TKey::PageDown;
    case 0x23:
      return TKey::End;
    case 0x24:
      return TKey::Home;
    case 0x25:
      return TKey::Left;
    case 0x26:
      return TKey::Up;
    case 0x27:
      return TKey::Right;
    case 0x28:
      return TKey::Down;
    default:
      return TKey::Other;
  }
}

}  // namespace

std::vector<TKeyPress> TKeyDecoder::Feed(const std::string& Bytes) {
  Held_ += Bytes;
  return Decode(false);
}

std::vector<TKeyPress> TKeyDecoder::FlushPending() { return Decode(true); }

std::vector<TKeyPress> TKeyDecoder::Decode(bool Complete) {
  std::vector<TKeyPress> Keys;
  while (!Held_.empty()) {
    const TDecoded Next = NextKey(Held_, Complete);
    if (Next.Consumed == 0) break;
    Keys.push_back(Next.Press);
    Held_.erase(0, Next.Consumed);
  }
  return Keys;
}

TKeyPress ConsoleKeyPress(WORD VirtualKey, WCHAR Char) {
  const auto Unit = static_cast<unsigned>(Char);
  if (Unit == '\r') return {TKey::Enter, {}};
  if (Unit == Esc) return {TKey::Escape, {}};
  if (Unit == '\b') return {TKey::Backspace, {}};
  const bool Surrogate = Unit >= 0xD800 && Unit <= 0xDFFF;
  if (Unit >= 0x20 && Unit != 0x7F && !Surrogate) return {TKey::Char, ToUtf8(&Char, 1)};
  return {Unit == 0 ? VirtualKeyOf(VirtualKey) : TKey::Other, {}};
}

}  // namespace gaugery::cli
