// The framing of counter log records. A log starts with its prologue (magic and format
// version); every record after it is a frame: a head (marker, kind, body length), the
// body, and a tail (CRC-32 of head and body, body length again). A reader tells a whole
// frame from a torn or damaged one by the two lengths and the checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/WinTypes.h"

namespace gaugery::counterlog {

inline constexpr BYTE kLogMagic[8] = {'G', 'A', 'U', 'G', 'E', 'L', 'O', 'G'};
inline constexpr std::uint32_t kLogVersion = 1;
inline constexpr std::size_t kPrologueSize = sizeof kLogMagic + 4;

// The first bytes of every frame, for finding the next frame after damage.
inline constexpr BYTE kFrameMarker[4] = {0xE7, 'R', 'E', 'C'};
inline constexpr std::size_t kFrameHeadSize = 12;
inline constexpr std::size_t kFrameTailSize = 8;
inline constexpr std::size_t kFrameOverhead = kFrameHeadSize + kFrameTailSize;
// No body is larger: a length beyond it is damage, never a reason to allocate.
inline constexpr std::uint32_t kLargestRecordBody = 0x40000000u;

enum class TRecordKind : std::uint32_t { Header = 1, Names, Sample, Gap, Index, End };

struct TFrameHead {
  TRecordKind Kind = TRecordKind::Header;
  std::uint32_t Length = 0;
};

// The prologue of a log of this format version.
std::vector<BYTE> LogPrologue();

// Appends the frame of Body to Out.
void AppendFrame(std::vector<BYTE>& Out, TRecordKind Kind, const std::vector<BYTE>& Body);

// Reads the kFrameHeadSize bytes at Head: false unless they carry the marker, a known
// kind and a length no larger than kLargestRecordBody.
bool ReadFrameHead(const BYTE* Head, TFrameHead& Frame);

// True when the kFrameTailSize bytes at Tail end the frame of Head and Body.
bool TailMatches(const BYTE* Head, const BYTE* Body, std::uint32_t Length, const BYTE* Tail);

// True when the tail's length field repeats Length (the cheap half of TailMatches).
bool TailLengthMatches(const BYTE* Tail, std::uint32_t Length);

}  // namespace gaugery::counterlog
