// The locales and names commands, and the titles that dump adds, on the live name
// tables of this computer.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "ProgramRun.h"

using nlohmann::json;

namespace {

std::vector<std::string> LinesOf(const std::string& Text) {
  std::vector<std::string> Lines;
  std::istringstream In(Text);
  for (std::string Line; std::getline(In, Line);) Lines.push_back(Line);
  return Lines;
}

ProgramRun Succeeding(const std::string& Arguments) {
  ProgramRun Run = RunGaugery(Arguments);
  EXPECT_EQ(Run.ExitCode, 0) << Arguments << ": " << Run.Err;
  return Run;
}

// index -> text of a names listing in JSON.
std::map<long long, std::string> NamesByIndex(const std::string& Arguments) {
  std::map<long long, std::string> Names;
  for (const json& Entry : json::parse(Succeeding(Arguments).Out))
    Names.emplace(Entry["index"].get<long long>(), Entry["text"].get<std::string>());
  return Names;
}

TEST(GaugeryLocales, EnglishFirstThenGerman) {
  const std::vector<std::string> Locales = LinesOf(Succeeding("locales").Out);
  ASSERT_GE(Locales.size(), 2u);
  EXPECT_EQ(Locales[0], "009");
  EXPECT_EQ(Locales[1], "007");
}

TEST(GaugeryNames, TextAndJsonListTheSamePairsInRegistryOrder) {
  const std::vector<std::string> Text = LinesOf(Succeeding("names").Out);
  const json Json = json::parse(Succeeding("names --locale 009 --json").Out);
  ASSERT_EQ(Text.size(), Json.size());
  ASSERT_FALSE(Text.empty());
  EXPECT_EQ(Json[0]["index"], 1) << "the pair that carries the last counter index";
  for (std::size_t I = 0; I < Text.size(); ++I) {
    EXPECT_EQ(Text[I], std::to_string(Json[I]["index"].get<long long>()) + "=" +
                           Json[I]["text"].get<std::string>());
    if (I > 0) {
      EXPECT_LT(Json[I - 1]["index"], Json[I]["index"]);
    }
  }
  EXPECT_NE(std::find(Text.begin(), Text.end(), "230=Process"), Text.end());
}

TEST(GaugeryNames, HelpTextsAndGermanNamesComeFromTheirOwnTables) {
  const std::map<long long, std::string> English = NamesByIndex("names --json");
  const std::map<long long, std::string> German = NamesByIndex("names --locale 007 --json");
  const std::map<long long, std::string> Helps = NamesByIndex("names --locale 007 --help-texts --json");
  EXPECT_EQ(English.at(238), "Processor");
  EXPECT_FALSE(German.at(238).empty());
  EXPECT_NE(German.at(238), English.at(238));
  EXPECT_EQ(Helps.count(238), 0u) << "help texts are listed under the help indexes";
  EXPECT_GT(Helps.at(239).size(), German.at(238).size());
}

TEST(GaugeryNames, LocaleThatIsNotInstalledIsAnError) {
  const ProgramRun Run = RunGaugery("names --locale 0FF");
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_EQ(Run.Err, "gaugery: Locale \"0FF\" is not installed (installed: 009, 007)\n");
  EXPECT_EQ(Run.Out, "");
  EXPECT_EQ(RunGaugery("dump --locale 0FF").ExitCode, 1);
  EXPECT_EQ(RunGaugery("names --locale").ExitCode, 2);
  EXPECT_EQ(RunGaugery("names extra").ExitCode, 2);
  EXPECT_EQ(RunGaugery("locales extra").ExitCode, 2);
}

TEST(GaugeryDump, TitlesOfObjectsAndCountersFollowTheLocale) {
  const std::map<long long, std::string> German = NamesByIndex("names --locale 007 --json");
  const json Dump = json::parse(Succeeding("dump --locale 007 --json").Out);
  ASSERT_FALSE(Dump["objects"].empty());
  for (const json& Object : Dump["objects"]) {
    EXPECT_EQ(Object["title"], German.at(Object["index"].get<long long>()));
    for (const json& Counter : Object["counters"])
      EXPECT_EQ(Counter["title"], German.at(Counter["index"].get<long long>()));
  }
  const json English = json::parse(Succeeding("dump --object 230 --json").Out);
  EXPECT_EQ(English["objects"][0]["title"], "Process");
}

}  // namespace
