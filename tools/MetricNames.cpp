#include "MetricNames.h"

#include <algorithm>
#include <array>
#include <utility>

namespace gaugery::cli {

namespace {

bool IsAsciiAlnum(char C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9');
}

char AsciiLower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

bool EndsWithWords(const TWords& Words, std::initializer_list<std::string_view> Tail) {
  return Words.size() >= Tail.size() &&
         std::equal(Tail.begin(), Tail.end(), Words.end() - static_cast<long>(Tail.size()));
}

std::string Joined(const TWords& Words) {
  std::string Text;
  for (const std::string& Word : Words) Text += (Text.empty() ? "" : "_") + Word;
  return Text;
}

// "processor time" -> "cpu", the name Prometheus users know for it.
TWords WithCpu(TWords Words) {
  for (std::size_t I = 0; I + 1 < Words.size(); ++I) {
    if (Words[I] == "processor" && Words[I + 1] == "time") {
      Words[I] = "cpu";
      Words.erase(Words.begin() + static_cast<long>(I) + 1);
    }
  }
  return Words;
}

std::string_view WithoutPerSec(std::string_view Title) {
  constexpr std::string_view PerSec = "/sec";
  if (Title.size() >= PerSec.size() &&
      std::equal(PerSec.begin(), PerSec.end(), Title.end() - PerSec.size(),
                 [](char A, char B) { return A == AsciiLower(B); }))
    Title.remove_suffix(PerSec.size());
  return Title;
}

// The English plural of a word, by the common rules.
std::string Plural(std::string Word) {
  const auto EndsWith = [&](std::string_view Tail) { return Word.ends_with(Tail); };
  if (EndsWith("s") || EndsWith("x") || EndsWith("z") || EndsWith("ch") || EndsWith("sh"))
    return Word + "es";
  if (Word.size() > 1 && Word.back() == 'y' &&
      std::string_view("aeiou").find(Word[Word.size() - 2]) == std::string_view::npos)
    return Word.substr(0, Word.size() - 1) + "ies";
  return Word + "s";
}

}  // namespace

std::string_view UnitText(TMetricUnit Unit) {
  switch (Unit) {
    case TMetricUnit::Seconds:
      return "seconds";
    case TMetricUnit::Bytes:
      return "bytes";
    case TMetricUnit::Ratio:
      return "ratio";
    case TMetricUnit::None:
      break;
  }
  return {};
}

TWords TitleWords(std::string_view Title) {
  TWords Words;
  std::string Word;
  for (const char C : WithoutPerSec(Title)) {
    if (IsAsciiAlnum(C)) {
      Word += AsciiLower(C);
    } else if (!Word.empty()) {
      Words.push_back(std::move(Word));
      Word.clear();
    }
  }
  if (!Word.empty()) Words.push_back(std::move(Word));
  return WithCpu(std::move(Words));
}

TWords WithoutTrailingCount(TWords Words) {
  if (Words.size() < 2 || Words.back() != "count") return Words;
  Words.pop_back();
  Words.back() = Plural(std::move(Words.back()));
  return Words;
}

TWords WithoutTrailingTime(TWords Words) {
  if (Words.size() > 1 && Words.back() == "time") Words.pop_back();
  return Words;
}

TWords StartTimeWords(TWords Words) {
  for (const auto& Tail : {std::array<std::string_view, 2>{"elapsed", "time"},
                           std::array<std::string_view, 2>{"up", "time"}}) {
    if (EndsWithWords(Words, {Tail[0], Tail[1]})) {
      Words.resize(Words.size() - 2);
      break;
    }
  }
  if (!Words.empty() && Words.back() == "time") Words.pop_back();
  Words.insert(Words.end(), {"start", "time"});
  return Words;
}

TWords WithoutBytes(TWords Words) {
  Words.erase(std::remove(Words.begin(), Words.end(), "bytes"), Words.end());
  return Words;
}

bool CountsBytes(const TWords& TitleWords, std::string_view Help) {
  if (std::find(TitleWords.begin(), TitleWords.end(), "bytes") != TitleWords.end()) return true;
  constexpr std::string_view InBytes = "in bytes";
  return std::search(Help.begin(), Help.end(), InBytes.begin(), InBytes.end(),
                     [](char A, char B) { return AsciiLower(A) == B; }) != Help.end();
}

std::string MetricName(const TWords& Object, const TWords& Counter, TMetricUnit Unit) {
  std::string Name = "gaugery";
  for (const TWords* Part : {&Object, &Counter}) {
    if (!Part->empty()) Name += "_" + Joined(*Part);
  }
  if (Unit != TMetricUnit::None) Name += "_" + std::string(UnitText(Unit));
  return Name;
}

std::optional<std::string_view> InstanceLabelOf(std::string_view CounterTitle) {
  static constexpr std::pair<std::string_view, std::string_view> Labels[] = {
      {"ID Process", "process_id"}, {"ID Thread", "thread_id"}};
  for (const auto& [Title, Label] : Labels) {
    if (Title == CounterTitle) return Label;
  }
  return std::nullopt;
}

}  // namespace gaugery::cli
