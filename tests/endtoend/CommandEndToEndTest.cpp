// The gaugery program on the test objects as the system's registry serves them, with
// arguments and output outside ASCII.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "EndToEnd.h"
#include "ProgramRun.h"
#include "framework/Unicode.h"
#include "framework/WindowsApi.h"

#include <winver.h>

namespace gaugery::test {
namespace {

using nlohmann::json;

// The output with the line ends of the text mode turned into plain ones.
std::string WithoutCarriageReturns(std::string Text) {
  std::erase(Text, '\r');
  return Text;
}

TEST_F(EndToEnd, ReadTakesNamesOutsideAsciiAndPrintsOneRowPerInstance) {
  const ProgramRun Run = RunGaugery("read --locale 007 Prüfgerät Zähler \"Größte Menge\"");
  EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
  EXPECT_EQ(WithoutCarriageReturns(Run.Out),
            "Gerät 1\t10\t1099511627777\n"
            "Gerät 2\t20\t1099511627778\n"
            "Gerät 3\t30\t1099511627779\n");

  const ProgramRun Unknown = RunGaugery("read --locale 007 Prüfgerät Zählwerk");
  EXPECT_EQ(Unknown.ExitCode, 1);
  EXPECT_NE(Unknown.Err.find("Zählwerk"), std::string::npos) << Unknown.Err;
  // The hint quotes the object as cmd.exe and the program's argument parsing read it.
  EXPECT_NE(Unknown.Err.find("; run 'gaugery counters --locale 007 \"Prüfgerät\"' to list"),
            std::string::npos)
      << Unknown.Err;
}

// A capture file and its folder named beyond ASCII, as Explorer shows them.
TEST_F(EndToEnd, CaptureWritesTheFileOfTheNameGiven) {
  const std::filesystem::path FolderPath =
      std::filesystem::temp_directory_path() / ToWide("Größen");
  const std::filesystem::path FilePath = FolderPath / ToWide("Größe.perfdata");
  const std::string File = ToUtf8(FilePath.wstring());
  std::filesystem::create_directory(FolderPath);
  const ProgramRun Capture = RunGaugery("capture \"" + File + "\"");
  EXPECT_EQ(Capture.ExitCode, 0) << Capture.Err;
  EXPECT_TRUE(std::filesystem::exists(FilePath));
  EXPECT_EQ(RunGaugery("--replay \"" + File + "\" objects").ExitCode, 0);
  std::filesystem::remove_all(FolderPath);
}

TEST_F(EndToEnd, HelpOptionsOfWindowsPrintTheUsage) {
  const ProgramRun Help = RunGaugery("help");
  EXPECT_EQ(RunGaugery("/?").Out, Help.Out);
  EXPECT_EQ(RunGaugery("-h").Out, Help.Out);
  EXPECT_EQ(RunGaugery("top /?").Out, RunGaugery("help top").Out);
}

// gaugery.exe names itself and its version where Windows shows them.
TEST_F(EndToEnd, ProgramCarriesVersionInformation) {
  const std::wstring Program = ProgramBesideThisOne();
  DWORD Handle = 0;
  const DWORD Size = GetFileVersionInfoSizeW(Program.c_str(), &Handle);
  ASSERT_GT(Size, 0u);
  std::vector<BYTE> Info(Size);
  ASSERT_TRUE(GetFileVersionInfoW(Program.c_str(), 0, Size, Info.data()));
  const auto Value = [&](const wchar_t* Name) {
    void* Text = nullptr;
    UINT Length = 0;
    const std::wstring Path = std::wstring(L"\\StringFileInfo\\040904B0\\") + Name;
    if (!VerQueryValueW(Info.data(), Path.c_str(), &Text, &Length)) return std::string();
    return ToUtf8(static_cast<const wchar_t*>(Text));
  };
  EXPECT_EQ(WithoutCarriageReturns(RunGaugery("--version").Out),
            "gaugery " + Value(L"ProductVersion") + "\n");
  EXPECT_EQ(Value(L"OriginalFilename"), "gaugery.exe");
}

TEST_F(EndToEnd, DumpAsJsonHoldsTheTestObjects) {
  const ProgramRun Run = RunGaugery("dump --locale 007 --json");
  ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
  // The first sample the program's own query gets.
  EXPECT_EQ(json::parse(Run.Out)["objects"], json::parse(R"([
    {"index": 9000, "title": "Prüfgerät", "helpIndex": 9001, "numInstances": 3,
     "perfTime": 10000000, "perfFreq": 10000000,
     "counters": [
       {"index": 9002, "title": "Zähler", "helpIndex": 9003, "type": 65536, "size": 4,
        "offset": 4},
       {"index": 9004, "title": "Ereignisse", "helpIndex": 9005, "type": 4195584, "size": 8,
        "offset": 8},
       {"index": 9006, "title": "Größte Menge", "helpIndex": 9007, "type": 65792, "size": 8,
        "offset": 16}],
     "instances": [
       {"name": "Gerät 1", "uniqueId": -1,
        "values": {"9002": 10, "9004": 100, "9006": 1099511627777}},
       {"name": "Gerät 2", "uniqueId": -1,
        "values": {"9002": 20, "9004": 200, "9006": 1099511627778}},
       {"name": "Gerät 3", "uniqueId": -1,
        "values": {"9002": 30, "9004": 300, "9006": 1099511627779}}]},
    {"index": 9010, "title": "Prüfstand", "helpIndex": 9011, "numInstances": -1,
     "perfTime": 10000000, "perfFreq": 10000000,
     "counters": [
       {"index": 9012, "title": "Auslastung", "helpIndex": 9013, "type": 537003008, "size": 4,
        "offset": 4},
       {"index": 9014, "title": "Auslastung Basis", "helpIndex": 9015, "type": 1073939459,
        "size": 4, "offset": 8}],
     "values": {"9012": 3, "9014": 4}}])"));
}

}  // namespace
}  // namespace gaugery::test
