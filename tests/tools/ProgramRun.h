// Runs the `gaugery` program and captures what it prints; keeps the capture files of
// synthetic blocks that runs replay.
#pragma once

#include <string>
#include <vector>

#include "BlockBuilder.h"

struct ProgramRun {
  int ExitCode;
  std::string Out;
  std::string Err;
};

// Runs `gaugery <Arguments>` (arguments quoted as a shell and the Windows command line
// both read them: words, or "double-quoted" texts); Environment, when given, is put
// before the program as shell assignments ("LC_ALL=C", Linux only). On Windows the
// program is the one beside the running test (ProgramRunWindows.cpp).
ProgramRun RunGaugery(const std::string& Arguments, const std::string& Environment = "");

#ifdef _WIN32
// The path of gaugery.exe, beside the running test.
std::wstring ProgramBesideThisOne();
#endif

// Runs `gaugery <Arguments>` with a pseudo-terminal of 120 x 40 as standard input and
// output; Out receives what it printed there (line ends as the terminal gives them,
// "\r\n"). Standard error is captured apart.
ProgramRun RunGaugeryOnTerminal(const std::string& Arguments);

// Capture files for --replay, removed with the object.
class TCaptureFiles {
 public:
  TCaptureFiles() = default;
  TCaptureFiles(const TCaptureFiles&) = delete;
  TCaptureFiles& operator=(const TCaptureFiles&) = delete;
  ~TCaptureFiles();

  // A new file holding Bytes; its name.
  std::string Save(const std::vector<gaugery::BYTE>& Bytes);
  std::string Save(const gaugery::test::TBlock& Block) { return Save(Block.Bytes); }
  // "--replay FILE " for a new file holding Block.
  std::string Replay(const gaugery::test::TBlock& Block) { return "--replay " + Save(Block) + " "; }

 private:
  std::vector<std::string> Files_;
};
