#include "perf/log/LogFrame.h"

#include <zlib.h>

#include <cstring>

#include "perf/log/LogBytes.h"

namespace gaugery::counterlog {

namespace {

// The checksum covers the head after its marker (kind and length) and the body.
std::uint32_t FrameChecksum(const BYTE* Head, const BYTE* Body, std::uint32_t Length) {
  uLong Sum = crc32(0L, Head + sizeof kFrameMarker, kFrameHeadSize - sizeof kFrameMarker);
  // crc32 takes lengths as uInt; bodies are at most kLargestRecordBody.
  return static_cast<std::uint32_t>(crc32(Sum, Body, Length));
}

}  // namespace

std::vector<BYTE> LogPrologue() {
  std::vector<BYTE> Prologue(std::begin(kLogMagic), std::end(kLogMagic));
  TByteWriter(Prologue).U32(kLogVersion);
  return Prologue;
}

void AppendFrame(std::vector<BYTE>& Out, TRecordKind Kind, const std::vector<BYTE>& Body) {
  const std::size_t HeadAt = Out.size();
  TByteWriter Writer(Out);
  Writer.Bytes(kFrameMarker, sizeof kFrameMarker);
  Writer.U32(static_cast<std::uint32_t>(Kind));
  Writer.U32(static_cast<std::uint32_t>(Body.size()));
  Writer.Bytes(Body.data(), Body.size());
  const auto Length = static_cast<std::uint32_t>(Body.size());
  Writer.U32(FrameChecksum(Out.data() + HeadAt, Out.data() + HeadAt + kFrameHeadSize, Length));
  Writer.U32(Length);
}

bool ReadFrameHead(const BYTE* Head, TFrameHead& Frame) {
  if (std::memcmp(Head, kFrameMarker, sizeof kFrameMarker) != 0) return false;
  const std::uint32_t Kind = LoadU32(Head + 4);
  if (Kind < static_cast<std::uint32_t>(TRecordKind::Header) ||
      Kind > static_cast<std::uint32_t>(TRecordKind::End)) {
    return false;
  }
  Frame.Kind = static_cast<TRecordKind>(Kind);
  Frame.Length = LoadU32(Head + 8);
  return Frame.Length <= kLargestRecordBody;
}

bool TailLengthMatches(const BYTE* Tail, std::uint32_t Length) {
  return LoadU32(Tail + 4) == Length;
}

bool TailMatches(const BYTE* Head, const BYTE* Body, std::uint32_t Length, const BYTE* Tail) {
  return TailLengthMatches(Tail, Length) && LoadU32(Tail) == FrameChecksum(Head, Body, Length);
}

}  // namespace gaugery::counterlog
