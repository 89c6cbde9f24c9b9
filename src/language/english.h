#pragma once

// Linkvane's texts in English: the words the program shows when the user's language has no
// text of its own, and the list of every text there is.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace linkvane::language {

struct EnglishText {
  std::uint16_t id;       // IDS_... of language/text_ids.h
  std::string_view text;  // UTF-8
};

// Every text, in the order of its id.
std::span<const EnglishText> EnglishTexts();

// The English text of id; "" for an id that has none.
std::u16string English(std::uint16_t id);

}  // namespace linkvane::language
