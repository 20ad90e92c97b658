// The bytes of a counter log as its reader sees them: a file, or bytes in memory (for
// tests and the fuzz target). Small reads near each other are served from one window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/WinTypes.h"

namespace gaugery::counterlog {

class TLogSource {
 public:
  virtual ~TLogSource() = default;
  // The size when the source was opened.
  virtual std::uint64_t Size() const = 0;
  // Copies Length bytes from At; false when they do not all lie inside Size.
  virtual bool Read(std::uint64_t At, void* Into, std::size_t Length) = 0;
  // What the source is called in messages.
  virtual const std::string& Name() const = 0;
};

// Exception "Cannot read counter log "FILE": reason" when File cannot be opened.
std::unique_ptr<TLogSource> OpenLogFile(const std::string& File);
std::unique_ptr<TLogSource> LogInMemory(std::vector<BYTE> Bytes, std::string Name);

}  // namespace gaugery::counterlog
