#include "language/language.h"

#include <optional>

#include "language/catalogues.h"
#include "language/english.h"

namespace linkvane::language {

namespace {

constexpr std::uint16_t kEnglish = 0x0409;

// The run's choice; with no UserLanguage alive, English.
struct Chosen {
  Platform* platform = nullptr;
  std::optional<Catalogue> catalogue;
};
Chosen chosen;

}  // namespace

UserLanguage::UserLanguage(Platform& platform) {
  chosen = Chosen{&platform, std::nullopt};
  // A language that cannot be told is English: the run goes on all the same.
  ContinueOnError([&] {
    // Plain kernel32 calls: nothing is loaded until a text is needed.
    const std::optional<std::u16string> tag = platform.EnvironmentVariable(u"LINKVANE_LANGUAGE");
    const bool forced = tag && !tag->empty();
    chosen.catalogue =
        CatalogueFor(forced ? platform.LanguageOfTag(*tag) : platform.UserUiLanguage());
    // Windows' own error texts already come in the user's language; only a language asked
    // for by name needs them in another one.
    if (forced) platform.UseErrorLanguage(chosen.catalogue ? chosen.catalogue->language : kEnglish);
    if (chosen.catalogue && chosen.catalogue->right_to_left) platform.UseRightToLeft();
  });
}

UserLanguage::~UserLanguage() { chosen = Chosen{}; }

std::u16string Text(std::uint16_t id) {
  if (chosen.platform != nullptr && chosen.catalogue) {
    std::optional<std::u16string> text = chosen.platform->LoadText(chosen.catalogue->language, id);
    if (text && !text->empty()) return std::move(*text);
  }
  return English(id);
}

std::u16string Say(std::uint16_t id, std::initializer_list<std::u16string_view> values) {
  return Fill(Text(id), values);
}

std::u16string Fill(std::u16string_view text, std::initializer_list<std::u16string_view> values) {
  std::u16string filled;
  filled.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const bool place = text[at] == u'{' && at + 2 < text.size() && text[at + 1] >= u'1' &&
                       text[at + 1] <= u'9' && text[at + 2] == u'}';
    const std::size_t number = place ? static_cast<std::size_t>(text[at + 1] - u'1') : 0;
    if (place && number < values.size()) {
      filled.append(values.begin()[number]);
      at += 3;
    } else {
      filled.push_back(text[at++]);
    }
  }
  return filled;
}

std::u16string LeftToRight(std::u16string_view text) {
  if (!chosen.catalogue || !chosen.catalogue->right_to_left) return std::u16string(text);
  // LEFT-TO-RIGHT EMBEDDING ... POP DIRECTIONAL FORMATTING: Windows 7 knows no isolates.
  return u'\u202A' + std::u16string(text) + u'\u202C';
}

}  // namespace linkvane::language
