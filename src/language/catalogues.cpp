#include "language/catalogues.h"

namespace linkvane::language {

namespace {

constexpr std::uint16_t Primary(std::uint16_t language) { return language & 0x3FF; }
constexpr std::uint16_t Sublanguage(std::uint16_t language) { return language >> 10; }

constexpr std::uint16_t kChinese = 0x04;
constexpr std::uint16_t kTraditionalChinese = 0x0404;         // zh-TW
constexpr std::uint16_t kSimplifiedChinese = 0x0804;          // zh-CN
constexpr std::uint16_t kChineseTraditionalNeutral = 0x7C04;  // zh-Hant

// One row for each res/lang/*.rc, under the LANGID of its LANGUAGE statement.
constexpr Catalogue kCatalogues[] = {
    {0x0407, false},  // German (de-DE)
    {0x0411, false},  // Japanese (ja-JP)
    {0x0401, true},   // Arabic (ar-SA)
    {0x0804, false},  // Simplified Chinese (zh-CN)
    {0x0404, false},  // Traditional Chinese (zh-TW)
    {0x0419, false},  // Russian (ru-RU)
    {0x0C0A, false},  // Spanish (es-ES)
    {0x0416, false},  // Brazilian Portuguese (pt-BR), also for Portugal
    {0x040C, false},  // French (fr-FR)
    {0x0412, false},  // Korean (ko-KR)
    {0x0415, false},  // Polish (pl-PL)
    {0x041F, false},  // Turkish (tr-TR)
};

std::optional<Catalogue> Find(std::uint16_t language) {
  for (const Catalogue& catalogue : kCatalogues) {
    if (catalogue.language == language) return catalogue;
  }
  return std::nullopt;
}

}  // namespace

std::span<const Catalogue> Catalogues() { return kCatalogues; }

std::optional<Catalogue> CatalogueFor(std::uint16_t ui_language) {
  if (std::optional<Catalogue> exact = Find(ui_language)) return exact;
  if (Primary(ui_language) == kChinese) {
    // Chinese goes by its script, not its region: Taiwan, Hong Kong and Macao write it
    // Traditional, China and Singapore Simplified.
    const std::uint16_t region = Sublanguage(ui_language);
    const bool traditional = region == 0x01 || region == 0x03 || region == 0x05 ||
                             ui_language == kChineseTraditionalNeutral;
    return Find(traditional ? kTraditionalChinese : kSimplifiedChinese);
  }
  for (const Catalogue& catalogue : kCatalogues) {
    if (Primary(catalogue.language) == Primary(ui_language)) return catalogue;
  }
  return std::nullopt;
}

}  // namespace linkvane::language
