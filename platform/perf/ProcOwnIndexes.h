// Title indexes of our own for the counters of the /proc provider whose Windows index
// could not be established with certainty. They start at 20000, above Windows' own
// counters, so that none of them can mean a different Windows counter; like Windows'
// they are even, with the help text at the index plus one.
#pragma once

#include "framework/WinTypes.h"

namespace gaugery {

constexpr DWORD ThreadStateIndex = 20000;
constexpr DWORD DiskTransfersIndex = 20002;
constexpr DWORD DiskBytesIndex = 20004;
constexpr DWORD AvgDiskSecPerReadBaseIndex = 20006;
constexpr DWORD AvgDiskSecPerWriteBaseIndex = 20008;
constexpr DWORD CurrentDiskQueueLengthIndex = 20010;
constexpr DWORD DiskTimeIndex = 20012;
constexpr DWORD IdleTimeIndex = 20014;
constexpr DWORD FreeSpaceIndex = 20016;
constexpr DWORD FreeSpaceBaseIndex = 20018;
constexpr DWORD FreeMegabytesIndex = 20020;
constexpr DWORD PacketsReceivedErrorsIndex = 20022;
constexpr DWORD PacketsReceivedDiscardedIndex = 20024;
constexpr DWORD UsageBaseIndex = 20026;
constexpr DWORD UsagePeakBaseIndex = 20028;

}  // namespace gaugery
