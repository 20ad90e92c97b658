#include "TimePrompt.h"

#include <string_view>

namespace gaugery::cli {

namespace {

// Longer than any time the parser takes, so that a held key cannot grow the line for ever.
constexpr std::size_t LongestTime = 40;

bool WritesTime(const std::string& Text) {
  constexpr std::string_view TimeCharacters = "0123456789:-+.TZ ";
  return Text.size() == 1 && TimeCharacters.find(Text.front()) != std::string_view::npos;
}

}  // namespace

void TTimePrompt::Begin() {
  Open_ = true;
  Text_.clear();
}

TTimePrompt::TOutcome TTimePrompt::Apply(const TKeyPress& Key) {
  switch (Key.Key) {
    case TKey::Char:
      if (WritesTime(Key.Text) && Text_.size() < LongestTime) Text_ += Key.Text;
      return TOutcome::Editing;
    case TKey::Backspace:
      if (!Text_.empty()) Text_.pop_back();
      return TOutcome::Editing;
    case TKey::Enter:
      Open_ = false;
      return Text_.empty() ? TOutcome::Cancelled : TOutcome::Entered;
    case TKey::Escape:
      Open_ = false;
      return TOutcome::Cancelled;
    default:
      return TOutcome::Editing;
  }
}

}  // namespace gaugery::cli
