// Scanning of the text of /proc files by hand: no allocation, no locale, every read
// bounded by the text given. Numbers saturate instead of overflowing, so odd or
// huge values never fail a sample.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>

namespace gaugery {

// Skips blanks and tabs, then reads a decimal number. False, with Text and Value
// unchanged, when no digit follows.
bool ParseUnsigned(std::string_view& Text, std::uint64_t& Value);
// The same with an optional leading "-".
bool ParseSigned(std::string_view& Text, std::int64_t& Value);

// The number a whole text spells ("123", as a directory entry of /proc), or 0 for any
// other text and for numbers beyond 32 bits.
std::uint32_t WholeNumber(std::string_view Text);

// Skips blanks and tabs, then one field up to the next blank, tab or line end.
std::string_view NextField(std::string_view& Text);

// The text up to the next line feed; Text moves past the line feed.
std::string_view NextLine(std::string_view& Text);

// A line "Key: 123 kB" (/proc/<pid>/status, /proc/meminfo, /proc/<pid>/io) or
// "key 123" (/proc/vmstat): the first field, without its colon, names the number
// that follows it.
struct TKeyedNumber {
  std::string_view Key;
  std::uint64_t* Value;
};

// Stores the number of every line whose key is one of Keys; values whose key does not
// occur are left as they are.
void ScanKeyedNumbers(std::string_view Text, std::span<const TKeyedNumber> Keys);

// The same for a file that writes its lines in a fixed order and each key once
// (/proc/<pid>/status): Keys come in that order, each is searched for from the line of
// the one before, and only as a line start followed by a colon. The lines in between
// are never split, which makes the few wanted lines of a long file cheap to find.
void ScanKeyedNumbersInOrder(std::string_view Text, std::span<const TKeyedNumber> Keys);

// A path as /proc/self/mountinfo and /proc/swaps write it, with blank, tab, line feed
// and backslash as three-digit octal escapes ("\040"), decoded into Decoded (which keeps
// its capacity). Any other backslash is taken as it stands.
void DecodeOctalEscapes(std::string_view Text, std::string& Decoded);

// Decoded texts kept from sample to sample in numbered slots, so that a steady sample
// decodes into storage it already has. Adding a slot leaves the others where they are.
class TDecodedTexts {
 public:
  // Decodes Text into slot At (made on first use). The result is NUL-terminated and
  // valid until that slot is decoded again.
  std::string_view Decode(std::size_t At, std::string_view Text);

 private:
  std::deque<std::string> Slots_;
};

}  // namespace gaugery
