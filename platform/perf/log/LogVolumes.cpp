#include "perf/log/LogVolumes.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace gaugery::counterlog {

namespace {

// The N of a name "Base.N", or 0 for any other name.
std::uint64_t VolumeNumber(const std::string& Name, const std::string& Base) {
  if (Name.size() <= Base.size() + 1 || Name.compare(0, Base.size(), Base) != 0 ||
      Name[Base.size()] != '.' || Name.size() - Base.size() > 19) {
    return 0;
  }
  std::uint64_t Number = 0;
  for (std::size_t At = Base.size() + 1; At < Name.size(); ++At) {
    if (Name[At] < '0' || Name[At] > '9') return 0;
    Number = Number * 10 + static_cast<std::uint64_t>(Name[At] - '0');
  }
  return Number;
}

namespace fs = std::filesystem;

// Paths of the interface are UTF-8, which Windows' narrow file names are not.
fs::path PathOf(const std::string& File) {
  return fs::path(std::u8string(File.begin(), File.end()));
}

std::string TextOf(const fs::path& Path) {
  const std::u8string Text = Path.u8string();
  return std::string(Text.begin(), Text.end());
}

}  // namespace

std::string VolumeFile(const std::string& File, std::uint64_t Number) {
  return Number == 0 ? File : File + "." + std::to_string(Number);
}

std::vector<std::string> ExistingVolumes(const std::string& File) {
  std::error_code Error;
  const fs::path Path = PathOf(File);
  const std::string Base = TextOf(Path.filename());
  const fs::path Folder = Path.has_parent_path() ? Path.parent_path() : fs::path(".");
  std::vector<std::pair<std::uint64_t, std::string>> Found;
  if (fs::exists(Path, Error)) Found.emplace_back(0, File);
  for (fs::directory_iterator Entry(Folder, Error), End; !Error && Entry != End;
       Entry.increment(Error)) {
    const std::uint64_t Number = VolumeNumber(TextOf(Entry->path().filename()), Base);
    if (Number != 0) Found.emplace_back(Number, VolumeFile(File, Number));
  }
  std::sort(Found.begin(), Found.end());
  std::vector<std::string> Volumes;
  for (auto& [Number, Name] : Found) Volumes.push_back(std::move(Name));
  return Volumes;
}

void RemoveVolume(const std::string& File) {
  std::error_code Error;
  fs::remove(PathOf(File), Error);
}

}  // namespace gaugery::counterlog
