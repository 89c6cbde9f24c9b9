#include "language/catalogues.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "language/english.h"

namespace linkvane::language {
namespace {

// Which translation a user gets, by the display language Windows reports.
TEST(CatalogueFor, FollowsTheLanguageThenItsFamilyThenEnglish) {
  struct Case {
    std::uint16_t ui_language;
    std::uint16_t catalogue;  // 0: English, from the code
  };
  const Case cases[] = {
      {0x0407, 0x0407},  // de-DE
      {0x0C07, 0x0407},  // de-AT
      {0x0807, 0x0407},  // de-CH
      {0x0411, 0x0411},  // ja-JP
      {0x0401, 0x0401},  // ar-SA
      {0x0C01, 0x0401},  // ar-EG
      {0x3801, 0x0401},  // ar-AE
      {0x0804, 0x0804},  // zh-CN
      {0x1004, 0x0804},  // zh-SG
      {0x0004, 0x0804},  // zh-Hans
      {0x0404, 0x0404},  // zh-TW
      {0x0C04, 0x0404},  // zh-HK
      {0x1404, 0x0404},  // zh-MO
      {0x7C04, 0x0404},  // zh-Hant
      {0x080A, 0x0C0A},  // es-MX
      {0x040A, 0x0C0A},  // es-ES, traditional sort
      {0x0816, 0x0416},  // pt-PT
      {0x0409, 0},       // en-US
      {0x0809, 0},       // en-GB
      {0x0413, 0},       // nl-NL: no translation yet
      {0x0000, 0},       // no language at all
  };
  for (const Case& c : cases) {
    const std::optional<Catalogue> found = CatalogueFor(c.ui_language);
    EXPECT_EQ(found ? found->language : 0, c.catalogue) << std::hex << c.ui_language;
  }
  EXPECT_TRUE(CatalogueFor(0x0C01)->right_to_left);
  EXPECT_FALSE(CatalogueFor(0x0C07)->right_to_left);
}

// The text of one string table entry as windres reads it: "" is a quote, \r \n \t \\ escapes.
std::string Unquote(const std::string& literals) {
  std::string text;
  for (std::size_t at = 0; at < literals.size(); ++at) {
    if (literals[at] != '"') continue;
    for (++at; at < literals.size(); ++at) {
      if (literals[at] == '"') {
        if (at + 1 < literals.size() && literals[at + 1] == '"') {
          text += '"', ++at;
          continue;
        }
        break;
      }
      if (literals[at] == '\\' && at + 1 < literals.size()) {
        const char escaped = literals[++at];
        text += escaped == 'r' ? '\r' : escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
      } else {
        text += literals[at];
      }
    }
  }
  return text;
}

// What a translation must keep of its English text: the numbered places, %s, the line ends
// and the access key's "&".
std::string Kept(const std::string& text) {
  std::multiset<std::string> kept;
  static const std::regex marks(R"(\{[1-9]\}|%[sS]|\r\n|&)");
  for (std::sregex_iterator it(text.begin(), text.end(), marks), end; it != end; ++it) {
    kept.insert(it->str() == "%S" ? "%s" : it->str());
  }
  std::string joined;
  for (const std::string& mark : kept) joined += mark + " ";
  return joined;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every translation has every text, whole, with the same places as the English one, and each
// carries a LANGUAGE the choice knows.
TEST(Catalogues, EveryLanguageHasEveryTextWithItsPlaces) {
  std::map<std::string, int> numbers;
  const std::string ids = ReadFile(std::string(LINKVANE_SOURCE_DIR) + "/src/language/text_ids.h");
  static const std::regex define(R"(#define (IDS_\w+) (\d+))");
  for (std::sregex_iterator it(ids.begin(), ids.end(), define), end; it != end; ++it) {
    numbers[(*it)[1]] = std::stoi((*it)[2]);
  }
  std::set<std::uint16_t> languages;
  int files = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(LINKVANE_SOURCE_DIR) + "/res/lang")) {
    if (entry.path().extension() != ".rc") continue;
    ++files;
    const std::string name = entry.path().filename().string();
    const std::string script = ReadFile(entry.path());
    std::smatch language;
    ASSERT_TRUE(std::regex_search(script, language,
                                  std::regex(R"(\nLANGUAGE (0x[0-9A-Fa-f]+), (0x[0-9A-Fa-f]+))")))
        << name;
    const auto id = static_cast<std::uint16_t>(std::stoi(language[2], nullptr, 16) << 10 |
                                               std::stoi(language[1], nullptr, 16));
    EXPECT_TRUE(languages.insert(id).second) << name << ": a second file of its language";
    bool chosen = false;
    for (const Catalogue& catalogue : Catalogues()) chosen = chosen || catalogue.language == id;
    EXPECT_TRUE(chosen) << name << ": no row of the choice serves its language";

    std::map<int, std::string> texts;
    static const std::regex row(R"(\n\s*(IDS_\w+), *((?:"(?:[^"]|"")*" *)+)\r?(?=\n))");
    for (std::sregex_iterator it(script.begin(), script.end(), row), end; it != end; ++it) {
      ASSERT_TRUE(numbers.count((*it)[1])) << name << ": unknown " << (*it)[1];
      EXPECT_TRUE(texts.emplace(numbers[(*it)[1]], Unquote((*it)[2])).second)
          << name << ": " << (*it)[1] << " twice";
    }
    for (const EnglishText& english : EnglishTexts()) {
      const auto found = texts.find(english.id);
      if (found == texts.end()) {
        ADD_FAILURE() << name << ": no text " << english.id;
        continue;
      }
      EXPECT_FALSE(found->second.empty()) << name << ": text " << english.id << " is empty";
      EXPECT_EQ(Kept(found->second), Kept(std::string(english.text)))
          << name << ": text " << english.id;
    }
    EXPECT_EQ(texts.size(), EnglishTexts().size()) << name;
  }
  EXPECT_EQ(files, static_cast<int>(Catalogues().size())) << "a row of the choice without its file";
}

}  // namespace
}  // namespace linkvane::language
