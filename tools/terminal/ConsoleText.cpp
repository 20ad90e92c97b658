#include "ConsoleText.h"

#include <algorithm>

namespace gaugery::cli {

std::size_t CompleteUtf8Length(std::string_view Bytes) {
  const std::size_t Size = Bytes.size();
  for (std::size_t Back = 1; Back <= std::min<std::size_t>(Size, 4); ++Back) {
    const auto Byte = static_cast<unsigned char>(Bytes[Size - Back]);
    if ((Byte & 0xC0) == 0x80) continue;  // a continuation byte
    // Bytes from 0xF8 start no sequence: the conversion replaces them on their own.
    const std::size_t Length =
        Byte >= 0xF8 ? 1 : Byte >= 0xF0 ? 4 : Byte >= 0xE0 ? 3 : Byte >= 0xC0 ? 2 : 1;
    return Length > Back ? Size - Back : Size;
  }
  return Size;
}

}  // namespace gaugery::cli

#ifdef _WIN32

#include <array>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <string>

#include "framework/Unicode.h"
#include "framework/WindowsApi.h"

namespace gaugery::cli {

namespace {

// A stream buffer that writes its UTF-8 to a console as UTF-16.
class TConsoleBuffer : public std::streambuf {
 public:
  explicit TConsoleBuffer(HANDLE Console) : Console_(Console) {
    setp(Bytes_.data(), Bytes_.data() + Bytes_.size());
  }

 protected:
  int_type overflow(int_type Char) override {
    if (!Flush()) return traits_type::eof();
    if (traits_type::eq_int_type(Char, traits_type::eof())) return traits_type::not_eof(Char);
    *pptr() = traits_type::to_char_type(Char);
    pbump(1);
    return Char;
  }

  int sync() override { return Flush() ? 0 : -1; }

 private:
  bool Flush() {
    const auto Size = static_cast<std::size_t>(pptr() - pbase());
    const std::size_t Complete = CompleteUtf8Length({pbase(), Size});
    const WideString Text = ToWide(std::string(pbase(), Complete));
    DWORD Written = 0;
    const bool Wrote = Text.empty() || WriteConsoleW(Console_, Text.data(),
                                                     static_cast<DWORD>(Text.size()), &Written,
                                                     nullptr) != 0;
    std::memmove(pbase(), pbase() + Complete, Size - Complete);
    setp(Bytes_.data(), Bytes_.data() + Bytes_.size());
    pbump(static_cast<int>(Size - Complete));
    return Wrote;
  }

  HANDLE Console_;
  std::array<char, 4096> Bytes_{};
};

// One standard stream redirected to its console while the object lives.
class TConsoleStream {
 public:
  TConsoleStream(std::ostream& Stream, DWORD StandardHandle)
      : Stream_(Stream), Buffer_(GetStdHandle(StandardHandle)) {
    DWORD Mode;
    if (!GetConsoleMode(GetStdHandle(StandardHandle), &Mode)) return;
    Stream_.flush();
    Saved_ = Stream_.rdbuf(&Buffer_);
  }
  ~TConsoleStream() {
    if (Saved_ == nullptr) return;
    Stream_.flush();
    Stream_.rdbuf(Saved_);
  }
  TConsoleStream(const TConsoleStream&) = delete;
  TConsoleStream& operator=(const TConsoleStream&) = delete;

 private:
  std::ostream& Stream_;
  TConsoleBuffer Buffer_;
  std::streambuf* Saved_ = nullptr;
};

}  // namespace

struct TConsoleText::TStreams {
  TConsoleStream Output{std::cout, STD_OUTPUT_HANDLE};
  TConsoleStream Error{std::cerr, STD_ERROR_HANDLE};
};

TConsoleText::TConsoleText() : Streams_(std::make_unique<TStreams>()) {}

TConsoleText::~TConsoleText() = default;

bool TConsoleText::WritesStandardOutput() {
  return dynamic_cast<TConsoleBuffer*>(std::cout.rdbuf()) != nullptr;
}

}  // namespace gaugery::cli

#else

namespace gaugery::cli {

struct TConsoleText::TStreams {};

TConsoleText::TConsoleText() = default;

TConsoleText::~TConsoleText() = default;

bool TConsoleText::WritesStandardOutput() { return false; }

}  // namespace gaugery::cli

#endif
