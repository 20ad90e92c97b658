#include "MetricHelp.h"

#include <algorithm>

namespace gaugery::exposition {

namespace {

bool IsUpper(char C) { return C >= 'A' && C <= 'Z'; }
bool IsLower(char C) { return C >= 'a' && C <= 'z'; }

// "Processor" -> "processor"; "IO" and "DPC" stay.
std::string SentenceWord(std::string Word) {
  if (Word.size() > 1 && IsUpper(Word[0]) && !IsUpper(Word[1]))
    Word[0] = static_cast<char>(Word[0] - 'A' + 'a');
  return Word;
}

std::string Capitalized(std::string Text) {
  if (!Text.empty() && IsLower(Text[0])) Text[0] = static_cast<char>(Text[0] - 'a' + 'A');
  return Text;
}

std::string Quoted(std::string_view Text) { return "\"" + std::string(Text) + "\""; }

std::string Sentence(THelpKind Kind, const THelpSubject& S) {
  const std::string Of = " of the " + std::string(S.Object);
  const std::string Counter = "counter " + Quoted(S.Counter);
  const std::string Phrase = TitlePhrase(S.Counter);
  const std::string Words(S.Words);
  const std::string Partner(S.Partner);
  switch (Kind) {
    case THelpKind::Gauge:
      return Capitalized(Phrase) + Of + " at the sample (" + Counter + ").";
    case THelpKind::Bytes:
      return Capitalized(Phrase) + Of + " at the sample, in bytes (" + Counter + ").";
    case THelpKind::Count:
      return Capitalized(Phrase) + Of + ", counted since it started (" + Counter +
             (S.Counter.ends_with("/sec") ? " shows its rate)." : ").");
    case THelpKind::ByteCount:
      return Capitalized(Phrase) + Of + ", in bytes counted since it started (" + Counter +
             " shows their rate).";
    case THelpKind::Time:
      return Capitalized(Words.empty() ? Phrase : Words + " time") + Of +
             ", in seconds, summed since it started (" + Counter +
             " shows it as a percentage of the elapsed time).";
    case THelpKind::OutsideTime:
      return Capitalized(Words) + " time" + Of +
             ", in seconds, summed since it started: the time " + Counter +
             " does not count (it shows the rest as a percentage of the elapsed time).";
    case THelpKind::Ratio:
      return Capitalized(Phrase) + Of + " as a ratio from 0 to 1 (" + Counter +
             " shows it as a percentage).";
    case THelpKind::Numerator:
      return "Numerator of " + Counter + Of + ", counted since it started: its rate over that of " +
             Partner + " is the fraction the counter shows.";
    case THelpKind::Denominator:
      return "Denominator of " + Counter + Of + ", counted since it started: the rate of " +
             Partner + " over this one's is the fraction the counter shows.";
    case THelpKind::AveragedTime:
      return "Time the " + Words + Of +
             " took, in seconds, summed since it started: its rate over that of " + Partner +
             " is the seconds per operation that " + Counter + " shows.";
    case THelpKind::Operations:
      return Capitalized(Words) + Of + ", counted since it started: the operations that " +
             Counter + " averages over.";
    case THelpKind::QueueTime:
      return Capitalized(Phrase) + Of + " summed over time, in seconds: its rate is the average " +
             Phrase + " that " + Counter + " shows.";
    case THelpKind::StartTime:
      return "Start time" + Of + ", in seconds since the Unix epoch (" + Counter +
             " shows the time since then).";
  }
  return {};
}

}  // namespace

std::string TitlePhrase(std::string_view Title) {
  while (!Title.empty() && (Title.front() == '%' || Title.front() == ' ')) Title.remove_prefix(1);
  if (Title.ends_with("/sec")) Title.remove_suffix(4);
  std::string Phrase;
  std::size_t Start = 0;
  while (Start <= Title.size()) {
    const std::size_t End = std::min(Title.find(' ', Start), Title.size());
    const std::string Word(Title.substr(Start, End - Start));
    if (!Word.empty()) Phrase += (Phrase.empty() ? "" : " ") + SentenceWord(Word);
    Start = End + 1;
  }
  return Phrase;
}

std::string MetricHelp(THelpKind Kind, const THelpSubject& Subject, std::string_view TableText) {
  std::string Help = Sentence(Kind, Subject);
  if (!TableText.empty() && TableText != Subject.Counter) Help += " " + std::string(TableText);
  return Help;
}

}  // namespace gaugery::exposition
