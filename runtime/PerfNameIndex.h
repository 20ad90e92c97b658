// Hash indexes over the lines of a loaded name table. Each answers "the first position
// whose line equals S ignoring case, or -1" exactly as a linear AnsiCompareText search
// from the first line would, without scanning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/LibraryExport.h"
#include "framework/TStringList.h"

namespace gaugery {

// The first position of each line that equals no earlier line, in an open-addressing
// table of (hash, position) slots reserved once. Lines that Same calls equal must get
// equal hashes; lines with equal hashes are told apart by Same, so the answers do not
// depend on the hash being free of collisions.
class GAUGERY_RUNTIME_API TFirstPositionTable {
 public:
  using THashFunction = std::uint64_t (*)(const std::string&);
  using TSameFunction = bool (*)(const std::string&, const std::string&);

  TFirstPositionTable(THashFunction AHash, TSameFunction ASame) : Hash_(AHash), Same_(ASame) {}

  // Indexes every line of List, replacing what was indexed before. List must outlive
  // the table and not change any more.
  void Build(const TStringList& List);
  int IndexOf(const std::string& S) const;

 private:
  struct TSlot {
    std::uint64_t Hash = 0;
    int Position = -1;  // -1: empty
  };

  // The slot that holds the position of a line equal to S (hashed to Hash), or the
  // empty slot where it would go.
  std::size_t SlotOf(const std::string& S, std::uint64_t Hash) const;

  THashFunction Hash_;
  TSameFunction Same_;
  const TStringList* List_ = nullptr;
  std::vector<TSlot> Slots_;  // a power of two of them, or none
};

// Texts hashed by AnsiTextHash and told apart by AnsiCompareText.
class GAUGERY_RUNTIME_API TTextIndex {
 public:
  TTextIndex();
  // Indexes every line of List, replacing what was indexed before. List must outlive
  // this index and not change any more.
  void Build(const TStringList& List) { Table_.Build(List); }
  int IndexOf(const std::string& S) const { return Table_.IndexOf(S); }

 private:
  TFirstPositionTable Table_;
};

// Index texts. The loader writes them in plain decimal, and a probe in plain decimal
// can equal such a line only when it is the very same text, so those probes are
// answered by comparing bytes. Other probes ("007", "", "x", ...) go through a
// TTextIndex, built on the first of them; so does everything when a line is not in
// plain decimal.
class GAUGERY_RUNTIME_API TIndexTextIndex {
 public:
  TIndexTextIndex();
  // Indexes every line of List and keeps List for the text index; List must outlive
  // this index and not change any more.
  void Build(const TStringList& List);
  int IndexOf(const std::string& S) const;

 private:
  const TTextIndex& ByText() const;

  const TStringList* List_ = nullptr;
  TFirstPositionTable ByBytes_;
  bool AllPlainDecimal_ = true;
  mutable std::unique_ptr<TTextIndex> ByText_;
};

// "0", or digits 0 to 9 without a leading zero: the form in which the loader writes
// index texts.
GAUGERY_RUNTIME_API bool IsPlainDecimal(const std::string& S);

}  // namespace gaugery
