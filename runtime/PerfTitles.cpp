#include "PerfTitles.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "PerfNameStrings.h"
#include "framework/Exceptions.h"
#include "framework/TextCompare.h"
#include "framework/TextFunctions.h"
#include "framework/TypeInfo.h"
#include "framework/Unicode.h"
#include "registry/Registry.h"

namespace gaugery {

namespace {

// The index of a title written as "#" and a decimal title index ("#9000" gives "9000"),
// or "-1". Indexes stop at the largest signed 32-bit number, as the items keep them.
std::string WrittenTitleIndex(const std::string& Text) {
  if (Text.size() < 2 || Text.size() > 11 || Text[0] != '#') return "-1";
  std::uint64_t Index = 0;
  for (std::size_t Pos = 1; Pos < Text.size(); ++Pos) {
    if (Text[Pos] < '0' || Text[Pos] > '9') return "-1";
    Index = Index * 10 + static_cast<unsigned>(Text[Pos] - '0');
  }
  return Index <= INT32_MAX ? std::to_string(Index) : std::string("-1");
}

// The locale lists, created empty with the unit: the list read once from the
// registry, and the copy that Locales hands out.
TStringList LoadedLocales;
TStringList LocalesCopy;
bool LocalesLoaded = false;

// The shared TPerfInfoData entries; exists while it holds at least one.
TList* InfoDataCache = nullptr;

// A registry key name holds at most 255 characters.
constexpr DWORD MaxKeyNameLength = 255;

// Adds the subkey names of the local Perflib key to LoadedLocales.
void LoadLocales() {
  HKEY Perflib = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ToWide(PerflibKeyPath).c_str(), 0, KEY_READ, &Perflib) !=
      ERROR_SUCCESS)
    return;
  DWORD LongestName = 0;
  RegQueryInfoKeyW(Perflib, nullptr, nullptr, nullptr, nullptr, &LongestName, nullptr, nullptr,
                   nullptr, nullptr, nullptr, nullptr);
  // Never smaller than the longest possible name, so that a key that reports no
  // length does not fail the enumeration.
  std::vector<WCHAR> Name(std::max(LongestName, MaxKeyNameLength) + 1);
  LONG Result = ERROR_SUCCESS;
  for (DWORD Index = 0; Result == ERROR_SUCCESS; ++Index) {
    DWORD Length = static_cast<DWORD>(Name.size());
    Result =
        RegEnumKeyExW(Perflib, Index, Name.data(), &Length, nullptr, nullptr, nullptr, nullptr);
    if (Result == ERROR_SUCCESS) LoadedLocales.Add(ToUtf8(Name.data(), Length));
  }
  RegCloseKey(Perflib);
  if (Result != ERROR_NO_MORE_ITEMS) throw Exception(SysErrorMessage(Result));
}

TPerfInfoData* FindCachedInfoData(const std::string& Locale, const std::string& KeyName,
                                  const std::string& ComputerName) {
  if (InfoDataCache == nullptr) return nullptr;
  for (int I = 0; I < InfoDataCache->Count(); ++I) {
    auto* Entry = static_cast<TPerfInfoData*>(InfoDataCache->Items(I));
    if (AnsiSameText(Entry->ComputerName, ComputerName) && AnsiSameText(Entry->Locale, Locale) &&
        AnsiSameText(Entry->KeyName, KeyName))
      return Entry;
  }
  return nullptr;
}

std::unique_ptr<TPerfInfoData> LoadInfoData(const std::string& Locale, const std::string& KeyName,
                                            const std::string& ComputerName) {
  auto Data = std::make_unique<TPerfInfoData>();
  Data->Locale = Locale;
  Data->KeyName = KeyName;
  Data->ComputerName = ComputerName;
  TStringList Lines;
  GetPerfInfoStrings(Locale, KeyName, &Lines, ComputerName);
  Data->Fill(Lines);
  return Data;
}

}  // namespace

TStringList* Locales() {
  if (!LocalesLoaded) {
    LocalesLoaded = true;  // before reading, so that a failed load is not repeated
    LoadLocales();
  }
  LocalesCopy.Assign(&LoadedLocales);
  return &LocalesCopy;
}

void GetPerfInfoStrings(const std::string& Locale, const std::string& ValueName,
                        TStringList* Target, const std::string& ComputerName) {
  LoadNameStrings(Locale, ValueName, Target, ComputerName, TBlankTexts::Drop);
}

void TPerfInfoData::Fill(const TStringList& Lines) {
  for (int I = 0; I < Lines.Count(); ++I) Idx.Add(Lines.Names(I));
  IdxIndex_.Build(Idx);
  // Line I of Lines is entry I, so the first entry with an index is also the first line.
  for (int I = 0; I < Lines.Count(); ++I)
    Items.Add(Lines.ValueFromIndex(IdxIndex_.IndexOf(Idx.Strings(I))));
  ItemIndex_.Build(Items);
}

TPerfInfoData* AcquirePerfInfoData(const std::string& Locale, const std::string& KeyName,
                                   const std::string& ComputerName) {
  TPerfInfoData* Entry = FindCachedInfoData(Locale, KeyName, ComputerName);
  if (Entry == nullptr) {
    std::unique_ptr<TPerfInfoData> Loaded = LoadInfoData(Locale, KeyName, ComputerName);
    if (InfoDataCache == nullptr) InfoDataCache = new TList;
    InfoDataCache->Add(Loaded.get());
    Entry = Loaded.release();
  }
  ++Entry->RefCount;
  return Entry;
}

void ReleasePerfInfoData(TPerfInfoData*& Data) {
  if (Data == nullptr) return;
  TPerfInfoData* Entry = Data;
  Data = nullptr;
  if (--Entry->RefCount > 0) return;
  if (InfoDataCache != nullptr) {
    InfoDataCache->Remove(Entry);
    if (InfoDataCache->Count() == 0) FreeAndNil(InfoDataCache);
  }
  delete Entry;
}

TList* PerfInfoDataCache() { return InfoDataCache; }

TPerfInfo::TPerfInfo(TComponent* AOwner) : TComponent(AOwner) {
  Locales_.Assign(Locales());
  LocaleID_ = Locales_.Strings(0);
}

TPerfInfo::~TPerfInfo() { ReleasePerfInfoData(Data_); }

void TPerfInfo::Init() { GetData(); }

void TPerfInfo::GetData() { RaiseAbstractError(); }

void TPerfInfo::SetLocaleID(const std::string& Value) {
  std::string Locale = Locales_.IndexOf(Value) >= 0 ? Value : Locales_.Strings(0);
  if (Locale != LocaleID_) ReleasePerfInfoData(Data_);
  LocaleID_ = Locale;
}

// The contents are loaded under the locale's name as the registry lists it, so that a
// locale given in another letter case never loads (and shares) the table of a key the
// registry does not have.
void TPerfInfo::AcquireData(const std::string& KeyName) {
  if (Data_ != nullptr) return;
  const int Installed = Locales_.IndexOf(LocaleID_);
  const std::string& Locale = Installed >= 0 ? Locales_.Strings(Installed) : LocaleID_;
  Data_ = AcquirePerfInfoData(Locale, KeyName, ComputerName_);
}

const TPerfInfoData& TPerfInfo::LoadedData() {
  GetData();
  return *Data_;
}

std::int32_t TPerfInfo::GetItemCount() { return LoadedData().Items.Count(); }

std::string TPerfInfo::GetItem(std::int32_t Index) { return LoadedData().Items.Strings(Index); }

std::string TPerfInfo::GetItemIdx(std::int32_t Index) { return LoadedData().Idx.Strings(Index); }

std::string TPerfInfo::GetItemByIdx(const std::string& S) {
  const TPerfInfoData& Data = LoadedData();
  int Position = Data.IndexOfIdx(S);
  return Position < 0 ? std::string() : Data.Items.Strings(Position);
}

std::string TPerfInfo::GetIdxOfItem(const std::string& S) {
  const TPerfInfoData& Data = LoadedData();
  int Position = Data.IndexOfItem(S);
  return Position < 0 ? WrittenTitleIndex(S) : Data.Idx.Strings(Position);
}

std::int32_t TPerfInfo::GetIndexOfItem(const std::string& S) { return LoadedData().IndexOfItem(S); }

std::int32_t TPerfInfo::GetIndexOfIdx(const std::string& S) { return LoadedData().IndexOfIdx(S); }

void TPerfTitles::GetData() { AcquireData("Counter"); }

void TPerfHelps::GetData() { AcquireData("Help"); }

namespace {

// Describes the tables' published properties when the unit is loaded, so that stored
// forms can hold them.
[[maybe_unused]] const bool TablesRegistered = [] {
  RegisterPersistentClass<TPerfInfo>(
      "TPerfInfo",
      {StringProperty<TPerfInfo>("LocaleID", &TPerfInfo::GetLocaleID, &TPerfInfo::SetLocaleID),
       StringProperty<TPerfInfo>("ComputerName", &TPerfInfo::ComputerName,
                                 &TPerfInfo::SetComputerName)});
  RegisterComponentClass<TPerfTitles, TPerfInfo>("TPerfTitles", {});
  RegisterComponentClass<TPerfHelps, TPerfInfo>("TPerfHelps", {});
  return true;
}();

}  // namespace

}  // namespace gaugery

namespace gaugery::PerfTitlesUnit {

void DoRegister() { RegisterComponents("Gaugery", {"TPerfTitles", "TPerfHelps"}); }

}  // namespace gaugery::PerfTitlesUnit
