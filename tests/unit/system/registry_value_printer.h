#pragma once

// Lets GoogleTest show a RegistryValue in a failure message: its form and what it holds. Texts
// are shown with every code unit outside printable ASCII (NULs included) as \uXXXX.

#include <cstdio>
#include <ostream>
#include <string>

#include "system/registry_value.h"

namespace linkvane {

inline void PrintRegistryText(const std::u16string& text, std::ostream* out) {
  *out << '"';
  for (const char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      *out << static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
      *out << escaped;
    }
  }
  *out << '"';
}

inline void PrintTo(const RegistryValue& value, std::ostream* out) {
  switch (value.kind()) {
    case RegistryValue::Kind::kEmpty:
      *out << "empty";
      break;
    case RegistryValue::Kind::kText:
      *out << "text ";
      PrintRegistryText(value.AsText(), out);
      break;
    case RegistryValue::Kind::kInteger:
      *out << "integer " << value.AsInteger();
      break;
    case RegistryValue::Kind::kBytes:
      *out << "bytes {";
      for (const std::uint8_t b : value.AsBytes()) *out << ' ' << int(b);
      *out << " }";
      break;
    case RegistryValue::Kind::kTextList:
      *out << "list {";
      for (const std::u16string& text : value.AsTextList()) {
        *out << ' ';
        PrintRegistryText(text, out);
      }
      *out << " }";
      break;
  }
}

}  // namespace linkvane
