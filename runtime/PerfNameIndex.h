// Hash indexes over the lines of a loaded name table. Each answers "the first position
// whose line equals S ignoring case, or -1" exactly as a linear AnsiCompareText search
// from the first line would, without scanning.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "framework/TStringList.h"

namespace gaugery {

// Texts keyed by their AnsiSortKey, so that texts the comparison calls equal share one
// key and only the first position of each is kept.
class TTextIndex {
 public:
  // Indexes every line of List, replacing what was indexed before.
  void Build(const TStringList& List);
  int IndexOf(const std::string& S) const;

 private:
  std::unordered_map<std::string, int> FirstPositions_;
};

// Index texts. The loader writes them in plain decimal, and a probe in plain decimal
// can equal such a line only when it is the very same text, so those probes are
// answered from the texts themselves without computing any sort key. Other probes
// ("007", "", full-width digits, ...) go through a TTextIndex, built on the first of
// them; so does everything when a line is not in plain decimal.
class TIndexTextIndex {
 public:
  // Indexes every line of List and keeps List for the sort-key index; List must
  // outlive this index and not change any more.
  void Build(const TStringList& List);
  int IndexOf(const std::string& S) const;

 private:
  const TTextIndex& ByKey() const;

  const TStringList* List_ = nullptr;
  std::unordered_map<std::string, int> FirstPositions_;
  bool AllPlainDecimal_ = true;
  mutable std::unique_ptr<TTextIndex> ByKey_;
};

// "0", or digits 0 to 9 without a leading zero: the form in which the loader writes
// index texts.
bool IsPlainDecimal(const std::string& S);

}  // namespace gaugery
