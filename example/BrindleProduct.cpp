#include "BrindleProduct.h"

namespace gaugery {

namespace {

#ifdef _WIN32
constexpr char PathSeparators[] = "/\\";
#else
constexpr char PathSeparators[] = "/";
#endif

std::string FileName(const std::string& Path) {
  const std::size_t Separator = Path.find_last_of(PathSeparators);
  return Separator == std::string::npos ? Path : Path.substr(Separator + 1);
}

std::string ReplayNotice(const std::vector<std::string>& Files) {
  std::string Notice = "Replay of " + FileName(Files.front());
  const std::size_t Others = Files.size() - 1;
  if (Others == 0) return Notice;
  return Notice + " and " + std::to_string(Others) + (Others == 1 ? " more file" : " more files");
}

}  // namespace

std::string BrindleVersionLine() {
  return std::string(BrindleProductName) + " " + BrindleVersion + " (Gaugery " GAUGERY_VERSION ")";
}

std::string BrindleNotice(const std::vector<std::string>& ReplayFiles,
                          const std::string& ComputerName) {
  if (!ReplayFiles.empty()) return ReplayNotice(ReplayFiles);
  return "Live counters of " + (ComputerName.empty() ? std::string("this computer") : ComputerName);
}

// The support address and the home page are settings of the build.
std::string SupportMailUrl() {
  return "mailto:" GAUGERY_SUPPORT_ADDRESS "?subject=Gaugery%20Components";
}

std::string HomepageUrl() { return GAUGERY_HOMEPAGE; }

}  // namespace gaugery
