#include "perf/proc/ProcFiles.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cerrno>

namespace gaugery {

namespace {

// Enough for every per-process file in one read; /proc/stat and /proc/interrupts of
// large machines make it grow.
constexpr std::size_t InitialFileBuffer = 16 * 1024;
// A file longer than this is cut off rather than held whole.
constexpr std::size_t MaximalFileBuffer = 16 * 1024 * 1024;

}  // namespace

TShortText& TShortText::Append(std::string_view Part) {
  if (CutOff_ || Part.size() >= sizeof Text_ - Length_) {
    CutOff_ = true;
    Text_[0] = '\0';
    return *this;
  }
  std::memcpy(Text_ + Length_, Part.data(), Part.size());
  Length_ += Part.size();
  Text_[Length_] = '\0';
  return *this;
}

TShortText& TShortText::Append(std::uint32_t Number) {
  char Digits[10];
  auto Written = std::to_chars(Digits, Digits + sizeof Digits, Number);
  return Append(std::string_view(Digits, static_cast<std::size_t>(Written.ptr - Digits)));
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
