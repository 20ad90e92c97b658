// Text on a Windows console. The program writes UTF-8; a console shows bytes in its own
// code page, and the C run-time's console writes convert them once more. While a
// TConsoleText lives, std::cout and std::cerr that are consoles write UTF-16 through the
// console's own function instead, which shows every character whatever the code page.
// Elsewhere nothing changes.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace gaugery::cli {

// The length of Bytes without an incomplete UTF-8 sequence at its end, which has to wait
// for the rest of its bytes before it can be converted.
std::size_t CompleteUtf8Length(std::string_view Bytes);

class TConsoleText {
 public:
  TConsoleText();
  ~TConsoleText();
  TConsoleText(const TConsoleText&) = delete;
  TConsoleText& operator=(const TConsoleText&) = delete;

  // Whether std::cout writes to a console as UTF-16 now.
  static bool WritesStandardOutput();

 private:
  struct TStreams;
  std::unique_ptr<TStreams> Streams_;
};

}  // namespace gaugery::cli
