#include "registry/RemoteComputer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "framework/Unicode.h"
#include "framework/WinTime.h"
#include "registry/KeyTreeCalls.h"
#include "registry/PerfDataRecords.h"
#include "registry/Registry.h"
#include "registry/RemoteProtocol.h"

namespace gaugery {

namespace {

constexpr std::size_t LargestLocaleList = 64 * 1024;
constexpr std::size_t MostLocales = 256;
constexpr std::size_t LongestLocaleName = 64;
constexpr std::size_t LargestNameValue = 16 * 1024 * 1024;
constexpr std::size_t LargestBlock = 64 * 1024 * 1024;
// How long a block fetched for too small a buffer waits for the caller's retry.
constexpr std::chrono::seconds PendingLifetime{2};

bool IsGaugeryServer(const THttpReply& Reply) { return Reply.Server.starts_with("gaugery"); }

bool IsLocaleName(std::string_view Name) {
  return !Name.empty() && Name.size() <= LongestLocaleName &&
         std::none_of(Name.begin(), Name.end(), [](char C) {
           return C == '\\' || C == '/' || static_cast<unsigned char>(C) < 0x20 || C == 0x7F;
         });
}

// One locale name a line; empty when any line is no key name.
std::optional<std::vector<TPerflibLocale>> ParseLocaleList(std::string_view Text) {
  std::vector<TPerflibLocale> Locales;
  while (!Text.empty()) {
    const std::size_t End = Text.find('\n');
    const std::string_view Line = Text.substr(0, End);
    Text.remove_prefix(End == std::string_view::npos ? Text.size() : End + 1);
    if (!IsLocaleName(Line) || Locales.size() == MostLocales) return std::nullopt;
    Locales.push_back({ToWide(std::string(Line)), {}, {}});
  }
  return Locales;
}

// UTF-16 code units from little-endian bytes; empty for an odd number of bytes.
std::optional<WideString> CodeUnitsOf(const std::string& Bytes) {
  if (Bytes.size() % 2 != 0) return std::nullopt;
  WideString Units(Bytes.size() / 2, u'\0');
  for (std::size_t I = 0; I < Units.size(); ++I) {
    Units[I] = static_cast<WCHAR>(static_cast<unsigned char>(Bytes[2 * I]) |
                                  static_cast<unsigned char>(Bytes[2 * I + 1]) << 8);
  }
  return Units;
}

}  // namespace

TRemoteComputer::TRemoteComputer(TRemoteAddress Address, std::string Token, THttpLimits Limits)
    : Address_(std::move(Address)), Token_(std::move(Token)), Limits_(Limits) {}

bool TRemoteComputer::Connect() {
  int Status = 0;
  const std::optional<std::string> List =
      Fetch(std::string(PerflibPath), LargestLocaleList, Status);
  if (!List) return false;
  std::optional<std::vector<TPerflibLocale>> Locales = ParseLocaleList(*List);
  if (!Locales) return false;
  Names_.Locales = std::move(*Locales);
  Names_.WriteTime = NowAsFileTime();
  Loaded_.assign(Names_.Locales.size(), false);
  return true;
}

LONG TRemoteComputer::LoadLocale(WideView Locale) {
  const auto Found = std::find_if(Names_.Locales.begin(), Names_.Locales.end(),
                                  [&](const TPerflibLocale& Key) { return Key.Name == Locale; });
  if (Found == Names_.Locales.end()) return ERROR_FILE_NOT_FOUND;
  const std::size_t Index = static_cast<std::size_t>(Found - Names_.Locales.begin());
  if (Loaded_[Index]) return ERROR_SUCCESS;
  const std::string Path =
      std::string(PerflibPath) + PercentEncoded(ToUtf8(WideString(Locale))) + "/";
  std::optional<WideString> Values[2];
  const std::string_view ValueNames[2] = {CounterValueName, HelpValueName};
  for (int Value = 0; Value < 2; ++Value) {
    int Status = 0;
    const std::optional<std::string> Body =
        Fetch(Path + std::string(ValueNames[Value]), LargestNameValue, Status);
    if (Body) Values[Value] = CodeUnitsOf(*Body);
    if (!Values[Value]) return Status == 0 ? ERROR_BAD_NETPATH : ERROR_FILE_NOT_FOUND;
  }
  Found->Counter = std::move(*Values[0]);
  Found->Help = std::move(*Values[1]);
  Loaded_[Index] = true;
  return ERROR_SUCCESS;
}

LONG TRemoteComputer::QueryPerfData(LPCWSTR ValueName, LPDWORD Type, LPBYTE Data,
                                    LPDWORD DataSize) {
  if (!DataSize) return ERROR_INVALID_PARAMETER;
  SetIfGiven(Type, REG_BINARY);
  const WideView Name = ViewOf(ValueName);
  if (!HasFreshPending(Name)) {
    Pending_.reset();
    int Status = 0;
    std::optional<std::string> Block =
        Fetch(std::string(PerfDataPath) + "?" + std::string(PerfDataValueKey) +
                  PercentEncoded(ToUtf8(WideString(Name))),
              LargestBlock, Status, HeldSampleHeaders(WideString(Name)));
    if (!Block) return ERROR_BAD_NETPATH;
    Pending_ = TPendingBlock{WideString(Name), std::move(*Block), std::chrono::steady_clock::now()};
  }
  const std::string& Bytes = Pending_->Bytes;
  if (!Data || *DataSize < Bytes.size()) return ERROR_MORE_DATA;
  std::memcpy(Data, Bytes.data(), Bytes.size());
  *DataSize = static_cast<DWORD>(Bytes.size());
  Hold(Pending_->ValueName, Bytes);
  Pending_.reset();
  return ERROR_SUCCESS;
}

std::optional<std::string> TRemoteComputer::Fetch(const std::string& Target, std::size_t MaxBytes,
                                                  int& Status, const http::THeaders& Headers) {
  THttpLimits Limits = Limits_;
  Limits.MaxBodyBytes = std::min(Limits.MaxBodyBytes, MaxBytes);
  std::optional<THttpReply> Reply = HttpGet(Address_, Target, Limits, Token_, Headers);
  Status = Reply ? Reply->Status : 0;
  RefusedForToken_ = Reply && IsGaugeryServer(*Reply) && Reply->Status == 401;
  if (!Reply || !IsGaugeryServer(*Reply) || Reply->Status != 200) return std::nullopt;
  return std::move(Reply->Body);
}

http::THeaders TRemoteComputer::HeldSampleHeaders(const WideString& ValueName) const {
  const auto Held = HeldSamples_.find(ValueName);
  if (Held == HeldSamples_.end()) return {};
  return {{std::string(HeldSampleHeader), std::to_string(Held->second)}};
}

void TRemoteComputer::Hold(const WideString& ValueName, const std::string& Block) {
  if (Block.size() < sizeof(TPERF_DATA_BLOCK)) return;  // no block: nothing to be newer than
  std::int64_t Stamp = 0;
  std::memcpy(&Stamp, Block.data() + offsetof(TPERF_DATA_BLOCK, PerfTime100nSec), sizeof Stamp);
  HeldSamples_[ValueName] = Stamp;
}

bool TRemoteComputer::HasFreshPending(WideView ValueName) const {
  return Pending_ && Pending_->ValueName == ValueName &&
         std::chrono::steady_clock::now() - Pending_->FetchedAt < PendingLifetime;
}

}  // namespace gaugery
