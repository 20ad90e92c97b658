#include "http/HttpRoutes.h"

namespace gaugery::http {

void TRoutes::Add(std::string Path, THandler Handler) {
  Exact_.insert_or_assign(std::move(Path), std::move(Handler));
}

void TRoutes::AddUnder(std::string Prefix, THandler Handler) {
  Prefixes_.insert_or_assign(std::move(Prefix), std::move(Handler));
}

const THandler* TRoutes::Find(std::string_view Path) const {
  if (const auto At = Exact_.find(Path); At != Exact_.end()) return &At->second;
  for (const auto& [Prefix, Handler] : Prefixes_)
    if (Path.starts_with(Prefix)) return &Handler;
  return nullptr;
}

}  // namespace gaugery::http
