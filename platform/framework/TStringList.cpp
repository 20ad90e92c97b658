#include "framework/TStringList.h"

#include "framework/Exceptions.h"
#include "framework/TextCompare.h"

namespace gaugery {

namespace {

// The text before the first "=", or the whole line without one.
std::string NameOf(const std::string& Line) { return Line.substr(0, Line.find('=')); }

}  // namespace

int TStringList::Add(const std::string& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  Lines_.push_back({S, AObject});
  return Count() - 1;
}

void TStringList::Insert(int Index, const std::string& S) {
  if (Index < 0 || Index > Count()) RaiseListIndexError(Index);
  Lines_.insert(Lines_.begin() + Index, Line{S, nullptr});
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Lines_.erase(Lines_.begin() + Index);
}

void TStringList::Clear() { Lines_.clear(); }

const std::string& TStringList::Strings(int Index) const {
  CheckIndex(Index);
  return Lines_[Index].Text;
}

void TStringList::SetStrings(int Index, const std::string& S) {
  CheckIndex(Index);
  Lines_[Index].Text = S;
}

TObject* TStringList::Objects(int Index) const {
  CheckIndex(Index);
  return Lines_[Index].Object;
}

void TStringList::SetObjects(int Index, TObject* AObject) {
  CheckIndex(Index);
  Lines_[Index].Object = AObject;
}

int TStringList::IndexOf(const std::string& S) const {
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(Lines_[I].Text, S)) return I;
  return -1;
}

int TStringList::IndexOfObject(const TObject* AObject) const {
  for (int I = 0; I < Count(); ++I)
    if (Lines_[I].Object == AObject) return I;
  return -1;
}

std::string TStringList::Names(int Index) const { return NameOf(Strings(Index)); }

std::string TStringList::ValueFromIndex(int Index) const {
  const std::string& Text = Strings(Index);
  const auto Equals = Text.find('=');
  return Equals == std::string::npos ? std::string() : Text.substr(Equals + 1);
}

int TStringList::IndexOfName(const std::string& Name) const {
  for (int I = 0; I < Count(); ++I)
    if (AnsiSameText(NameOf(Lines_[I].Text), Name)) return I;
  return -1;
}

std::string TStringList::Values(const std::string& Name) const {
  const int Index = IndexOfName(Name);
  return Index < 0 ? std::string() : ValueFromIndex(Index);
}

std::string TStringList::Text() const {
  std::string Result;
  for (const Line& L : Lines_) Result += L.Text + '\n';
  return Result;
}

void TStringList::Assign(TPersistent* Source) {
  auto* From = dynamic_cast<TStringList*>(Source);
  if (From == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (From != this) Lines_ = From->Lines_;
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) RaiseListIndexError(Index);
}

}  // namespace gaugery
