#include "PerfNameIndex.h"

#include <algorithm>
#include <bit>
#include <functional>

#include "framework/TextCompare.h"

namespace gaugery {

namespace {

// At most two thirds of the slots in use, so that probe runs stay short and one slot
// at least is always empty.
std::size_t SlotCountFor(int LineCount) {
  if (LineCount == 0) return 0;
  return std::bit_ceil(static_cast<std::size_t>(LineCount) * 3 / 2 + 1);
}

std::uint64_t HashOfBytes(const std::string& S) { return std::hash<std::string>{}(S); }

bool SameBytes(const std::string& S1, const std::string& S2) { return S1 == S2; }

}  // namespace

void TFirstPositionTable::Build(const TStringList& List) {
  List_ = &List;
  Slots_.assign(SlotCountFor(List.Count()), TSlot());
  for (int I = 0; I < List.Count(); ++I) {
    const std::string& Line = List.Strings(I);
    const std::uint64_t Hash = Hash_(Line);
    TSlot& Slot = Slots_[SlotOf(Line, Hash)];
    if (Slot.Position < 0) Slot = {Hash, I};
  }
}

int TFirstPositionTable::IndexOf(const std::string& S) const {
  if (Slots_.empty()) return -1;
  return Slots_[SlotOf(S, Hash_(S))].Position;
}

std::size_t TFirstPositionTable::SlotOf(const std::string& S, std::uint64_t Hash) const {
  const std::size_t Mask = Slots_.size() - 1;
  for (std::size_t I = Hash & Mask;; I = (I + 1) & Mask) {
    const TSlot& Slot = Slots_[I];
    if (Slot.Position < 0) return I;
    if (Slot.Hash == Hash && Same_(List_->Strings(Slot.Position), S)) return I;
  }
}

bool IsPlainDecimal(const std::string& S) {
  if (S.empty() || (S[0] == '0' && S.size() > 1)) return false;
  return std::all_of(S.begin(), S.end(), [](char C) { return C >= '0' && C <= '9'; });
}

TTextIndex::TTextIndex() : Table_(AnsiTextHash, AnsiSameText) {}

TIndexTextIndex::TIndexTextIndex() : ByBytes_(HashOfBytes, SameBytes) {}

void TIndexTextIndex::Build(const TStringList& List) {
  List_ = &List;
  ByText_.reset();
  AllPlainDecimal_ = true;
  for (int I = 0; I < List.Count() && AllPlainDecimal_; ++I)
    AllPlainDecimal_ = IsPlainDecimal(List.Strings(I));
  ByBytes_.Build(List);
}

int TIndexTextIndex::IndexOf(const std::string& S) const {
  if (AllPlainDecimal_ && IsPlainDecimal(S)) return ByBytes_.IndexOf(S);
  return ByText().IndexOf(S);
}

const TTextIndex& TIndexTextIndex::ByText() const {
  if (!ByText_) {
    ByText_ = std::make_unique<TTextIndex>();
    if (List_ != nullptr) ByText_->Build(*List_);
  }
  return *ByText_;
}

}  // namespace gaugery
