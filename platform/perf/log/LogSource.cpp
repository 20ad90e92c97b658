#include "perf/log/LogSource.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "framework/Exceptions.h"
#include "framework/Utf8File.h"

namespace gaugery::counterlog {

namespace {

constexpr std::size_t kWindowSize = 64 * 1024;

bool Inside(std::uint64_t At, std::size_t Length, std::uint64_t Size) {
  return At <= Size && Length <= Size - At;
}

class TMemorySource : public TLogSource {
 public:
  TMemorySource(std::vector<BYTE> Bytes, std::string Name)
      : Bytes_(std::move(Bytes)), Name_(std::move(Name)) {}
  std::uint64_t Size() const override { return Bytes_.size(); }
  bool Read(std::uint64_t At, void* Into, std::size_t Length) override {
    if (!Inside(At, Length, Bytes_.size())) return false;
    if (Length != 0) std::memcpy(Into, Bytes_.data() + At, Length);
    return true;
  }
  const std::string& Name() const override { return Name_; }

 private:
  std::vector<BYTE> Bytes_;
  std::string Name_;
};

int SeekTo(std::FILE* Stream, std::uint64_t At) {
#if defined(_WIN32)
  return _fseeki64(Stream, static_cast<__int64>(At), SEEK_SET);
#else
  return fseeko(Stream, static_cast<off_t>(At), SEEK_SET);
#endif
}

std::uint64_t FileSize(std::FILE* Stream) {
#if defined(_WIN32)
  if (_fseeki64(Stream, 0, SEEK_END) != 0) return 0;
  return static_cast<std::uint64_t>(_ftelli64(Stream));
#else
  if (fseeko(Stream, 0, SEEK_END) != 0) return 0;
  return static_cast<std::uint64_t>(ftello(Stream));
#endif
}

class TFileSource : public TLogSource {
 public:
  explicit TFileSource(const std::string& File) : Name_(File) {
    Stream_ = OpenUtf8File(File, "rb");
    if (Stream_ == nullptr) {
      throw Exception("Cannot read counter log \"" + File + "\": " + std::strerror(errno));
    }
    Size_ = FileSize(Stream_);
  }
  ~TFileSource() override { std::fclose(Stream_); }
  TFileSource(const TFileSource&) = delete;
  TFileSource& operator=(const TFileSource&) = delete;

  std::uint64_t Size() const override { return Size_; }
  const std::string& Name() const override { return Name_; }

  bool Read(std::uint64_t At, void* Into, std::size_t Length) override {
    if (!Inside(At, Length, Size_)) return false;
    if (Length > kWindowSize) return ReadDirect(At, Into, Length);
    if (At < WindowAt_ || At + Length > WindowAt_ + Window_.size()) {
      if (!Fill(At)) return false;
    }
    if (Length != 0) std::memcpy(Into, Window_.data() + (At - WindowAt_), Length);
    return true;
  }

 private:
  bool ReadDirect(std::uint64_t At, void* Into, std::size_t Length) {
    return SeekTo(Stream_, At) == 0 && std::fread(Into, 1, Length, Stream_) == Length;
  }

  bool Fill(std::uint64_t At) {
    Window_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kWindowSize, Size_ - At)));
    WindowAt_ = At;
    if (ReadDirect(At, Window_.data(), Window_.size())) return true;
    Window_.clear();
    return false;
  }

  std::string Name_;
  std::FILE* Stream_ = nullptr;
  std::uint64_t Size_ = 0;
  std::vector<BYTE> Window_;
  std::uint64_t WindowAt_ = 0;
};

}  // namespace

std::unique_ptr<TLogSource> OpenLogFile(const std::string& File) {
  return std::make_unique<TFileSource>(File);
}

std::unique_ptr<TLogSource> LogInMemory(std::vector<BYTE> Bytes, std::string Name) {
  return std::make_unique<TMemorySource>(std::move(Bytes), std::move(Name));
}

}  // namespace gaugery::counterlog
