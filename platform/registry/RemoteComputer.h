// A remote computer as the Linux registry reaches it: a machine running `gaugery
// serve`. Its Perflib names come from /perflib (the locale list when connecting, a
// locale's "Counter" and "Help" when its key is first opened), its data blocks from
// /perfdata. Not synchronised: the remote registry locks a computer while using it.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "registry/HttpFetch.h"
#include "registry/PerflibNames.h"
#include "registry/WideText.h"

namespace gaugery {

class TRemoteComputer {
 public:
  // Every request carries Token as a bearer token unless it is empty.
  explicit TRemoteComputer(TRemoteAddress Address, std::string Token = {}, THttpLimits Limits = {});

  // Reads the server's locale list. False when the server cannot be reached, times
  // out, or answers like no gaugery server (no "gaugery" Server header, a status
  // other than 200, or a list that is no list of key names).
  bool Connect();
  // Whether the last reply was a gaugery server's 401: it asks for a token, or for
  // another one.
  bool WasRefusedForToken() const { return RefusedForToken_; }

  // The Perflib names as far as they have been fetched.
  const TPerflibNames& Names() const { return Names_; }

  // Fetches "Counter" and "Help" of Locale (a name from the locale list) unless they
  // are here. ERROR_BAD_NETPATH when the server cannot be reached, ERROR_FILE_NOT_FOUND
  // when it refuses.
  LONG LoadLocale(WideView Locale);

  // A query of the computer's HKEY_PERFORMANCE_DATA, with the codes of the local one:
  // ERROR_MORE_DATA while Data is null or smaller than the block (the block fetched is
  // kept for the retry that follows), ERROR_BAD_NETPATH when it cannot be fetched.
  // The block is passed on as the server sent it; checking it is the reader's business.
  // The server is told the time stamp of the block of that name last returned, and
  // answers with a newer one.
  LONG QueryPerfData(LPCWSTR ValueName, LPDWORD Type, LPBYTE Data, LPDWORD DataSize);

  std::mutex& Lock() { return Lock_; }

 private:
  // A block fetched for a buffer that was too small, for the caller's next attempt.
  struct TPendingBlock {
    WideString ValueName;
    std::string Bytes;
    std::chrono::steady_clock::time_point FetchedAt;
  };

  // The body of a 200 reply from a gaugery server; empty for anything else. Status
  // receives the reply's status (0 when there was no reply).
  std::optional<std::string> Fetch(const std::string& Target, std::size_t MaxBytes, int& Status,
                                   const http::THeaders& Headers = {});
  http::THeaders HeldSampleHeaders(const WideString& ValueName) const;
  void Hold(const WideString& ValueName, const std::string& Block);
  bool HasFreshPending(WideView ValueName) const;

  TRemoteAddress Address_;
  std::string Token_;
  THttpLimits Limits_;
  bool RefusedForToken_ = false;
  TPerflibNames Names_;
  std::vector<bool> Loaded_;  // per locale of Names_
  std::optional<TPendingBlock> Pending_;
  // PerfTime100nSec of the block last returned, per value name.
  std::map<WideString, std::int64_t> HeldSamples_;
  std::mutex Lock_;
};

}  // namespace gaugery
