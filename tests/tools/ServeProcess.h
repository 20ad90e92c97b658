// A `gaugery serve` (or any program) run in the background for the end-to-end tests,
// on a free loopback port, stopped when the test ends.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Starts a program with its standard output on a pipe and its standard error in a
// file; SIGTERM and a wait end it.
class TChildProcess {
 public:
  TChildProcess(const std::string& Program, const std::vector<std::string>& Arguments);
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  pid_t Pid() const { return Pid_; }
  // The next line of standard output, waiting at most TimeoutMs; empty on time-out or end.
  std::string ReadLine(int TimeoutMs);
  // Ends the program (SIGTERM, then SIGKILL after a few seconds) and returns its exit
  // status, -1 when a signal ended it.
  int Stop();
  // Everything it wrote to standard error so far.
  std::string Errors() const;

 private:
  pid_t Pid_ = -1;
  int Output_ = -1;
  std::string Pending_;
  std::string ErrorFile_;
  int Status_ = -1;
};

// `gaugery <ProgramOptions...> serve --listen 127.0.0.1:0 <Options...>`, once it
// listens; Program is the built gaugery unless another is named (a benchmark compares
// two builds).
class TServeProcess {
 public:
  explicit TServeProcess(const std::vector<std::string>& Options = {},
                         const std::string& Program = GAUGERY_EXE,
                         const std::vector<std::string>& ProgramOptions = {});

  int Port() const { return Port_; }
  // "127.0.0.1:<port>", the computer name that reaches it.
  std::string ComputerName() const { return "127.0.0.1:" + std::to_string(Port_); }
  pid_t Pid() const { return Process_.Pid(); }
  int Stop() { return Process_.Stop(); }
  std::string Errors() const { return Process_.Errors(); }

 private:
  TChildProcess Process_;
  int Port_ = 0;
};

// A port that was free a moment ago on the loopback interface.
int FreeLoopbackPort();
