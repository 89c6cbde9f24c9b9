// One table of cases, run against the fake and, in the Windows build, against the Win32 layer:
// whatever the logic's tests assume of the fake, the real platform does too.

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>
#include <vector>

#include "contract/contract_world.h"
#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"
#include "platform/text_stream.h"

namespace linkvane::contract {
namespace {

using namespace std::string_view_literals;
using testing::U16;
using testing::U8;
using Lines = std::vector<std::u16string>;

constexpr std::size_t kChunk = 64 * 1024;

// --- Text files: decoding and line ends, through the platform's file reading.

struct TextFile {
  const char* name;
  std::string bytes;
  Lines lines;
  std::u16string all;
};

std::vector<TextFile> TextFiles() {
  std::vector<TextFile> files = {
      {"ASCII CR LF", "one\r\ntwo\r\n", {u"one", u"two"}, u"one\r\ntwo\r\n"},
      {"LF", "one\ntwo", {u"one", u"two"}, u"one\ntwo"},
      {"CR", "one\rtwo\r", {u"one", u"two"}, u"one\rtwo\r"},
      {"mixed", "a\r\n\nb\r\rc", {u"a", u"", u"b", u"", u"c"}, u"a\r\n\nb\r\rc"},
      {"empty", "", {}, u""},
      {"NUL inside",
       std::string("a\0b\n", 4),
       {std::u16string(u"a\0b", 3)},
       std::u16string(u"a\0b\n", 4)},
      {"UTF-8 mark",
       "\xEF\xBB\xBF"
       "caf\xC3\xA9\r\n",
       {u"caf\u00E9"},
       u"caf\u00E9\r\n"},
      {"UTF-8 mark alone", "\xEF\xBB\xBF", {}, u""},
      {"UTF-8",
       "\xE5\xAE\x98\xE6\x96\xB9\n\xF0\x9F\x98\x80",
       {u"\u5B98\u65B9", u"\U0001F600"},
       u"\u5B98\u65B9\n\U0001F600"},
      {"ANSI",
       "caf\xE9\r\n\x80 \x9F",
       {u"caf\u00E9", u"\u20AC \u0178"},
       u"caf\u00E9\r\n\u20AC \u0178"},
      {"UTF-16LE",
       std::string("\xFF\xFE"
                   "a\0\r\0\n\0\x0D\x01\x0A\x0D"sv),
       {u"a", u"\u010D\u0D0A"},
       u"a\r\n\u010D\u0D0A"},
      {"UTF-16BE",
       std::string("\xFE\xFF"
                   "\0a\0\r\x0D\x0A"sv),
       {u"a", u"\u0D0A"},
       u"a\r\u0D0A"},
  };
  // Line ends and characters that straddle the first and second reads.
  const std::string x(kChunk - 1, 'x');
  const std::u16string wide_x(kChunk - 1, u'x');
  files.push_back({"CR LF across reads", x + "\r\nnext", {wide_x, u"next"}, wide_x + u"\r\nnext"});
  files.push_back(
      {"UTF-8 across reads", x + "\xC3\xA9\n", {wide_x + u"\u00E9"}, wide_x + u"\u00E9\n"});
  // Invalid UTF-8 only in the second read: the whole file is ANSI.
  files.push_back({"ANSI after reads of UTF-8",
                   "\xC3\xA9" + x + "\n\xE9",
                   {u"\u00C3\u00A9" + wide_x, u"\u00E9"},
                   u"\u00C3\u00A9" + wide_x + u"\n\u00E9"});
  return files;
}

void TextFilesDecodeAndSplitAlike(ContractWorld& world) {
  int number = 0;
  for (const TextFile& file : TextFiles()) {
    SCOPED_TRACE(file.name);
    const std::u16string path =
        world.WriteFile(u"text" + U16(std::to_string(++number)), file.bytes);
    TextStream lines = TextStream::Open(world.platform(), path);
    Lines read;
    while (!lines.AtEndOfStream()) read.push_back(lines.ReadLine());
    EXPECT_THROW(lines.ReadLine(), PlatformError);
    lines.Close();
    EXPECT_EQ(read, file.lines);

    TextStream whole = TextStream::Open(world.platform(), path);
    EXPECT_EQ(whole.ReadAll(), file.all);
    whole.Close();
    EXPECT_THROW(whole.ReadAll(), PlatformError);
  }
}

// --- Files and folders.

void FileExistsOnlyForFiles(ContractWorld& world) {
  const std::u16string file = world.WriteFile(u"present.url", "URL=x");
  const std::u16string unicode = world.WriteFile(U16("\xE5\x93\x94 (\xE3\x82\x9C).url"), "");
  const std::u16string folder = world.MakeFolder(u"sub.url");
  Platform& platform = world.platform();
  EXPECT_TRUE(platform.FileExists(file));
  EXPECT_TRUE(platform.FileExists(world.PathOf(u"PRESENT.URL")));
  EXPECT_TRUE(platform.FileExists(unicode));
  EXPECT_FALSE(platform.FileExists(folder));
  EXPECT_FALSE(platform.FileExists(world.Folder()));
  EXPECT_FALSE(platform.FileExists(world.PathOf(u"missing.url")));
  EXPECT_FALSE(platform.FileExists(world.PathOf(u"missing\\deeper.url")));
  EXPECT_FALSE(platform.FileExists(u""));
  EXPECT_FALSE(platform.IsExecutionAlias(file) || platform.IsExecutionAlias(folder) ||
               platform.IsExecutionAlias(world.PathOf(u"missing.url")));
}

void OpeningWhatIsNoFileRaises(ContractWorld& world) {
  const std::u16string folder = world.MakeFolder(u"folder");
  try {
    world.platform().OpenFileForReading(world.PathOf(u"missing.url"));
    ADD_FAILURE() << "no error for a missing file";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.Number(), 2);  // ERROR_FILE_NOT_FOUND
  }
  EXPECT_THROW(world.platform().OpenFileForReading(folder), PlatformError);
}

// --- Starting processes.

void StartingWhatCannotRunRaises(ContractWorld& world) {
  struct Case {
    std::u16string application, command_line;
    std::int32_t number;
  };
  const std::u16string missing = world.PathOf(u"no such program.exe");
  const Case cases[] = {
      {missing, u"\"" + missing + u"\" http://a.example/", 2},
      {world.PathOf(u"nothing.exe"), world.PathOf(u"nothing.exe"), 2},
      {missing, u"", 87},  // ERROR_INVALID_PARAMETER
  };
  for (const Case& c : cases) {
    try {
      world.platform().StartProcess(c.application, c.command_line, world.Folder(), kShowNormal,
                                    kCreateSuspended | kCreateDefaultErrorMode);
      ADD_FAILURE() << "no error for " << U8(c.command_line);
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Number(), c.number) << U8(c.command_line);
      EXPECT_FALSE(error.Description().empty());
    }
  }
}

// An unset variable is nothing, a set one its value, however long.
void EnvironmentVariablesReadAlike(ContractWorld& world) {
  const std::u16string long_value(1000, u'v');
  world.SetVariable(u"LV_CONTRACT_LONG", long_value);
  EXPECT_EQ(world.platform().EnvironmentVariable(u"LV_CONTRACT_LONG"), long_value);
  EXPECT_EQ(world.platform().EnvironmentVariable(u"LV_CONTRACT_UNSET"), std::nullopt);
}

// --- Environment expansion.

std::u16string Expanded(Platform& platform, const std::u16string& source) {
  const std::uint32_t needed = platform.ExpandEnvironment(source, nullptr, 0);
  std::u16string buffer(needed, u'#');
  const std::uint32_t written = platform.ExpandEnvironment(source, buffer.data(), needed);
  EXPECT_EQ(written, needed) << U8(source);
  if (needed == 0 || written != needed) return u"(failed)";
  EXPECT_EQ(buffer.back(), u'\0') << U8(source);
  buffer.pop_back();
  return buffer;
}

void EnvironmentReferencesExpandAlike(ContractWorld& world) {
  world.SetVariable(u"LV_CONTRACT_A", u"alpha");
  world.SetVariable(u"LV_CONTRACT_PATH", u"C:\\Program Files\\B");
  struct Case {
    std::u16string_view source, expanded;
  };
  const Case cases[] = {
      {u"%LV_CONTRACT_A%", u"alpha"},
      {u"x%lv_contract_a%y", u"xalphay"},
      {u"\"%LV_CONTRACT_PATH%\\b.exe\" %LV_CONTRACT_A%", u"\"C:\\Program Files\\B\\b.exe\" alpha"},
      {u"%LV_CONTRACT_A%%LV_CONTRACT_A%", u"alphaalpha"},
      {u"%LV_CONTRACT_UNDEFINED%", u"%LV_CONTRACT_UNDEFINED%"},
      // An undefined name is kept whole, its closing sign too: it opens no next reference.
      {u"%LV_CONTRACT_UNDEFINED%LV_CONTRACT_A%", u"%LV_CONTRACT_UNDEFINED%LV_CONTRACT_A%"},
      {u"%LV_CONTRACT_UNDEFINED%%LV_CONTRACT_A%", u"%LV_CONTRACT_UNDEFINED%alpha"},
      {u"50% off", u"50% off"},
      {u"100%", u"100%"},
      {u"%", u"%"},
      {u"%%", u"%%"},
      {u"a%%b", u"a%%b"},
      {u"%%LV_CONTRACT_A%%", u"%%LV_CONTRACT_A%%"},
      {u"%%%LV_CONTRACT_A%", u"%%alpha"},
      {u"http://a.example/%41%42", u"http://a.example/%41%42"},
      {u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Expanded(world.platform(), std::u16string(c.source)), c.expanded) << U8(c.source);
  }
  // A buffer too small for the result: the size needed comes back.
  char16_t small[4];
  EXPECT_EQ(world.platform().ExpandEnvironment(u"%LV_CONTRACT_A%!", small, 4), 7u);
}

// --- The shell's URL functions.

void UrlTestAgrees(ContractWorld& world) {
  struct Case {
    std::u16string_view text;
    bool url;
  };
  const Case cases[] = {
      {u"http://example.com/", true},
      {u"https://example.com/a?b#c", true},
      {u"file:///C:/dir/x.url", true},
      {u"file:///Z:/a%20b/x.url", true},
      {u"FILE:///c:/x.url", true},
      {u"mailto:someone@example.com", true},
      {u"C:\\dir\\x.url", false},
      {u"C:/dir/x.url", false},
      {u"\"C:\\dir\\x.url\"", false},
      {u"\"file:///C:/x.url\"", false},
      {u"\\\\server\\share\\x.url", false},
      {u"\\\\?\\C:\\x.url", false},
      {u"C:x.url", false},
      {u"my links:x.url", false},
      {u"x.url", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(world.platform().PathIsUrl(std::u16string(c.text)), c.url) << U8(c.text);
    // The launcher skips the test where it cannot be a URL.
    EXPECT_TRUE(!c.url || Module_Main::MayBeUrl(c.text)) << U8(c.text);
  }
}

void FileUrlsConvertAlike(ContractWorld& world) {
  struct Case {
    std::u16string_view url;
    std::u16string_view path;
    bool converted;
  };
  const Case cases[] = {
      {u"file:///C:/dir/x.url", u"C:\\dir\\x.url", true},
      {u"file:///Z:/a%20b/x.url", u"Z:\\a b\\x.url", true},
      {u"file:///C:/\u5B98\u65B9/x.url", u"C:\\\u5B98\u65B9\\x.url", true},
      {u"file://localhost/C:/x.url", u"C:\\x.url", true},
      {u"file://server/share/x.url", u"\\\\server\\share\\x.url", true},
      {u"file:///C|/x.url", u"C:\\x.url", true},
      // Another URL comes back as it was given.
      {u"http://example.com/x.url", u"http://example.com/x.url", false},
  };
  for (const Case& c : cases) {
    std::u16string buffer(kMaxPath, u' ');
    std::uint32_t length = kMaxPath;
    const std::int32_t result =
        world.platform().CreatePathFromUrl(std::u16string(c.url), buffer, length);
    EXPECT_EQ(result >= 0, c.converted) << U8(c.url);
    ASSERT_LE(length, buffer.size()) << U8(c.url);
    EXPECT_EQ(buffer.size(), kMaxPath) << U8(c.url);
    EXPECT_EQ(buffer.substr(0, length), c.path) << U8(c.url);
  }
}

// --- The ANSI code page (Windows-1252 in the Wine prefixes used here).

void AnsiTextConvertsAlike(ContractWorld& world) {
  struct Case {
    std::string_view bytes;
    std::u16string_view text;
  };
  const Case cases[] = {
      {"plain", u"plain"},
      {"\xE9", u"\u00E9"},
      {"\x80", u"\u20AC"},
      {"\x9F\xFF", u"\u0178\u00FF"},
      {"\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},
      {"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(world.platform().AnsiToUtf16(c.bytes), c.text) << U8(U16(std::string(c.bytes)));
  }
}

// Its best fits to ASCII; a letter that it lacks, or holds itself, has none. And drive C:.
void BestFitsAndDrivesAgree(ContractWorld& world) {
  const std::pair<char16_t, char16_t> cases[] = {{0x2044, u'/'}, {0x2215, u'/'}, {0x2216, u'\\'},
                                                 {0x02BA, u'"'}, {0x2500, u'-'}, {0x0416, 0},
                                                 {0x00E9, 0}};
  for (const auto& [c, ascii] : cases)
    EXPECT_EQ(world.platform().AnsiBestFitAscii(c), ascii) << int(c);
  EXPECT_EQ(world.platform().DriveType(u"C:\\"), kDriveFixed);
}

struct ContractCase {
  const char* name;
  void (*run)(ContractWorld&);
};

const ContractCase kCases[] = {
    {"TextFilesDecodeAndSplitAlike", TextFilesDecodeAndSplitAlike},
    {"FileExistsOnlyForFiles", FileExistsOnlyForFiles},
    {"OpeningWhatIsNoFileRaises", OpeningWhatIsNoFileRaises},
    {"StartingWhatCannotRunRaises", StartingWhatCannotRunRaises},
    {"EnvironmentVariablesReadAlike", EnvironmentVariablesReadAlike},
    {"EnvironmentReferencesExpandAlike", EnvironmentReferencesExpandAlike},
    {"UrlTestAgrees", UrlTestAgrees},
    {"FileUrlsConvertAlike", FileUrlsConvertAlike},
    {"AnsiTextConvertsAlike", AnsiTextConvertsAlike},
    {"BestFitsAndDrivesAgree", BestFitsAndDrivesAgree},
};

struct WorldKind {
  const char* name;
  std::unique_ptr<ContractWorld> (*make)();
};

const WorldKind kWorlds[] = {
    {"Fake", MakeFakeWorld},
#ifdef _WIN32
    {"Win32", MakeWin32World},
#endif
};

class PlatformContract : public ::testing::TestWithParam<std::tuple<WorldKind, ContractCase>> {};

TEST_P(PlatformContract, Holds) {
  const auto& [kind, contract_case] = GetParam();
  const std::unique_ptr<ContractWorld> world = kind.make();
  contract_case.run(*world);
}

INSTANTIATE_TEST_SUITE_P(
    Platforms, PlatformContract,
    ::testing::Combine(::testing::ValuesIn(kWorlds), ::testing::ValuesIn(kCases)),
    [](const ::testing::TestParamInfo<PlatformContract::ParamType>& param_info) {
      return std::string(std::get<0>(param_info.param).name) + "_" +
             std::get<1>(param_info.param).name;
    });

}  // namespace
}  // namespace linkvane::contract
