#include "ProgramRun.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string ReadFile(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  std::ostringstream Text;
  Text << In.rdbuf();
  return Text.str();
}

// A temporary file for standard error; removed by the caller.
std::string ErrorFile() {
  char ErrPath[] = "/tmp/gaugery-stderr-XXXXXX";
  const int ErrFile = mkstemp(ErrPath);
  if (ErrFile < 0) throw std::runtime_error("mkstemp failed");
  close(ErrFile);
  return ErrPath;
}

int ExitCodeOf(int Status) { return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1; }

}  // namespace

ProgramRun RunGaugery(const std::string& Arguments, const std::string& Environment) {
  const std::string ErrPath = ErrorFile();
  const std::string Command =
      Environment + " " + std::string(GAUGERY_EXE) + " " + Arguments + " 2>" + ErrPath;
  FILE* Pipe = popen(Command.c_str(), "r");
  if (Pipe == nullptr) throw std::runtime_error("popen failed");
  std::string Out;
  char Buffer[4096];
  for (std::size_t Read; (Read = fread(Buffer, 1, sizeof Buffer, Pipe)) > 0;)
    Out.append(Buffer, Read);
  const int Status = pclose(Pipe);
  ProgramRun Run{ExitCodeOf(Status), Out, ReadFile(ErrPath)};
  std::remove(ErrPath.c_str());
  return Run;
}

ProgramRun RunGaugeryOnTerminal(const std::string& Arguments) {
  const std::string ErrPath = ErrorFile();
  const std::string Command = std::string(GAUGERY_EXE) + " " + Arguments + " 2>" + ErrPath;
  winsize Size{};
  Size.ws_row = 40;
  Size.ws_col = 120;
  int Terminal = -1;
  const pid_t Child = forkpty(&Terminal, nullptr, nullptr, &Size);
  if (Child < 0) throw std::runtime_error("forkpty failed");
  if (Child == 0) {
    execl("/bin/sh", "sh", "-c", Command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  std::string Out;
  char Buffer[4096];
  for (;;) {
    const ssize_t Read = read(Terminal, Buffer, sizeof Buffer);
    if (Read > 0) {
      Out.append(Buffer, static_cast<std::size_t>(Read));
    } else if (Read == 0 || errno != EINTR) {
      break;  // EIO: the program has ended and closed the terminal
    }
  }
  close(Terminal);
  int Status = 0;
  waitpid(Child, &Status, 0);
  ProgramRun Run{ExitCodeOf(Status), Out, ReadFile(ErrPath)};
  std::remove(ErrPath.c_str());
  return Run;
}

TCaptureFiles::~TCaptureFiles() {
  for (const std::string& File : Files_) std::remove(File.c_str());
}

std::string TCaptureFiles::Save(const std::vector<gaugery::BYTE>& Bytes) {
  static int Made = 0;  // names stay apart across the objects of one test program
  const std::string File = ::testing::TempDir() + "gaugery-capture-" + std::to_string(getpid()) +
                           "-" + std::to_string(Made++) + ".blk";
  std::ofstream(File, std::ios::binary)
      .write(reinterpret_cast<const char*>(Bytes.data()),
             static_cast<std::streamsize>(Bytes.size()));
  Files_.push_back(File);
  return File;
}
