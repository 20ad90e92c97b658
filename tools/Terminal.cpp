#include "Terminal.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <conio.h>
#include <io.h>

#include <iostream>
#include <thread>

#include "ConsoleText.h"
#include "framework/WindowsApi.h"
#else
#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iterator>
#endif

namespace gaugery::cli {

namespace {

// The alternate screen, the cursor hidden, no wrapping at the right edge; and back.
constexpr char EnterScreenSequence[] = "\x1b[?1049h\x1b[?25l\x1b[?7l";
constexpr char LeaveScreenSequence[] = "\x1b[?7h\x1b[?25h\x1b[?1049l";

// The first signal that asked the program to end; 0 while none has.
volatile std::sig_atomic_t EndingSignal = 0;

int EndedStatus() { return 128 + EndingSignal; }

TTerminalEvent KeysEvent(std::vector<TKeyPress> Keys) {
  return {TTerminalEvent::TKind::Keys, std::move(Keys), 0};
}

}  // namespace

#ifdef _WIN32

namespace {

void (*SavedInterrupt)(int) = SIG_DFL;

extern "C" void OnInterrupt(int Signal) { EndingSignal = Signal; }

// The console sends the cursor and paging keys as a prefix byte and a scan code.
TKey ScanCodeKey(int Code) {
  switch (Code) {
    case 72:
      return TKey::Up;
    case 80:
      return TKey::Down;
    case 75:
      return TKey::Left;
    case 77:
      return TKey::Right;
    case 73:
      return TKey::PageUp;
    case 81:
      return TKey::PageDown;
    case 71:
      return TKey::Home;
    case 79:
      return TKey::End;
    default:
      return TKey::Other;
  }
}

TKeyPress ConsoleKey() {
  const int Code = _getch();
  if (Code == 0 || Code == 0xE0) return {ScanCodeKey(_getch()), {}};
  if (Code == '\r') return {TKey::Enter, {}};
  if (Code == '\b') return {TKey::Backspace, {}};
  if (Code == 27) return {TKey::Escape, {}};
  if (Code >= 0x20 && Code < 0x7F) return {TKey::Char, std::string(1, static_cast<char>(Code))};
  return {};
}

}  // namespace

bool OutputIsTerminal() { return _isatty(_fileno(stdout)) != 0; }

// The visible window of the console's buffer, not the buffer: that is what the screen
// fills.
TTerminalSize TerminalSize() {
  CONSOLE_SCREEN_BUFFER_INFO Info;
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &Info)) return {};
  const int Columns = Info.srWindow.Right - Info.srWindow.Left + 1;
  const int Rows = Info.srWindow.Bottom - Info.srWindow.Top + 1;
  if (Columns <= 0 || Rows <= 0) return {};
  return {Columns, Rows};
}

bool TerminalIsUtf8() { return TConsoleText::WritesStandardOutput(); }

TTerminalSession::TTerminalSession(bool Screen) : Screen_(Screen) {
  EndingSignal = 0;
  SavedInterrupt = std::signal(SIGINT, OnInterrupt);
  ReadsKeys_ = Screen_ && _isatty(_fileno(stdin)) != 0;
  // The screen is drawn with escape sequences, which a console follows only when asked.
  const HANDLE Output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD Mode;
  if (Screen_ && GetConsoleMode(Output, &Mode)) {
    SavedOutputMode_ = Mode;
    RestoresOutputMode_ = SetConsoleMode(Output, Mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
  }
  Size_ = TerminalSize();
  EnterScreen();
}

TTerminalSession::~TTerminalSession() {
  LeaveScreen();
  if (RestoresOutputMode_) SetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), SavedOutputMode_);
  std::signal(SIGINT, SavedInterrupt);
}

// The sequences go through std::cout, which on a console does not pass through stdio.
void TTerminalSession::EnterScreen() {
  if (Screen_) std::cout << EnterScreenSequence << std::flush;
}

void TTerminalSession::LeaveScreen() {
  if (Screen_) std::cout << LeaveScreenSequence;
  std::cout << std::flush;
}

bool TTerminalSession::SizeChanged() {
  const TTerminalSize Now = TerminalSize();
  if (Now.Columns == Size_.Columns && Now.Rows == Size_.Rows) return false;
  Size_ = Now;
  return true;
}

// The console offers no wait for a key or a new size: it is asked every few milliseconds.
TTerminalEvent TTerminalSession::Wait(int Milliseconds) {
  const auto Until = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
  for (;;) {
    if (EndingSignal != 0) return {TTerminalEvent::TKind::Ended, {}, EndedStatus()};
    std::vector<TKeyPress> Keys;
    while (ReadsKeys_ && _kbhit()) Keys.push_back(ConsoleKey());
    if (!Keys.empty()) return KeysEvent(std::move(Keys));
    if (Screen_ && SizeChanged()) return {TTerminalEvent::TKind::Resize, {}, 0};
    if (std::chrono::steady_clock::now() >= Until) return {};
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

#else

namespace {

// How long the rest of an escape sequence may take to arrive before a lone ESC counts
// as the Escape key.
constexpr int EscapeWaitMs = 40;

constexpr int EndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
// Watched by a screen session only.
constexpr int ScreenSignals[] = {SIGWINCH, SIGTSTP};

volatile std::sig_atomic_t Resized = 0;
volatile std::sig_atomic_t StopRequested = 0;
// The handlers write a byte into this pipe, so that a wait sees a signal that came
// just before it started as well as one that comes during it.
int WakeUpPipe[2] = {-1, -1};

termios SavedMode;
struct sigaction SavedActions[std::size(EndingSignals) + std::size(ScreenSignals)];

extern "C" void OnSignal(int Signal) {
  const int SavedErrno = errno;
  if (Signal == SIGWINCH) {
    Resized = 1;
  } else if (Signal == SIGTSTP) {
    StopRequested = 1;
  } else if (EndingSignal == 0) {
    EndingSignal = Signal;
  }
  const char Byte = 0;
  if (WakeUpPipe[1] >= 0 && write(WakeUpPipe[1], &Byte, 1) < 0) {
    // A full pipe wakes the wait already.
  }
  errno = SavedErrno;
}

// With SA_RESTART a signal does not cut the program's own reads and writes short; a
// wait in poll ends all the same.
void Handle(int Signal, struct sigaction* Saved) {
  struct sigaction Action {};
  Action.sa_handler = OnSignal;
  Action.sa_flags = SA_RESTART;
  sigemptyset(&Action.sa_mask);
  sigaction(Signal, &Action, Saved);
}

void DrainWakeUps() {
  char Bytes[64];
  while (read(WakeUpPipe[0], Bytes, sizeof Bytes) > 0) {
  }
}

}  // namespace

bool OutputIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

TTerminalSize TerminalSize() {
  winsize Size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &Size) != 0 || Size.ws_col == 0 || Size.ws_row == 0) {
    return {};
  }
  return {Size.ws_col, Size.ws_row};
}

bool TerminalIsUtf8() { return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0; }

TTerminalSession::TTerminalSession(bool Screen) : Screen_(Screen) {
  EndingSignal = 0;
  Resized = 0;
  StopRequested = 0;
  if (pipe2(WakeUpPipe, O_NONBLOCK | O_CLOEXEC) != 0) WakeUpPipe[0] = WakeUpPipe[1] = -1;
  std::size_t Saved = 0;
  for (int Signal : EndingSignals) Handle(Signal, &SavedActions[Saved++]);
  if (Screen_) {
    for (int Signal : ScreenSignals) Handle(Signal, &SavedActions[Saved++]);
  }
  KeyMode_ = Screen_ && isatty(STDIN_FILENO) != 0 && tcgetattr(STDIN_FILENO, &SavedMode) == 0;
  ReadsKeys_ = KeyMode_;
  EnterScreen();
}

TTerminalSession::~TTerminalSession() {
  LeaveScreen();
  std::size_t Saved = 0;
  for (int Signal : EndingSignals) sigaction(Signal, &SavedActions[Saved++], nullptr);
  if (Screen_) {
    for (int Signal : ScreenSignals) sigaction(Signal, &SavedActions[Saved++], nullptr);
  }
  for (int& End : WakeUpPipe) {
    if (End >= 0) close(End);
    End = -1;
  }
}

void TTerminalSession::EnterScreen() {
  if (KeyMode_) {
    termios KeyByKey = SavedMode;
    KeyByKey.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    KeyByKey.c_cc[VMIN] = 0;
    KeyByKey.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &KeyByKey);
  }
  if (Screen_) std::fputs(EnterScreenSequence, stdout);
  std::fflush(stdout);
}

void TTerminalSession::LeaveScreen() {
  if (Screen_) std::fputs(LeaveScreenSequence, stdout);
  std::fflush(stdout);
  if (KeyMode_) tcsetattr(STDIN_FILENO, TCSANOW, &SavedMode);
}

// Stops the program as Ctrl-Z would have, with the terminal given back meanwhile.
void TTerminalSession::Suspend() {
  LeaveScreen();
  struct sigaction Default {};
  Default.sa_handler = SIG_DFL;
  sigemptyset(&Default.sa_mask);
  sigaction(SIGTSTP, &Default, nullptr);
  raise(SIGTSTP);
  // Continued.
  Handle(SIGTSTP, nullptr);
  EnterScreen();
}

TTerminalEvent TTerminalSession::Wait(int Milliseconds) {
  using Clock = std::chrono::steady_clock;
  const auto Until = Clock::now() + std::chrono::milliseconds(Milliseconds);
  for (;;) {
    if (StopRequested != 0) {
      StopRequested = 0;
      Suspend();
      // The screen is blank again and the size may have changed meanwhile.
      return {TTerminalEvent::TKind::Resize, {}, 0};
    }
    if (EndingSignal != 0) return {TTerminalEvent::TKind::Ended, {}, EndedStatus()};
    if (Resized != 0) {
      Resized = 0;
      return {TTerminalEvent::TKind::Resize, {}, 0};
    }
    const long long Left = std::max<long long>(
        0, std::chrono::duration_cast<std::chrono::milliseconds>(Until - Clock::now()).count());
    const long long Timeout = Decoder_.Pending() ? std::min<long long>(Left, EscapeWaitMs) : Left;
    pollfd Watched[2] = {{WakeUpPipe[0], POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    const int Ready = poll(Watched, ReadsKeys_ ? 2 : 1, static_cast<int>(Timeout));
    if (Ready < 0) continue;
    if ((Watched[0].revents & POLLIN) != 0) DrainWakeUps();
    std::vector<TKeyPress> Keys;
    if (ReadsKeys_ && Watched[1].revents != 0) {
      char Bytes[256];
      const ssize_t Read = read(STDIN_FILENO, Bytes, sizeof Bytes);
      // End of input (or a terminal gone): nothing more to wait for from the keyboard.
      if (Read == 0 || (Read < 0 && errno != EINTR && errno != EAGAIN)) ReadsKeys_ = false;
      if (Read > 0) Keys = Decoder_.Feed(std::string(Bytes, static_cast<std::size_t>(Read)));
    } else if (Ready == 0 && Decoder_.Pending()) {
      Keys = Decoder_.FlushPending();
    }
    if (!Keys.empty()) return KeysEvent(std::move(Keys));
    // Keys typed meanwhile are read even when the time was up on entry.
    if (Ready == 0 && Left == 0) return {};
  }
}

#endif

}  // namespace gaugery::cli
