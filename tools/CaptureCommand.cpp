// gaugery capture: writes one raw performance data block to a file, byte for byte as the
// registry query returns it, for later replay.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include "Commands.h"
#include "ComputerOption.h"
#include "PerfData.h"
#include "framework/Exceptions.h"

namespace gaugery::cli {

namespace {

int Run(const Arguments& Args) {
  if (Args.Operands().size() != 1) throw UsageError("capture needs one file name");
  const std::string& File = Args.Operands()[0];
  TPerfData Data("Global", ChosenComputer());
  if (Data.Generation() == 0) throw Exception("No performance data could be read");
  const PPERF_DATA_BLOCK Block = Data.PerfData();
  std::ofstream Out(File, std::ios::binary | std::ios::trunc);
  Out.write(reinterpret_cast<const char*>(Block), Block->TotalByteLength);
  Out.close();
  if (!Out) throw Exception("Cannot write capture file \"" + File + "\": " + std::strerror(errno));
  std::cout << "captured " << Block->TotalByteLength << " bytes, " << Block->NumObjectTypes
            << " objects, into " << File << "\n";
  return 0;
}

}  // namespace

Command CaptureCommand() {
  return {"capture",
          "capture FILE",
          "Writes one raw performance data block to FILE, for --replay.",
          "",
          {},
          {},
          Run};
}

}  // namespace gaugery::cli
