#pragma once

// Which of Linkvane's translations serves a user, by the user's Windows display language.

#include <cstdint>
#include <optional>
#include <span>

namespace linkvane::language {

// A translation, by the LANGID its string table is stored under.
struct Catalogue {
  std::uint16_t language;
  bool right_to_left;
};

// Every translation the executable carries (English, in the code, is none of them).
std::span<const Catalogue> Catalogues();

// The translation for a user whose display language is ui_language (a LANGID): the exact one,
// else the one of its primary language (Chinese by script); nothing when English serves.
std::optional<Catalogue> CatalogueFor(std::uint16_t ui_language);

}  // namespace linkvane::language
