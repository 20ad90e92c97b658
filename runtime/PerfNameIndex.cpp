#include "PerfNameIndex.h"

#include <algorithm>

#include "framework/TextCompare.h"

namespace gaugery {

namespace {

int Lookup(const std::unordered_map<std::string, int>& Positions, const std::string& Key) {
  auto Found = Positions.find(Key);
  return Found == Positions.end() ? -1 : Found->second;
}

}  // namespace

bool IsPlainDecimal(const std::string& S) {
  if (S.empty() || (S[0] == '0' && S.size() > 1)) return false;
  return std::all_of(S.begin(), S.end(), [](char C) { return C >= '0' && C <= '9'; });
}

void TTextIndex::Build(const TStringList& List) {
  FirstPositions_.clear();
  FirstPositions_.reserve(static_cast<std::size_t>(List.Count()));
  for (int I = 0; I < List.Count(); ++I) FirstPositions_.emplace(AnsiSortKey(List.Strings(I)), I);
}

int TTextIndex::IndexOf(const std::string& S) const {
  return Lookup(FirstPositions_, AnsiSortKey(S));
}

void TIndexTextIndex::Build(const TStringList& List) {
  List_ = &List;
  ByKey_.reset();
  FirstPositions_.clear();
  FirstPositions_.reserve(static_cast<std::size_t>(List.Count()));
  AllPlainDecimal_ = true;
  for (int I = 0; I < List.Count(); ++I) {
    const std::string& Line = List.Strings(I);
    AllPlainDecimal_ = AllPlainDecimal_ && IsPlainDecimal(Line);
    FirstPositions_.emplace(Line, I);
  }
  if (!AllPlainDecimal_) FirstPositions_.clear();
}

int TIndexTextIndex::IndexOf(const std::string& S) const {
  if (AllPlainDecimal_ && IsPlainDecimal(S)) return Lookup(FirstPositions_, S);
  return ByKey().IndexOf(S);
}

const TTextIndex& TIndexTextIndex::ByKey() const {
  if (!ByKey_) {
    ByKey_ = std::make_unique<TTextIndex>();
    if (List_ != nullptr) ByKey_->Build(*List_);
  }
  return *ByKey_;
}

}  // namespace gaugery
