#include "WebAssets.h"

#include "EmbeddedFiles.h"

namespace gaugery::cli {

namespace {

constexpr std::string_view PagePath = "/";
constexpr std::string_view PageName = "index.html";
constexpr std::string_view AssetFolder = "/web/";

std::string_view TypeOf(std::string_view Name) {
  if (Name.ends_with(".html")) return "text/html; charset=utf-8";
  if (Name.ends_with(".js")) return "text/javascript; charset=utf-8";
  if (Name.ends_with(".css")) return "text/css; charset=utf-8";
  if (Name.ends_with(".svg")) return "image/svg+xml";
  return "application/octet-stream";
}

}  // namespace

std::optional<TWebAsset> FindWebAsset(std::string_view Path) {
  std::string_view Name;
  if (Path == PagePath) {
    Name = PageName;
  } else if (Path.starts_with(AssetFolder) && Path.substr(AssetFolder.size()) != PageName) {
    Name = Path.substr(AssetFolder.size());
  } else {
    return std::nullopt;
  }
  for (const TEmbeddedFile& File : EmbeddedFiles())
    if (File.Name == Name) return TWebAsset{TypeOf(Name), File.Bytes};
  return std::nullopt;
}

}  // namespace gaugery::cli
