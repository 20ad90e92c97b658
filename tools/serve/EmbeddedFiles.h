// Files built into the program: the web view's page and what it loads, generated from
// tools/serve/web/ at build time.
#pragma once

#include <string_view>
#include <vector>

namespace gaugery::cli {

struct TEmbeddedFile {
  // The path under the web folder: "index.html", "chart.js", ...
  std::string_view Name;
  std::string_view Bytes;
};

const std::vector<TEmbeddedFile>& EmbeddedFiles();

}  // namespace gaugery::cli
