// The name catalogue: the installed locales, and the title and help tables that
// translate between title indexes and localized texts. The loaded contents of a table
// are shared process-wide, one reference-counted TPerfInfoData per computer, locale
// and value name.
#pragma once

#include <cstdint>
#include <string>

#include "PerfNameIndex.h"
#include "framework/LibraryExport.h"
#include "framework/TComponent.h"
#include "framework/TList.h"
#include "framework/TStringList.h"

namespace gaugery {

// The locales whose name tables the local computer stores, in registry order. The
// Perflib key is read on the first call only; every call refills and returns the
// same process-wide list, so callers copy what they need before the next call.
// Raises Exception with the system's text when enumerating the locales fails.
GAUGERY_RUNTIME_API TStringList* Locales();

// Loads the value ValueName ("Counter" or "Help") of a locale into Target as lines
// "<index>=<text>", leaving out pairs whose text is blank.
GAUGERY_RUNTIME_API void GetPerfInfoStrings(const std::string& Locale, const std::string& ValueName,
                                            TStringList* Target, const std::string& ComputerName);

// The loaded contents of one value of one locale of one computer.
class GAUGERY_RUNTIME_API TPerfInfoData : public TObject {
 public:
  std::string Locale;
  std::string KeyName;       // "Counter" or "Help"
  std::string ComputerName;  // empty for the local computer
  TStringList Idx;           // the index of each entry, as decimal text
  TStringList Items;         // the text of each entry
  std::int32_t RefCount = 0;

  // Fills an empty entry from loaded "<index>=<text>" lines: one entry per line, whose
  // text is that of the first line with the same index. Builds the lookup indexes.
  void Fill(const TStringList& Lines);

  // First position whose text (index text) equals S ignoring case, or -1: the answer
  // of a linear AnsiCompareText search, taken from a hash index.
  int IndexOfItem(const std::string& S) const { return ItemIndex_.IndexOf(S); }
  int IndexOfIdx(const std::string& S) const { return IdxIndex_.IndexOf(S); }

 private:
  TTextIndex ItemIndex_;
  TIndexTextIndex IdxIndex_;
};

// The shared cache: finds the entry for the three names (ignoring case) or loads a
// new one, and counts one more reference to it. Loading errors propagate and leave
// the cache as it was.
GAUGERY_RUNTIME_API TPerfInfoData* AcquirePerfInfoData(const std::string& Locale,
                                                       const std::string& KeyName,
                                                       const std::string& ComputerName);
// Drops one reference (nothing for null) and clears the caller's variable; the last
// reference frees the entry, the last entry the cache.
GAUGERY_RUNTIME_API void ReleasePerfInfoData(TPerfInfoData*& Data);
// The cache list, or null while no entry exists.
GAUGERY_RUNTIME_API TList* PerfInfoDataCache();

// The common base of the title and help tables.
class GAUGERY_RUNTIME_API TPerfInfo : public TComponent {
 public:
  // Takes a copy of the installed locales and the first of them; EListError when
  // none is installed.
  explicit TPerfInfo(TComponent* AOwner);
  ~TPerfInfo() override;

  // Acquires the contents now instead of at the first lookup.
  void Init();
  // Makes sure the shared contents are acquired; a bare TPerfInfo has none to offer
  // and raises EAbstractError.
  virtual void GetData();

  const std::string& GetLocaleID() const { return LocaleID_; }
  const std::string& LocaleID() const { return GetLocaleID(); }
  // A locale that is not installed selects the first installed one; a locale
  // different from the current one (letter case counts) releases the contents.
  void SetLocaleID(const std::string& Value);

  // Read only when the contents are acquired.
  const std::string& ComputerName() const { return ComputerName_; }
  void SetComputerName(const std::string& Value) { ComputerName_ = Value; }

  std::int32_t GetItemCount();
  // EListError for a position out of range.
  std::string GetItem(std::int32_t Index);
  std::string GetItemIdx(std::int32_t Index);
  // The empty string when the index is not in the table.
  std::string GetItemByIdx(const std::string& S);
  // "-1" when the text is not in the table. A text the table lacks that is "#" and a
  // decimal title index ("#9000") gives that index, so that objects and counters whose
  // titles the tables lack can still be named.
  std::string GetIdxOfItem(const std::string& S);
  // -1 when not in the table.
  std::int32_t GetIndexOfItem(const std::string& S);
  std::int32_t GetIndexOfIdx(const std::string& S);

  std::int32_t IndexOfIdx(const std::string& S) { return GetIndexOfIdx(S); }

 protected:
  // Acquires the contents of the given value for the current locale and computer
  // unless they are held already.
  void AcquireData(const std::string& KeyName);

 private:
  const TPerfInfoData& LoadedData();

  std::string LocaleID_;
  TStringList Locales_;
  std::string ComputerName_;
  TPerfInfoData* Data_ = nullptr;
};

// Object and counter titles (the "Counter" value).
class GAUGERY_RUNTIME_API TPerfTitles : public TPerfInfo {
 public:
  using TPerfInfo::TPerfInfo;
  void GetData() override;

  std::int32_t TitleCount() { return GetItemCount(); }
  std::string Title(std::int32_t Index) { return GetItem(Index); }
  std::string TitleIdx(std::int32_t Index) { return GetItemIdx(Index); }
  std::string TitleByIdx(const std::string& S) { return GetItemByIdx(S); }
  std::string IdxOfTitle(const std::string& S) { return GetIdxOfItem(S); }
  std::int32_t IndexOfTitle(const std::string& S) { return GetIndexOfItem(S); }
};

// Help texts (the "Help" value).
class GAUGERY_RUNTIME_API TPerfHelps : public TPerfInfo {
 public:
  using TPerfInfo::TPerfInfo;
  void GetData() override;

  std::int32_t HelpCount() { return GetItemCount(); }
  std::string Help(std::int32_t Index) { return GetItem(Index); }
  std::string HelpIdx(std::int32_t Index) { return GetItemIdx(Index); }
  std::string HelpByIdx(const std::string& S) { return GetItemByIdx(S); }
  std::string IdxOfHelp(const std::string& S) { return GetIdxOfItem(S); }
  std::int32_t IndexOfHelp(const std::string& S) { return GetIndexOfItem(S); }
};

}  // namespace gaugery

// The unit's registration routine for the designer.
namespace gaugery::PerfTitlesUnit {

// Puts TPerfTitles and TPerfHelps on the palette page "Gaugery".
GAUGERY_RUNTIME_API void DoRegister();

}  // namespace gaugery::PerfTitlesUnit
