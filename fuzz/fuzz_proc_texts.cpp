// Arbitrary bytes as the text of the /proc and /sys files the live provider parses: every
// parser must read only inside the text, and the objects written from what they parsed
// must stay inside the writer's buffer and be complete.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "perf/proc/DeviceObjects.h"
#include "perf/proc/ProcProcesses.h"
#include "perf/proc/ProcSystem.h"
#include "perf/proc/ProcText.h"
#include "perf/proc/ProcThreads.h"

namespace {

using namespace gaugery;

// The parsers of the files that hold one record of a process or thread.
void ParseRecordTexts(std::string_view Text) {
  TProcessStat Stat;
  if (ParseProcessStat(Text, Stat)) ThreadStateOfLetter(Stat.State);
  ParseContextSwitches(Text);
  std::string Decoded;
  DecodeOctalEscapes(Text, Decoded);
  if (Decoded.size() > Text.size()) std::abort();
}

// The parsers of the machine-wide files.
void ParseMachineTexts(std::string_view Text) {
  TKernelStat Kernel;
  ParseKernelStat(Text, TSampleClock{}, Kernel);
  std::vector<std::uint32_t> Columns;
  AddInterruptsPerCpu(Text, Columns, Kernel.Cpus);
  TMemorySample Memory;
  ParseMemInfo(Text, Memory);
  ParseVmStat(Text, Memory);
  ParseLoadAvgThreads(Text);
  ParseLinkSpeed(Text);
  for (std::string_view Rest = Text; !Rest.empty();) {
    TMountEntry Mount;
    if (ParseMountInfoLine(NextLine(Rest), Mount)) IsLocalFileSystemType(Mount.Type);
  }
}

// Writes the disk, network and swap objects of the text into a buffer that is just too
// small for some inputs, then into one that holds them.
void WriteDeviceObjects(std::string_view Text) {
  std::vector<TBlockDevice> Disks;
  ParseDiskStats(Text, Disks);
  std::vector<TInterfaceSample> Interfaces;
  ParseNetDev(Text, Interfaces);
  TSwapReader Swaps;
  Swaps.Update(Text);
  Swaps.Update(Text);
  for (DWORD Capacity : {DWORD{512}, DWORD{1 << 20}}) {
    std::vector<BYTE> Buffer(Capacity);
    TPerfBlockWriter Writer(Buffer.data(), Capacity);
    WritePhysicalDiskObject(Writer, Disks, TSampleClock{});
    WriteNetworkInterfaceObject(Writer, Interfaces, TSampleClock{});
    WritePagingFileObject(Writer, Swaps.Areas(), Swaps.Total(), TSampleClock{});
    if (Writer.BytesWritten() > Capacity) std::abort();
    if (!Writer.Overflowed() && Writer.ObjectCount() != 3) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
  ParseRecordTexts(Text);
  ParseMachineTexts(Text);
  WriteDeviceObjects(Text);
  return 0;
}
