#include "Terminal.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <io.h>

#include <iostream>
#include <iterator>
#include <string>

#include "ConsoleText.h"
#include "framework/Unicode.h"
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
#include <iostream>
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

// The length of the control sequence at Start ("ESC [", parameters, one final byte from
// @ to ~), or of the lone ESC there; to the end of Text for one cut short.
std::size_t EscapeLength(const std::string& Text, std::size_t Start) {
  if (Start + 1 >= Text.size() || Text[Start + 1] != '[') return 1;
  for (std::size_t End = Start + 2; End < Text.size(); ++End) {
    if (Text[End] >= '@' && Text[End] <= '~') return End + 1 - Start;
  }
  return Text.size() - Start;
}

}  // namespace

std::vector<std::string> ScreenLines(const std::string& Screen) {
  std::vector<std::string> Lines(1);
  for (std::size_t At = 0; At < Screen.size();) {
    if (Screen[At] == '\x1b') {
      At += EscapeLength(Screen, At);
    } else if (Screen.compare(At, 2, "\r\n") == 0) {
      Lines.emplace_back();
      At += 2;
    } else {
      Lines.back() += Screen[At++];
    }
  }
  return Lines;
}

#ifdef _WIN32

namespace {

void (*SavedInterrupt)(int) = SIG_DFL;

extern "C" void OnInterrupt(int Signal) { EndingSignal = Signal; }

// The keys waiting in the console's input. Every event is taken from it, so that a wait
// on the input handle sleeps until something new arrives; of key-down events those of
// keys that mean nothing here (Shift, Ctrl, ...) are dropped.
std::vector<TKeyPress> ReadConsoleKeys(HANDLE Input) {
  std::vector<TKeyPress> Keys;
  DWORD Waiting = 0;
  while (GetNumberOfConsoleInputEvents(Input, &Waiting) && Waiting > 0) {
    INPUT_RECORD Records[32];
    DWORD Read = 0;
    if (!ReadConsoleInputW(Input, Records, std::size(Records), &Read) || Read == 0) break;
    for (DWORD i = 0; i < Read; ++i) {
      if (Records[i].EventType != KEY_EVENT || !Records[i].Event.KeyEvent.bKeyDown) continue;
      const KEY_EVENT_RECORD& Key = Records[i].Event.KeyEvent;
      const TKeyPress Press = ConsoleKeyPress(Key.wVirtualKeyCode, Key.uChar.UnicodeChar);
      if (Press.Key != TKey::Other)
        Keys.insert(Keys.end(), std::max<WORD>(Key.wRepeatCount, 1), Press);
    }
  }
  return Keys;
}

// Whether the console follows the escape sequences it is written. One that does not
// takes their characters as text, cells the cursor moves over: a sequence that only sets
// attributes must leave the cursor where it was. The cursor is put back either way.
bool FollowsEscapes(HANDLE Output) {
  CONSOLE_SCREEN_BUFFER_INFO Before;
  CONSOLE_SCREEN_BUFFER_INFO After;
  if (!GetConsoleScreenBufferInfo(Output, &Before)) return false;
  DWORD Written = 0;
  const bool Wrote = WriteConsoleW(Output, L"\x1b[0m", 4, &Written, nullptr) != 0;
  const bool Read = GetConsoleScreenBufferInfo(Output, &After) != 0;
  SetConsoleCursorPosition(Output, Before.dwCursorPosition);
  return Wrote && Read && After.dwCursorPosition.X == Before.dwCursorPosition.X &&
         After.dwCursorPosition.Y == Before.dwCursorPosition.Y;
}

// Whether the console on Output follows escape sequences once asked; SavedMode receives
// the mode to restore. The switch is read back and tried, since a console may accept
// the request and still not follow them.
bool SwitchOnEscapes(HANDLE Output, DWORD* SavedMode) {
  DWORD Mode = 0;
  if (!GetConsoleMode(Output, &Mode)) return false;
  *SavedMode = Mode;
  DWORD Now = 0;
  return SetConsoleMode(Output, Mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) &&
         GetConsoleMode(Output, &Now) && (Now & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 &&
         FollowsEscapes(Output);
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
  DWORD InputMode = 0;
  ReadsKeys_ = Screen_ && GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &InputMode) != 0;
  // The screen is drawn with escape sequences, which a console follows only when asked.
  // One that cannot be asked gets the lines of the screen written into its cells.
  const HANDLE Output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD Mode = 0;
  if (Screen_ && GetConsoleMode(Output, &Mode)) {
    FillsCells_ = !SwitchOnEscapes(Output, &SavedOutputMode_);
    RestoresOutputMode_ = true;
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
  if (FillsCells_) {
    ClearWindow();
  } else if (Screen_) {
    std::cout << EnterScreenSequence << std::flush;
  }
}

void TTerminalSession::LeaveScreen() {
  if (FillsCells_) {
    ClearWindow();
  } else if (Screen_) {
    std::cout << LeaveScreenSequence;
  }
  std::cout << std::flush;
}

// The visible window blank, the cursor in its top left corner.
void TTerminalSession::ClearWindow() {
  const HANDLE Output = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO Info;
  if (!GetConsoleScreenBufferInfo(Output, &Info)) return;
  const SMALL_RECT Window = Info.srWindow;
  const auto Width = static_cast<DWORD>(Window.Right - Window.Left + 1);
  DWORD Written = 0;
  for (SHORT Row = Window.Top; Row <= Window.Bottom; ++Row) {
    FillConsoleOutputCharacterW(Output, L' ', Width, {Window.Left, Row}, &Written);
    FillConsoleOutputAttribute(Output, Info.wAttributes, Width, {Window.Left, Row}, &Written);
  }
  SetConsoleCursorPosition(Output, {Window.Left, Window.Top});
}

void TTerminalSession::Show(const std::string& Screen) {
  if (!FillsCells_) {
    std::cout << Screen << std::flush;
    return;
  }
  // Written into the cells of the window: the cursor stays where it is, and nothing
  // scrolls whatever the last line holds.
  const HANDLE Output = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO Info;
  if (!GetConsoleScreenBufferInfo(Output, &Info)) return;
  const SMALL_RECT Window = Info.srWindow;
  const auto Width = static_cast<std::size_t>(Window.Right - Window.Left + 1);
  const std::vector<std::string> Lines = ScreenLines(Screen);
  for (SHORT Row = 0; Row <= Window.Bottom - Window.Top; ++Row) {
    const auto Line = static_cast<std::size_t>(Row);
    std::wstring Text = Line < Lines.size() ? ToWide(Lines[Line]) : std::wstring();
    Text.resize(Width, L' ');
    DWORD Written = 0;
    WriteConsoleOutputCharacterW(Output, Text.data(), static_cast<DWORD>(Width),
                                 {Window.Left, static_cast<SHORT>(Window.Top + Row)}, &Written);
  }
}

bool TTerminalSession::SizeChanged() {
  const TTerminalSize Now = TerminalSize();
  if (Now.Columns == Size_.Columns && Now.Rows == Size_.Rows) return false;
  Size_ = Now;
  return true;
}

// The console has no signal for a new size, and Ctrl-C comes on a thread of its own: the
// wait for keys is cut into slices of a few milliseconds to look at both.
TTerminalEvent TTerminalSession::Wait(int Milliseconds) {
  const auto Until = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
  for (;;) {
    if (EndingSignal != 0) return {TTerminalEvent::TKind::Ended, {}, EndedStatus()};
    if (ReadsKeys_) {
      std::vector<TKeyPress> Keys = ReadConsoleKeys(GetStdHandle(STD_INPUT_HANDLE));
      if (!Keys.empty()) return KeysEvent(std::move(Keys));
    }
    if (Screen_ && SizeChanged()) return {TTerminalEvent::TKind::Resize, {}, 0};
    const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          Until - std::chrono::steady_clock::now())
                          .count();
    if (Left <= 0) return {};
    const auto Slice = static_cast<DWORD>(std::min<long long>(Left, 20));
    if (ReadsKeys_) {
      WaitForSingleObject(GetStdHandle(STD_INPUT_HANDLE), Slice);
    } else {
      Sleep(Slice);
    }
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

void TTerminalSession::Show(const std::string& Screen) { std::cout << Screen << std::flush; }

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
