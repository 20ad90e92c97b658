#include "Terminal.h"

#include <chrono>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <conio.h>
#include <io.h>

#include <thread>
#else
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace gaugery::cli {

namespace {

volatile std::sig_atomic_t Interrupted = 0;

extern "C" void OnInterrupt(int) { Interrupted = 1; }

bool IsQuitKey(int Key) { return Key == 'q' || Key == 'Q'; }

constexpr char EnterScreen[] = "\x1b[?1049h\x1b[?25l";
constexpr char LeaveScreen[] = "\x1b[?25h\x1b[?1049l";

#ifndef _WIN32
termios SavedMode;
struct sigaction SavedInterrupt;
#else
void (*SavedInterrupt)(int) = SIG_DFL;
#endif

}  // namespace

#ifdef _WIN32

bool OutputIsTerminal() { return _isatty(_fileno(stdout)) != 0; }

TTerminalSize TerminalSize() { return {}; }

TTerminalSession::TTerminalSession(bool Screen) : Screen_(Screen) {
  Interrupted = 0;
  SavedInterrupt = std::signal(SIGINT, OnInterrupt);
  ReadsKeys_ = Screen_ && _isatty(_fileno(stdin)) != 0;
  if (Screen_) std::fputs(EnterScreen, stdout);
}

TTerminalSession::~TTerminalSession() {
  if (Screen_) std::fputs(LeaveScreen, stdout);
  std::fflush(stdout);
  std::signal(SIGINT, SavedInterrupt);
}

// The console offers no wait for a key: it is asked every few milliseconds.
bool TTerminalSession::WaitForQuit(int Milliseconds) {
  const auto Until = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
  while (!Interrupted && std::chrono::steady_clock::now() < Until) {
    while (ReadsKeys_ && _kbhit()) {
      if (IsQuitKey(_getch())) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return Interrupted != 0;
}

#else

bool OutputIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

TTerminalSize TerminalSize() {
  winsize Size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &Size) != 0 || Size.ws_col == 0 || Size.ws_row == 0) {
    return {};
  }
  return {Size.ws_col, Size.ws_row};
}

TTerminalSession::TTerminalSession(bool Screen) : Screen_(Screen) {
  Interrupted = 0;
  // Without SA_RESTART, so that Ctrl-C ends a wait in poll at once.
  struct sigaction OnCtrlC {};
  OnCtrlC.sa_handler = OnInterrupt;
  sigemptyset(&OnCtrlC.sa_mask);
  sigaction(SIGINT, &OnCtrlC, &SavedInterrupt);
  KeyMode_ = Screen_ && isatty(STDIN_FILENO) != 0 && tcgetattr(STDIN_FILENO, &SavedMode) == 0;
  ReadsKeys_ = KeyMode_;
  if (KeyMode_) {
    termios KeyByKey = SavedMode;
    KeyByKey.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    KeyByKey.c_cc[VMIN] = 0;
    KeyByKey.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &KeyByKey);
  }
  if (Screen_) std::fputs(EnterScreen, stdout);
}

TTerminalSession::~TTerminalSession() {
  if (Screen_) std::fputs(LeaveScreen, stdout);
  std::fflush(stdout);
  if (KeyMode_) tcsetattr(STDIN_FILENO, TCSANOW, &SavedMode);
  sigaction(SIGINT, &SavedInterrupt, nullptr);
}

bool TTerminalSession::WaitForQuit(int Milliseconds) {
  using Clock = std::chrono::steady_clock;
  const auto Until = Clock::now() + std::chrono::milliseconds(Milliseconds);
  while (!Interrupted) {
    const auto Left =
        std::chrono::duration_cast<std::chrono::milliseconds>(Until - Clock::now()).count();
    if (Left <= 0) break;
    pollfd Keys{STDIN_FILENO, POLLIN, 0};
    if (poll(&Keys, ReadsKeys_ ? 1 : 0, static_cast<int>(Left)) <= 0) continue;
    char Key = 0;
    const ssize_t Read = read(STDIN_FILENO, &Key, 1);
    if (Read == 1 && IsQuitKey(Key)) return true;
    // End of input: nothing more to wait for from the keyboard.
    if (Read == 0) ReadsKeys_ = false;
  }
  return Interrupted != 0;
}

#endif

}  // namespace gaugery::cli
