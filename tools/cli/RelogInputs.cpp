#include "RelogInputs.h"

#include <iostream>
#include <utility>

namespace gaugery::cli {

void PrintRelogWarnings(TCounterLogReader& Reader) {
  for (const std::string& Warning : Reader.TakeWarnings())
    std::cerr << "gaugery relog: warning: " << Warning << "\n";
}

// One input log and its next entry.
struct TRelogInputs::TInput {
  explicit TInput(const std::string& File) : Reader(File) {
    PrintRelogWarnings(Reader);
    Advance();
  }

  void Advance() {
    HasNext = Reader.Next(Next);
    PrintRelogWarnings(Reader);
  }

  TCounterLogReader Reader;
  TLogEntry Next;
  bool HasNext = false;
};

TRelogInputs::TRelogInputs(const std::vector<std::string>& Files) {
  for (const std::string& File : Files) Inputs_.push_back(std::make_unique<TInput>(File));
}

TRelogInputs::~TRelogInputs() = default;

const TLogMachine& TRelogInputs::Machine() const { return Inputs_.front()->Reader.Machine(); }

const TLogNames& TRelogInputs::Names() const { return Inputs_.front()->Reader.Names(); }

std::int64_t TRelogInputs::FirstTime() const {
  const TInput& First = *Inputs_.front();
  return First.HasNext ? First.Next.Time : First.Reader.Machine().StartTime;
}

void TRelogInputs::Choose(const TSampleChoice& Choice) { Choice_ = Choice; }

TRelogInputs::TInput* TRelogInputs::Earliest() {
  TInput* Found = nullptr;
  for (const std::unique_ptr<TInput>& Input : Inputs_) {
    if (Input->HasNext && (Found == nullptr || Input->Next.Time < Found->Next.Time))
      Found = Input.get();
  }
  return Found;
}

bool TRelogInputs::Next(TLogEntry& Entry) {
  while (TInput* Input = Earliest()) {
    const bool Inside = Input->Next.Time >= Choice_.Begin && Input->Next.Time <= Choice_.End;
    const bool Kept = Inside && (Input->Next.Kind == TLogEntry::TKind::Gap ||
                                 SamplesSeen_++ % Choice_.Every == 0);
    if (Kept) Entry = std::move(Input->Next);
    Input->Advance();
    if (Kept) return true;
  }
  return false;
}

bool TRelogInputs::NextSample(TLogEntry& Entry) {
  while (Next(Entry)) {
    if (Entry.Kind == TLogEntry::TKind::Sample) return true;
  }
  return false;
}

}  // namespace gaugery::cli
