#include "perf/ProcFiles.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace gaugery {

namespace {

// Enough for every per-process file in one read; /proc/stat and /proc/interrupts of
// large machines make it grow.
constexpr std::size_t InitialFileBuffer = 16 * 1024;
// A file longer than this is cut off rather than held whole.
constexpr std::size_t MaximalFileBuffer = 16 * 1024 * 1024;

char* AppendText(char* At, char* End, const char* Text) {
  while (*Text != '\0' && At < End) *At++ = *Text++;
  return At;
}

char* AppendNumber(char* At, char* End, std::uint32_t Value) {
  char Digits[10];
  int Count = 0;
  do {
    Digits[Count++] = static_cast<char>('0' + Value % 10);
    Value /= 10;
  } while (Value != 0);
  while (Count > 0 && At < End) *At++ = Digits[--Count];
  return At;
}

}  // namespace

TProcPath::TProcPath(std::uint32_t Pid, const char* Name) {
  char* End = Text_ + sizeof Text_ - 1;
  char* At = AppendText(Text_, End, "/proc/");
  At = AppendNumber(At, End, Pid);
  At = AppendText(At, End, "/");
  At = AppendText(At, End, Name);
  *At = '\0';
}

TProcFileReader::TProcFileReader() : Buffer_(InitialFileBuffer) {}

bool TProcFileReader::Read(const char* Path, std::string_view* Text) {
  return ReadFile(Path, false, Text);
}

bool TProcFileReader::ReadRecord(const char* Path, std::string_view* Text) {
  return ReadFile(Path, true, Text);
}

bool TProcFileReader::ReadFile(const char* Path, bool OneRecord, std::string_view* Text) {
  *Text = {};
  int Fd = open(Path, O_RDONLY | O_CLOEXEC);
  if (Fd < 0) return false;
  std::size_t Used = 0;
  bool Ok = true;
  for (;;) {
    if (Used == Buffer_.size()) {
      if (Buffer_.size() >= MaximalFileBuffer) break;
      Buffer_.resize(std::min(Buffer_.size() * 2, MaximalFileBuffer));
    }
    ssize_t Got = read(Fd, Buffer_.data() + Used, Buffer_.size() - Used);
    if (Got < 0 && errno == EINTR) continue;
    if (Got < 0) {
      Ok = false;
      break;
    }
    if (Got == 0) break;
    Used += static_cast<std::size_t>(Got);
    if (OneRecord && Used < Buffer_.size()) break;
  }
  close(Fd);
  if (Ok) *Text = std::string_view(Buffer_.data(), Used);
  return Ok;
}

int OpenDirectory(const char* Path) {
  return open(Path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

long ReadDirectoryEntries(int Fd, void* Buffer, std::size_t Size) {
  for (;;) {
    long Filled = syscall(SYS_getdents64, Fd, Buffer, Size);
    if (Filled >= 0 || errno != EINTR) return Filled;
  }
}

void CloseDirectory(int Fd) { close(Fd); }

long TDirectoryReader::Count(const char* Path) {
  long Entries = 0;
  if (!List(Path, [&Entries](std::string_view) { ++Entries; })) return -1;
  return Entries;
}

}  // namespace gaugery
