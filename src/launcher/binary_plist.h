#pragma once

// The web address in a binary property list, the form in which Safari and Finder have written
// .webloc files for years: a dictionary whose "URL" key holds the address as a string.

#include <string>
#include <string_view>

namespace linkvane::Module_Main {

// The value of the top dictionary's "URL" key when it is a string (ASCII or UTF-16); "" for
// anything else and for any list that is malformed, truncated or not a binary list at all.
// Never reads outside bytes; the work done is bounded by the size of bytes.
std::u16string UrlFromBinaryPlist(std::string_view bytes);

}  // namespace linkvane::Module_Main
