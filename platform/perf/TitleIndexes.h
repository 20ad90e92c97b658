// The title indexes of our objects and counters. Where Windows has the same object or
// counter, it is under Windows' index, so that a program written for Windows finds it.
// Where that index could not be established with certainty, the counter has one of our
// own, from 20000 up, above Windows' own counters, so that none of them can mean a
// different Windows counter. Like Windows' they are even, with the help text at the
// index plus one (the odd 1407 is Windows' own index of a base counter).
#pragma once

#include "framework/WinTypes.h"

namespace gaugery {

// Objects, under Windows' indexes.
constexpr DWORD SystemObjectIndex = 2;
constexpr DWORD MemoryObjectIndex = 4;
constexpr DWORD ProcessObjectIndex = 230;
constexpr DWORD ThreadObjectIndex = 232;
constexpr DWORD PhysicalDiskObjectIndex = 234;
constexpr DWORD LogicalDiskObjectIndex = 236;
constexpr DWORD ProcessorObjectIndex = 238;
constexpr DWORD NetworkInterfaceObjectIndex = 510;
constexpr DWORD PagingFileObjectIndex = 700;

// Counters, under Windows' indexes.
constexpr DWORD ProcessorTimeIndex = 6;
constexpr DWORD AvailableBytesIndex = 24;
constexpr DWORD CommittedBytesIndex = 26;
constexpr DWORD PageFaultsIndex = 28;
constexpr DWORD CommitLimitIndex = 30;
constexpr DWORD ProcessorQueueLengthIndex = 44;
constexpr DWORD PoolPagedBytesIndex = 56;
constexpr DWORD PoolNonpagedBytesIndex = 58;
constexpr DWORD UserTimeIndex = 142;
constexpr DWORD PrivilegedTimeIndex = 144;
constexpr DWORD ContextSwitchesIndex = 146;
constexpr DWORD InterruptsIndex = 148;
constexpr DWORD VirtualBytesPeakIndex = 172;
constexpr DWORD VirtualBytesIndex = 174;
constexpr DWORD WorkingSetPeakIndex = 178;
constexpr DWORD WorkingSetIndex = 180;
constexpr DWORD PageFileBytesPeakIndex = 182;
constexpr DWORD PageFileBytesIndex = 184;
constexpr DWORD PrivateBytesIndex = 186;
constexpr DWORD AvgDiskSecPerReadIndex = 208;
constexpr DWORD AvgDiskSecPerWriteIndex = 210;
constexpr DWORD DiskReadsIndex = 214;
constexpr DWORD DiskWritesIndex = 216;
constexpr DWORD DiskReadBytesIndex = 220;
constexpr DWORD DiskWriteBytesIndex = 222;
constexpr DWORD ProcessesIndex = 248;
constexpr DWORD ThreadsIndex = 250;
constexpr DWORD BytesReceivedIndex = 264;
constexpr DWORD PacketsReceivedIndex = 266;
constexpr DWORD BytesTotalIndex = 388;
constexpr DWORD PacketsIndex = 400;
constexpr DWORD PacketsSentIndex = 452;
constexpr DWORD BytesSentIndex = 506;
constexpr DWORD CurrentBandwidthIndex = 520;
constexpr DWORD PacketsOutboundDiscardedIndex = 540;
constexpr DWORD PacketsOutboundErrorsIndex = 542;
constexpr DWORD SystemUpTimeIndex = 674;
constexpr DWORD ThreadCountIndex = 680;
constexpr DWORD PriorityBaseIndex = 682;
constexpr DWORD ElapsedTimeIndex = 684;
constexpr DWORD InterruptTimeIndex = 698;
constexpr DWORD UsageIndex = 702;
constexpr DWORD UsagePeakIndex = 704;
constexpr DWORD IdProcessIndex = 784;
constexpr DWORD IdThreadIndex = 804;
constexpr DWORD HandleCountIndex = 952;
constexpr DWORD CommittedBytesInUseIndex = 1406;
constexpr DWORD CommittedBytesInUseBaseIndex = 1407;
constexpr DWORD CreatingProcessIdIndex = 1410;
constexpr DWORD IoReadOperationsIndex = 1412;
constexpr DWORD IoWriteOperationsIndex = 1414;
constexpr DWORD IoDataOperationsIndex = 1416;
constexpr DWORD IoOtherOperationsIndex = 1418;
constexpr DWORD IoReadBytesIndex = 1420;
constexpr DWORD IoWriteBytesIndex = 1422;
constexpr DWORD IoDataBytesIndex = 1424;
constexpr DWORD IoOtherBytesIndex = 1426;
constexpr DWORD WorkingSetPrivateIndex = 1478;

// Counters under our own indexes.
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
