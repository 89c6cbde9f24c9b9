// Shortcut files written by other people's programs, opened end to end under their own names.

#include <string>
#include <vector>

#include "e2e_support.h"

namespace linkvane::e2e {
namespace {

// Whether binary property lists are read. Switched off, a binary .webloc counts as a file
// without a URL (the program asks whether to go on), as it did before their reader existed.
constexpr bool kReadsBinaryWeblocs = true;

struct RealWorldCase {
  const wchar_t* file;
  const wchar_t* url;  // what a correct reader finds; null when the file holds none
  bool binary_plist;   // a binary .webloc
};

const RealWorldCase kRealWorld[] = {
    {L"smi-test.url", L"http://www.foobar.co.uk/", false},
    {L"fiddler-plus-Homepage.url", L"http://dev.uoquint.ru/projects", false},
    {L"happysolver-Homepage.url", L"http://happysolver.sourceforge.net/", false},
    {L"engine-nine-Website.url", L"http://nine.codeplex.com", false},
    {L"guanwang-官方网站.url", L"http://www.df81.com/", false},
    {L"ics3u-Suggested Sites (13).url", L"https://ieonline.microsoft.com/#ieslice", false},
    {L"ics3u-Suggested Sites (23).url", nullptr, false},
    {L"ics3u-WEB-SLIC.URL", L"http://go.microsoft.com/fwlink/?LinkId=121315", false},
    {L"lab01-Bing.url", L"http://go.microsoft.com/fwlink/p/?LinkId=255142", false},
    {L"studentloans-website.URL", L"https://www.mint.com/", false},
    {L"myfirst-哔哩哔哩 (゜-゜)つロ 干杯--bilibili.url", L"https://www.bilibili.com/", false},
    {L"edelib-test.desktop", L"file:$HOME", false},
    {L"studentloans-website.desktop", L"https://www.mint.com/", false},
    {L"lilacstep-test.webloc", L"http://wordpress.org/extend/plugins/mondokode-zoomer/", true},
    {L"csv2rdf4lod-test.webloc", L"https://github.com/timrdf/csv2rdf4lod-automation/tree/v1.5/test",
     true},
    {L"idp-Google Drive.webloc",
     L"https://drive.google.com/drive/folders/1-CmvFn1AEhFGxZmUh8Ot2EkNm2DTLaRy?fbclid="
     L"IwAR2Y00rLUEcnaGjIAG4-XZ1TeeZoJ3ha_GBbXh_Nc5DOXkt0gprQjAuukl0",
     true},
    {L"studentloans-website.webloc", L"https://www.mint.com/", true},
    {L"studentloans-website-corrupt.webloc", nullptr, true},
};

void PrintTo(const RealWorldCase& fixture, std::ostream* out) { *out << Utf8(fixture.file); }

class RealWorldTest : public LinkvaneTest, public ::testing::WithParamInterface<RealWorldCase> {};

TEST_P(RealWorldTest, OpensTheUrlTheFileHolds) {
  const RealWorldCase& fixture = GetParam();
  const std::wstring source = FixturesDir() + L"\\" + fixture.file;
  ASSERT_TRUE(PathExists(source)) << "missing fixture " << Utf8(source);
  const std::wstring shortcut = InFolder(fixture.file);
  ASSERT_TRUE(::CopyFileW(source.c_str(), shortcut.c_str(), FALSE));
  WriteBrowserDat(StandinTemplate("\"%s\""));

  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  const bool readable = fixture.url != nullptr && (!fixture.binary_plist || kReadsBinaryWeblocs);
  if (!readable) {
    run->AnswerBox(NoUrlBox(), IDNO);
    EXPECT_EQ(run->WaitForExit(), kExitNothingStarted);
    EXPECT_TRUE(NothingStarted());
    return;
  }
  ASSERT_EQ(run->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), std::vector<std::wstring>{fixture.url});
}

// Test names from the file names, in ASCII letters and digits.
std::string FixtureName(const ::testing::TestParamInfo<RealWorldCase>& fixture_info) {
  std::string name;
  bool upper = true;
  for (const wchar_t* c = fixture_info.param.file; *c != L'\0'; ++c) {
    if ((*c >= L'a' && *c <= L'z') || (*c >= L'A' && *c <= L'Z') || (*c >= L'0' && *c <= L'9')) {
      const char letter = static_cast<char>(*c);
      name +=
          upper && letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
      upper = false;
    } else {
      upper = true;
    }
  }
  return name + "_" + std::to_string(fixture_info.index);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RealWorldTest, ::testing::ValuesIn(kRealWorld), FixtureName);

}  // namespace
}  // namespace linkvane::e2e
