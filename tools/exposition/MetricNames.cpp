#include "MetricNames.h"

#include <algorithm>
#include <array>
#include <utility>

namespace gaugery::exposition {

namespace {

bool IsAsciiLower(char C) { return C >= 'a' && C <= 'z'; }
bool IsAsciiUpper(char C) { return C >= 'A' && C <= 'Z'; }
bool IsAsciiAlnum(char C) { return IsAsciiLower(C) || IsAsciiUpper(C) || (C >= '0' && C <= '9'); }

char AsciiLower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

bool Contains(const TWords& Words, std::string_view Word) {
  return std::find(Words.begin(), Words.end(), Word) != Words.end();
}

bool ContainsText(std::string_view Text, std::string_view Part) {
  return std::search(Text.begin(), Text.end(), Part.begin(), Part.end(),
                     [](char A, char B) { return AsciiLower(A) == B; }) != Text.end();
}

bool EndsWithWords(const TWords& Words, std::initializer_list<std::string_view> Tail) {
  return Words.size() >= Tail.size() &&
         std::equal(Tail.begin(), Tail.end(), Words.end() - static_cast<long>(Tail.size()));
}

std::string Joined(const TWords& Words, std::string_view Separator) {
  std::string Text;
  for (const std::string& Word : Words) Text += (Text.empty() ? "" : std::string(Separator)) + Word;
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

// Abbreviations of titles, written out: Prometheus names spell words in full.
std::string WrittenOut(std::string Word) {
  static constexpr std::pair<std::string_view, std::string_view> Abbreviations[] = {
      {"avg", "average"}, {"allocs", "allocations"}, {"max", "maximum"},  {"min", "minimum"},
      {"num", "number"},  {"sec", "seconds"},        {"secs", "seconds"}, {"pct", "percent"}};
  for (const auto& [Short, Long] : Abbreviations) {
    if (Word == Short) return std::string(Long);
  }
  return Word;
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

// The factor of a word that names a quantity of bytes.
std::optional<double> ByteWordFactor(std::string_view Word) {
  static constexpr std::pair<std::string_view, double> Units[] = {{"bytes", 1},
                                                                  {"kbytes", 1024.0},
                                                                  {"kilobytes", 1024.0},
                                                                  {"mbytes", 1048576.0},
                                                                  {"megabytes", 1048576.0},
                                                                  {"gbytes", 1073741824.0},
                                                                  {"gigabytes", 1073741824.0}};
  for (const auto& [Unit, Factor] : Units) {
    if (Word == Unit) return Factor;
  }
  return std::nullopt;
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
  const auto EndWord = [&] {
    if (!Word.empty()) Words.push_back(WrittenOut(std::move(Word)));
    Word.clear();
  };
  char Before = ' ';
  for (const char C : WithoutPerSec(Title)) {
    if (!IsAsciiAlnum(C) || (IsAsciiUpper(C) && IsAsciiLower(Before))) EndWord();
    if (IsAsciiAlnum(C)) Word += AsciiLower(C);
    Before = C;
  }
  EndWord();
  return WithCpu(std::move(Words));
}

std::optional<TWords> ExceptionalWords(std::string_view CounterTitle) {
  // "% Disk Time" is the time a disk was busy; "Creating Process ID" names the parent.
  static const std::pair<std::string_view, TWords> Exceptions[] = {
      {"% Disk Time", {"busy"}}, {"Creating Process ID", {"parent", "id"}}};
  for (const auto& [Title, Words] : Exceptions) {
    if (Title == CounterTitle) return Words;
  }
  return std::nullopt;
}

TWords WithoutObjectWords(TWords Words, const TWords& Object) {
  TWords Kept;
  std::copy_if(Words.begin(), Words.end(), std::back_inserter(Kept),
               [&](const std::string& Word) { return !Contains(Object, Word); });
  return Kept.empty() ? Words : Kept;
}

TWords WithoutTrailingCount(TWords Words) {
  if (Words.size() < 2 || Words.back() != "count") return Words;
  Words.pop_back();
  return WithPluralEnd(std::move(Words));
}

TWords WithoutTrailingTime(TWords Words) {
  if (Words.size() > 1 && Words.back() == "time") Words.pop_back();
  return Words;
}

TWords WithoutTotal(TWords Words) {
  std::erase(Words, "total");
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

TWords ComplementWords(TWords Words) {
  if (Words == TWords{"cpu"}) return {"idle"};
  if (Words == TWords{"idle"}) return {"busy"};
  if (Words == TWords{"busy"}) return {"idle"};
  Words.insert(Words.begin(), "not");
  return Words;
}

TWords AveragedWords(TWords Words, const TWords& Object) {
  std::erase_if(Words, [&](const std::string& Word) {
    return Word == "average" || Word == "seconds" || Word == "time" || Contains(Object, Word);
  });
  return Words.empty() ? TWords{"operation"} : Words;
}

TWords WithPluralEnd(TWords Words) {
  if (!Words.empty()) Words.back() = Plural(std::move(Words.back()));
  return Words;
}

std::optional<TByteQuantity> ByteQuantityOf(const TWords& TitleWords, std::string_view Help) {
  for (std::size_t I = 0; I < TitleWords.size(); ++I) {
    if (const std::optional<double> Factor = ByteWordFactor(TitleWords[I])) {
      TWords Words = TitleWords;
      Words.erase(Words.begin() + static_cast<long>(I));
      return TByteQuantity{std::move(Words), *Factor};
    }
  }
  if (ContainsText(Help, "in bytes")) return TByteQuantity{TitleWords, 1};
  if (ContainsText(Help, "in bits per second")) return TByteQuantity{TitleWords, 1.0 / 8};
  return std::nullopt;
}

bool IsCumulativeCount(std::string_view CounterTitle) {
  static constexpr std::string_view Cumulative[] = {
      "Packets Received Errors", "Packets Received Discarded", "Packets Outbound Errors",
      "Packets Outbound Discarded", "Packets Received Unknown"};
  return std::find(std::begin(Cumulative), std::end(Cumulative), CounterTitle) !=
         std::end(Cumulative);
}

std::string MetricName(const TWords& Object, const TWords& Counter, TMetricUnit Unit) {
  std::string Name = "gaugery";
  for (const TWords* Part : {&Object, &Counter}) {
    if (!Part->empty()) Name += "_" + Joined(*Part, "_");
  }
  if (Unit != TMetricUnit::None) Name += "_" + std::string(UnitText(Unit));
  return Name;
}

std::string SpacedWords(const TWords& Words) { return Joined(Words, " "); }

std::optional<std::string_view> InstanceLabelOf(std::string_view CounterTitle) {
  static constexpr std::pair<std::string_view, std::string_view> Labels[] = {
      {"ID Process", "process_id"}, {"ID Thread", "thread_id"}};
  for (const auto& [Title, Label] : Labels) {
    if (Title == CounterTitle) return Label;
  }
  return std::nullopt;
}

}  // namespace gaugery::exposition
