// The keys a terminal sends, decoded from the bytes read from it: printable characters,
// the cursor and paging keys as the escape sequences of common terminals, and the few
// control keys an interactive command needs.
#pragma once

#include <string>
#include <vector>

#include "framework/WinTypes.h"

namespace gaugery::cli {

enum class TKey {
  Char,
  Up,
  Down,
  Left,
  Right,
  PageUp,
  PageDown,
  Home,
  End,
  Enter,
  Escape,
  Backspace,
  Other
};

struct TKeyPress {
  TKey Key = TKey::Other;
  // The character, one code point in UTF-8, for TKey::Char.
  std::string Text;

  bool operator==(const TKeyPress&) const = default;
};

// The key of a key-down event of a Windows console: its virtual-key code and the character
// it types (0 for none). A character of two UTF-16 units is not taken: Other.
TKeyPress ConsoleKeyPress(WORD VirtualKey, WCHAR Char);

// Collects the bytes read from a terminal and hands out the keys they complete. A key
// whose bytes arrived only in part (an escape sequence, a UTF-8 character) waits for
// the rest; when no more bytes come, FlushPending decides: a lone ESC is the Escape key.
class TKeyDecoder {
 public:
  // The keys completed by Bytes (and the bytes held back before them).
  std::vector<TKeyPress> Feed(const std::string& Bytes);
  // Whether bytes of an unfinished key are held back.
  bool Pending() const { return !Held_.empty(); }
  // The keys of the held-back bytes, taken as complete.
  std::vector<TKeyPress> FlushPending();

 private:
  std::vector<TKeyPress> Decode(bool Complete);

  std::string Held_;
};

}  // namespace gaugery::cli
