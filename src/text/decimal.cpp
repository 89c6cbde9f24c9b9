#include "text/decimal.h"

namespace linkvane {

std::u16string DecimalText(std::int64_t number) {
  const bool negative = number < 0;
  // Work on the magnitude as unsigned so that the most negative value has one too.
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
  std::u16string digits;
  do {
    digits.insert(digits.begin(), char16_t(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) digits.insert(digits.begin(), u'-');
  return digits;
}

}  // namespace linkvane
