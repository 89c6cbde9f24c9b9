#pragma once

// The user's language for every text Linkvane shows. English is in the code; a translation is
// a string table of the executable, read only when a text is about to be shown.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace linkvane::language {

// For as long as it lives, texts follow LINKVANE_LANGUAGE (a tag such as "de-AT"), else the
// user's display language; without one, every text is English.
class UserLanguage {
 public:
  explicit UserLanguage(Platform& platform);
  ~UserLanguage();
  UserLanguage(const UserLanguage&) = delete;
  UserLanguage& operator=(const UserLanguage&) = delete;
};

// The text id in the user's language, else in English.
std::u16string Text(std::uint16_t id);

// Text(id) with {1}, {2}, ... replaced by values.
std::u16string Say(std::uint16_t id, std::initializer_list<std::u16string_view> values);

// text with each {1} to {9} replaced by that value, in one pass: what was put in is never read
// again (a URL may hold "{1}"). A place without a value stays as it is.
std::u16string Fill(std::u16string_view text, std::initializer_list<std::u16string_view> values);

// A path, URL or command for a sentence: in a right-to-left language it is embedded left to
// right, so that its slashes and dots stay in their order.
std::u16string LeftToRight(std::u16string_view text);

}  // namespace linkvane::language
