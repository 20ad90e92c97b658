// gaugery capture: writes one raw performance data block to a file, byte for byte as the
// registry query returns it, for later replay.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "Commands.h"
#include "ComputerOption.h"
#include "PerfData.h"
#include "Replay.h"
#include "SampleCheck.h"
#include "Terminal.h"
#include "framework/Exceptions.h"
#include "framework/Utf8File.h"

namespace gaugery::cli {

namespace {

void WriteToStandardOutput(const char* Bytes, std::size_t Length) {
#ifdef _WIN32
  // Text mode would turn every byte 10 into 13 10.
  std::cout.flush();
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::cout.write(Bytes, static_cast<std::streamsize>(Length));
  std::cout.flush();
  if (!std::cout)
    throw Exception(std::string("Cannot write to standard output: ") + std::strerror(errno));
}

void WriteToFile(const std::string& File, const char* Bytes, std::size_t Length) {
  std::FILE* Out = OpenUtf8File(File, "wb");
  bool Written = Out != nullptr && std::fwrite(Bytes, 1, Length, Out) == Length;
  if (Out != nullptr) Written = std::fclose(Out) == 0 && Written;
  if (!Written)
    throw Exception("Cannot write capture file \"" + File + "\": " + std::strerror(errno));
}

int Run(const Arguments& Args) {
  if (Args.Operands().size() != 1) throw UsageError("capture needs one file name, or -");
  const std::string& File = Args.Operands()[0];
  const bool ToOutput = File == "-";
  // Binary bytes would garble the terminal's state, not be kept anywhere.
  if (ToOutput && OutputIsTerminal())
    throw Exception("will not write a binary block to a terminal: redirect standard output "
                    "to a file or a pipe");
  HoldOneSample("Global");
  TPerfData Data("Global", ChosenComputer());
  CheckLatestSample(Data);
  const PPERF_DATA_BLOCK Block = Data.PerfData();
  const auto* Bytes = reinterpret_cast<const char*>(Block);
  if (ToOutput) {
    WriteToStandardOutput(Bytes, Block->TotalByteLength);
  } else {
    WriteToFile(File, Bytes, Block->TotalByteLength);
  }
  // The block goes to standard output; what was written is said on standard error.
  (ToOutput ? std::cerr : std::cout)
      << "captured " << Block->TotalByteLength << " bytes, " << Block->NumObjectTypes
      << " objects, into " << (ToOutput ? "standard output" : File) << "\n";
  return 0;
}

}  // namespace

Command CaptureCommand() {
  return {"capture",
          "capture FILE",
          "Writes one raw performance data block to FILE (standard output for -, which must "
          "not be a terminal), for --replay.",
          "",
          {},
          {},
          Run};
}

}  // namespace gaugery::cli
