#include "Promtool.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

std::string PromtoolProblems(const std::string& Text) {
  const std::string File = ::testing::TempDir() + "gaugery-metrics-" + std::to_string(getpid());
  std::ofstream(File) << Text;
  std::string Problems;
  if (FILE* Output = popen(("promtool check metrics < " + File + " 2>&1").c_str(), "r")) {
    char Chunk[4096];
    for (std::size_t Read; (Read = fread(Chunk, 1, sizeof Chunk, Output)) > 0;)
      Problems.append(Chunk, Read);
    if (pclose(Output) != 0 && Problems.empty()) Problems = "promtool failed";
  }
  std::remove(File.c_str());
  return Problems;
}
