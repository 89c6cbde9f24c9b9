#pragma once

#include <cstdint>
#include <string>

namespace linkvane {

// The decimal digits of number, with a minus sign when it is negative.
std::u16string DecimalText(std::int64_t number);

}  // namespace linkvane
