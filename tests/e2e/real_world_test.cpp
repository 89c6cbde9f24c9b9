// Shortcut files written by other people's programs, opened end to end under their own names:
// every file of the shared fixture folders, each expected to open the URL its folder's
// SOURCES.md names.

#include <string>
#include <vector>

#include "e2e_support.h"
#include "support/fixture_sources.h"

namespace linkvane::e2e {
namespace {

struct RealWorldCase {
  std::wstring folder;  // under the shared fixtures
  std::wstring file;
  std::wstring url;  // what a correct reader finds; empty when the file holds none
};

// Every file of both fixture folders, with the URL its folder's SOURCES.md expects.
std::vector<RealWorldCase> RealWorldCases() {
  std::vector<RealWorldCase> cases;
  for (const wchar_t* folder : {L"real-world", L"corpus"}) {
    const std::string sources = ReadBytes(FixturesDir() + L"\\" + folder + L"\\SOURCES.md");
    for (const testing::FixtureSource& row : testing::ParseFixtureSources(sources)) {
      cases.push_back({folder, FromUtf8(row.file), FromUtf8(row.url)});
    }
  }
  return cases;
}

void PrintTo(const RealWorldCase& fixture, std::ostream* out) {
  *out << Utf8(fixture.folder + L"/" + fixture.file);
}

class RealWorldTest : public LinkvaneTest, public ::testing::WithParamInterface<RealWorldCase> {};

TEST_P(RealWorldTest, OpensTheUrlTheFileHolds) {
  const RealWorldCase& fixture = GetParam();
  const std::wstring source = FixturesDir() + L"\\" + fixture.folder + L"\\" + fixture.file;
  ASSERT_TRUE(PathExists(source)) << "missing fixture " << Utf8(source);
  const std::wstring shortcut = InFolder(fixture.file);
  ASSERT_TRUE(::CopyFileW(source.c_str(), shortcut.c_str(), FALSE));
  WriteBrowserDat(StandinTemplate("\"%s\""));

  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  if (fixture.url.empty()) {
    run->AnswerBox(NoUrlBox(), IDNO);
    EXPECT_EQ(run->WaitForExit(), kExitNothingStarted);
    EXPECT_TRUE(NothingStarted());
    return;
  }
  // A file's URL may raise a question whether to go on with it: the user says Yes.
  ASSERT_EQ(run->WaitForExit(LinkvaneRun::kYesToQuestions), kExitStarted);
  EXPECT_EQ(BrowserArguments(), std::vector<std::wstring>{fixture.url});
}

// Test names from the folders' and files' names, in ASCII letters and digits.
std::string FixtureName(const ::testing::TestParamInfo<RealWorldCase>& fixture_info) {
  std::string name;
  bool upper = true;
  for (const wchar_t c : fixture_info.param.folder + L"-" + fixture_info.param.file) {
    if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) {
      const char letter = static_cast<char>(c);
      name +=
          upper && letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
      upper = false;
    } else {
      upper = true;
    }
  }
  return name + "_" + std::to_string(fixture_info.index);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RealWorldTest, ::testing::ValuesIn(RealWorldCases()),
                         FixtureName);

}  // namespace
}  // namespace linkvane::e2e
