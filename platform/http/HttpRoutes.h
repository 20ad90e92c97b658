// Which handler answers a path: exact paths first, then the longest matching prefix.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "http/HttpServer.h"

namespace gaugery::http {

class TRoutes {
 public:
  void Add(std::string Path, THandler Handler);
  void AddUnder(std::string Prefix, THandler Handler);
  // Null when no route takes the path.
  const THandler* Find(std::string_view Path) const;

 private:
  std::map<std::string, THandler, std::less<>> Exact_;
  std::map<std::string, THandler, std::greater<>> Prefixes_;  // longest first among equals
};

}  // namespace gaugery::http
