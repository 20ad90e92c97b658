// The objects of the /proc provider that describe storage and network: PhysicalDisk,
// LogicalDisk, Network Interface and Paging File: their counters and how each counter's
// value is taken from a sample.
#pragma once

#include <span>

#include "perf/PerfBlockWriter.h"
#include "perf/TitleIndexes.h"
#include "perf/proc/ProcDisks.h"
#include "perf/proc/ProcMounts.h"
#include "perf/proc/ProcNetwork.h"
#include "perf/proc/ProcSwaps.h"
#include "perf/proc/SampleClock.h"

namespace gaugery {

// One instance per disk, named "<number> <name>" with the disks numbered from 0 in the
// order given, then "_Total": the sums, except % Disk Time and % Idle Time, which are
// the average over the disks.
void WritePhysicalDiskObject(TPerfBlockWriter& Writer, std::span<const TBlockDevice> Disks,
                             const TSampleClock& Clock);
// One instance per file system, named by its mount point, then "_Total": the sums over
// the distinct file systems (a file system mounted at two places counts once), except
// % Disk Time and % Idle Time, which are their average.
void WriteLogicalDiskObject(TPerfBlockWriter& Writer,
                            std::span<const TFileSystemSample> FileSystems,
                            const TSampleClock& Clock);
// One instance per interface, by its name; Windows has no total here.
void WriteNetworkInterfaceObject(TPerfBlockWriter& Writer,
                                 std::span<const TInterfaceSample> Interfaces,
                                 const TSampleClock& Clock);
// One instance per swap area, named by its file or device, then "_Total".
void WritePagingFileObject(TPerfBlockWriter& Writer, std::span<const TSwapArea> Areas,
                           const TSwapArea& Total, const TSampleClock& Clock);

}  // namespace gaugery
