// Reads of /proc files and directories that make no heap allocation once their
// buffers have grown to the sizes the machine needs: a file goes whole into a buffer
// that is kept between reads, directory entries come from getdents64 into a fixed
// buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace gaugery {

// A short text (a file path, an instance name) built in place from texts and numbers.
// A text too long for the buffer comes out empty, so that opening a path fails instead
// of opening a shorter one.
class TShortText {
 public:
  TShortText() { Text_[0] = '\0'; }
  TShortText& Append(std::string_view Part);
  TShortText& Append(std::uint32_t Number);
  const char* Text() const { return Text_; }
  std::string_view View() const { return {Text_, CutOff_ ? 0 : Length_}; }

 private:
  // Only what Length_ covers, and its terminating NUL, is written: a path built for
  // every file of every process fills no more than it needs.
  char Text_[256];
  std::size_t Length_ = 0;
  bool CutOff_ = false;
};

class TProcFileReader {
 public:
  TProcFileReader();

  // Reads the whole file. The text stays valid until the next Read. False when the
  // file cannot be opened or read (a vanished process, a permission it lacks).
  bool Read(const char* Path, std::string_view* Text);

  // The same for a file the kernel produces as one record (/proc/<pid>/stat, status,
  // io): a read that does not fill the buffer has returned all of it, which saves
  // the read that would only report the end of the file.
  bool ReadRecord(const char* Path, std::string_view* Text);
  // ReadRecord of the file Name in the directory open as Directory.
  bool ReadRecordAt(int Directory, const char* Name, std::string_view* Text);

 private:
  bool ReadFile(int Directory, const char* Path, bool OneRecord, std::string_view* Text);

  std::vector<char> Buffer_;
};

// A directory held open, so that the files in it are opened by their names alone
// (openat): the kernel then resolves the directory's path once, not once per file.
class TDirectoryHandle {
 public:
  // Reach opens Path only to reach what lies in it (O_PATH), List also to list it once
  // (TDirectoryReader::ListHandle). Fd() is negative when that fails.
  enum class TAccess { Reach, List };
  TDirectoryHandle() = default;
  explicit TDirectoryHandle(const char* Path, TAccess Access = TAccess::Reach);
  TDirectoryHandle(TDirectoryHandle&& Other) noexcept;
  TDirectoryHandle& operator=(TDirectoryHandle&& Other) noexcept;
  ~TDirectoryHandle();

  int Fd() const { return Fd_; }

 private:
  int Fd_ = -1;
};

// Low-level directory access for TDirectoryReader: Name in the directory open as
// Directory, or a path, opened for listing.
int OpenDirectoryAt(int Directory, const char* Name);
int OpenDirectory(const char* Path);
// Fills Buffer with linux_dirent64 records; 0 at the end, negative on error.
long ReadDirectoryEntries(int Fd, void* Buffer, std::size_t Size);
void CloseDirectory(int Fd);

class TDirectoryReader {
 public:
  // Calls Visit(Name) for every entry except "." and ".."; false when the directory
  // cannot be opened.
  template <typename TVisit>
  bool List(const char* Path, TVisit&& Visit);

  // The number of entries except "." and "..", or -1 when the directory cannot be
  // opened; of a path, or of Name in the directory open as Directory.
  long Count(const char* Path);
  long CountAt(int Directory, const char* Name);

  // List of a directory opened for listing, which stays open.
  template <typename TVisit>
  bool ListHandle(const TDirectoryHandle& Directory, TVisit&& Visit);

 private:
  // List of a directory opened for it, which it closes; false when Fd is negative.
  template <typename TVisit>
  bool ListOpened(int Fd, TVisit&& Visit);
  // Its entries, leaving the directory open.
  template <typename TVisit>
  void VisitEntries(int Fd, TVisit&& Visit);

  alignas(8) unsigned char Buffer_[32768];
};

template <typename TVisit>
bool TDirectoryReader::List(const char* Path, TVisit&& Visit) {
  return ListOpened(OpenDirectory(Path), Visit);
}

template <typename TVisit>
bool TDirectoryReader::ListOpened(int Fd, TVisit&& Visit) {
  if (Fd < 0) return false;
  VisitEntries(Fd, Visit);
  CloseDirectory(Fd);
  return true;
}

template <typename TVisit>
bool TDirectoryReader::ListHandle(const TDirectoryHandle& Directory, TVisit&& Visit) {
  if (Directory.Fd() < 0) return false;
  VisitEntries(Directory.Fd(), Visit);
  return true;
}

template <typename TVisit>
void TDirectoryReader::VisitEntries(int Fd, TVisit&& Visit) {
  // linux_dirent64: 8-byte inode, 8-byte offset, 2-byte record length, 1-byte type,
  // then the NUL-terminated name.
  constexpr std::size_t RecordLengthOffset = 16;
  constexpr std::size_t NameOffset = 19;
  for (;;) {
    long Filled = ReadDirectoryEntries(Fd, Buffer_, sizeof Buffer_);
    if (Filled <= 0) break;
    auto End = static_cast<std::size_t>(Filled);
    for (std::size_t At = 0; At + NameOffset < End;) {
      std::uint16_t RecordLength;
      std::memcpy(&RecordLength, Buffer_ + At + RecordLengthOffset, sizeof RecordLength);
      if (RecordLength <= NameOffset || RecordLength > End - At) break;
      const char* Name = reinterpret_cast<const char*>(Buffer_ + At + NameOffset);
      std::string_view Entry(Name, strnlen(Name, RecordLength - NameOffset));
      if (Entry != "." && Entry != "..") Visit(Entry);
      At += RecordLength;
    }
  }
}

}  // namespace gaugery
