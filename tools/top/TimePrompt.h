// The line on which `gaugery top` asks for a time of a counter log to go to: it takes the
// characters a time is written with ("2026-12-08T03:00:30.5+01:00", "03:00"), Backspace,
// Enter to go and Escape to cancel, and ignores every other key.
#pragma once

#include <string>

#include "KeyInput.h"

namespace gaugery::cli {

class TTimePrompt {
 public:
  enum class TOutcome { Editing, Entered, Cancelled };

  bool Open() const { return Open_; }
  // The time typed so far.
  const std::string& Text() const { return Text_; }

  // Opens the prompt, empty.
  void Begin();
  // Applies a key while the prompt is open. Enter closes it with the text kept (on an
  // empty text it cancels), Escape closes it and cancels.
  TOutcome Apply(const TKeyPress& Key);

 private:
  bool Open_ = false;
  std::string Text_;
};

}  // namespace gaugery::cli
