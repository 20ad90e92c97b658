// What the commands that show performance data say about a sample that could not be
// taken whole: a refused block or no data at all ends the command, a block cut short
// is reported on standard error.
#pragma once

#include <string>

namespace gaugery {
class TPerfData;
}  // namespace gaugery

namespace gaugery::cli {

struct TSampleNotice {
  // False when the latest refresh gave nothing to show: the block was refused, or no
  // block came.
  bool Usable = true;
  // Why it is not usable, or what was cut off; empty for a whole block.
  std::string Message;
};

// The notice of the latest refresh of Data.
TSampleNotice LatestSampleNotice(const TPerfData& Data);

// Raises Exception with the message of an unusable latest sample. The message of a
// block cut short goes to standard error ("gaugery: warning: ..."), once per distinct
// message, so that a command that samples every second does not repeat it.
void CheckLatestSample(const TPerfData& Data);

// The shared snapshot of a computer ("" for this one), held for the time of a command
// so that every component the command makes shares its sample; the first sample is
// checked with CheckLatestSample.
class TSharedSample {
 public:
  explicit TSharedSample(const std::string& ComputerName);
  ~TSharedSample();
  TSharedSample(const TSharedSample&) = delete;
  TSharedSample& operator=(const TSharedSample&) = delete;

  TPerfData& Data() const { return *Data_; }

 private:
  TPerfData* Data_;
};

}  // namespace gaugery::cli
