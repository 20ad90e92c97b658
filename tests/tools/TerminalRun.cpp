#include "TerminalRun.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <regex>
#include <stdexcept>

#include <gtest/gtest.h>

extern char** environ;

namespace {

constexpr auto Patience = std::chrono::seconds(5);

std::vector<std::string> Environment() {
  std::vector<std::string> Variables;
  for (char** Variable = environ; *Variable != nullptr; ++Variable) {
    if (std::strncmp(*Variable, "LC_ALL=", 7) != 0 && std::strncmp(*Variable, "TZ=", 3) != 0)
      Variables.emplace_back(*Variable);
  }
  Variables.emplace_back("LC_ALL=C");
  Variables.emplace_back("TZ=UTC");
  Variables.emplace_back("TERM=xterm");
  return Variables;
}

std::vector<char*> Pointers(std::vector<std::string>& Texts) {
  std::vector<char*> List;
  for (std::string& Text : Texts) List.push_back(Text.data());
  List.push_back(nullptr);
  return List;
}

// The lines of the last frame: the text after the last cursor-home sequence, without
// escape sequences and carriage returns.
TerminalRun::Screen LastScreen(const std::string& Output) {
  const std::size_t Home = Output.rfind("\x1b[H");
  if (Home == std::string::npos) return {};
  static const std::regex Hidden("\x1b\\[[0-?]*[ -/]*[@-~]|\r");
  const std::string Text = std::regex_replace(Output.substr(Home), Hidden, "");
  TerminalRun::Screen Lines;
  std::size_t Start = 0;
  for (std::size_t End; (End = Text.find('\n', Start)) != std::string::npos; Start = End + 1)
    Lines.push_back(Text.substr(Start, End - Start));
  Lines.push_back(Text.substr(Start));
  return Lines;
}

std::size_t CodePoints(const std::string& Text) {
  std::size_t Count = 0;
  for (char Byte : Text) Count += (static_cast<unsigned char>(Byte) & 0xC0) != 0x80;
  return Count;
}

}  // namespace

TerminalRun::TerminalRun(const std::vector<std::string>& Arguments, int Columns, int Rows)
    : Columns_(Columns), Rows_(Rows) {
  std::vector<std::string> Argv{GAUGERY_EXE};
  Argv.insert(Argv.end(), Arguments.begin(), Arguments.end());
  std::vector<std::string> Envp = Environment();
  std::vector<char*> ArgvPointers = Pointers(Argv);
  std::vector<char*> EnvpPointers = Pointers(Envp);
  winsize Size{static_cast<unsigned short>(Rows), static_cast<unsigned short>(Columns), 0, 0};
  if (openpty(&Master_, &Slave_, nullptr, nullptr, &Size) != 0)
    throw std::runtime_error("openpty failed");
  fcntl(Master_, F_SETFD, FD_CLOEXEC);
  Pid_ = fork();
  if (Pid_ == 0) {
    setsid();
    ioctl(Slave_, TIOCSCTTY, 0);
    dup2(Slave_, 0);
    dup2(Slave_, 1);
    dup2(Slave_, 2);
    if (Slave_ > 2) close(Slave_);
    execve(ArgvPointers[0], ArgvPointers.data(), EnvpPointers.data());
    _exit(127);
  }
}

TerminalRun::~TerminalRun() {
  if (Pid_ > 0) {
    kill(Pid_, SIGKILL);
    waitpid(Pid_, nullptr, 0);
  }
  close(Master_);
  close(Slave_);
}

void TerminalRun::Type(const std::string& Keys) {
  if (write(Master_, Keys.data(), Keys.size()) != static_cast<ssize_t>(Keys.size()))
    ADD_FAILURE() << "could not type to the terminal";
}

// The terminal tells the program's process group with SIGWINCH.
void TerminalRun::Resize(int Columns, int Rows) {
  Columns_ = Columns;
  Rows_ = Rows;
  winsize Size{static_cast<unsigned short>(Rows), static_cast<unsigned short>(Columns), 0, 0};
  ioctl(Master_, TIOCSWINSZ, &Size);
}

void TerminalRun::Signal(int Number) { kill(Pid_, Number); }

bool TerminalRun::ReadOutput(int Milliseconds) {
  pollfd Readable{Master_, POLLIN, 0};
  if (poll(&Readable, 1, Milliseconds) <= 0) return false;
  char Bytes[4096];
  const ssize_t Read = read(Master_, Bytes, sizeof Bytes);
  if (Read <= 0) return false;
  Output_.append(Bytes, static_cast<std::size_t>(Read));
  return true;
}

// A frame is drawn whole when it has a line for every row of the terminal and its last
// line reaches the right edge (every line is filled to it).
bool TerminalRun::Drawn(const Screen& Lines) const {
  return Lines.size() == static_cast<std::size_t>(Rows_) &&
         CodePoints(Lines.back()) == static_cast<std::size_t>(Columns_);
}

TerminalRun::Screen TerminalRun::ScreenWhen(const std::function<bool(const Screen&)>& Test) {
  const auto Until = std::chrono::steady_clock::now() + Patience;
  while (std::chrono::steady_clock::now() < Until) {
    const Screen Lines = LastScreen(Output_);
    if (Drawn(Lines) && Test(Lines)) return Lines;
    ReadOutput(50);
  }
  std::string Shown;
  for (const std::string& Line : LastScreen(Output_)) Shown += Line + "\n";
  ADD_FAILURE() << "the screen never showed what was expected; last screen:\n" << Shown;
  return LastScreen(Output_);
}

int TerminalRun::ExitStatus() {
  const auto Until = std::chrono::steady_clock::now() + Patience;
  while (std::chrono::steady_clock::now() < Until) {
    int Status = 0;
    if (waitpid(Pid_, &Status, WNOHANG) == Pid_) {
      Pid_ = -1;
      while (ReadOutput(0)) {
      }
      return WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
    }
    ReadOutput(20);
  }
  return -1;
}

bool TerminalRun::Echoes() const {
  termios Mode{};
  return tcgetattr(Slave_, &Mode) == 0 && (Mode.c_lflag & ECHO) != 0;
}
