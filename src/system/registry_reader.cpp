#include <algorithm>
#include <optional>

#include "system/registry_key.h"
#include "system/systemfn.h"
#include "text/case_insensitive.h"

namespace linkvane::systemfn {

namespace {

struct RootName {
  std::u16string_view long_name;
  std::u16string_view short_name;
  std::uint32_t key;
};

constexpr RootName kRoots[] = {
    {u"HKEY_CLASSES_ROOT", u"HKCR", kHkeyClassesRoot},
    {u"HKEY_CURRENT_USER", u"HKCU", kHkeyCurrentUser},
    {u"HKEY_LOCAL_MACHINE", u"HKLM", kHkeyLocalMachine},
    {u"HKEY_USERS", u"HKU", kHkeyUsers},
    {u"HKEY_CURRENT_CONFIG", u"HKCC", kHkeyCurrentConfig},
};

std::optional<std::uint32_t> LookUpRoot(std::u16string_view root) {
  for (const RootName& name : kRoots) {
    if (EqualsNoCase(root, name.long_name) || EqualsNoCase(root, name.short_name)) {
      return name.key;
    }
  }
  return std::nullopt;
}

bool IsStringType(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// The UTF-16 text in the first size bytes of data, an odd last byte dropped.
std::u16string TextFromBytes(const std::vector<std::uint8_t>& data, std::uint32_t size) {
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return text;
}

std::vector<std::u16string> SplitAtNuls(const std::u16string& text) {
  std::vector<std::u16string> pieces;
  std::size_t from = 0;
  for (std::size_t nul = text.find(u'\0'); nul != std::u16string::npos;
       nul = text.find(u'\0', from)) {
    pieces.push_back(text.substr(from, nul - from));
    from = nul + 1;
  }
  // What follows the last NUL is the empty piece after the final terminator, or a last string
  // written without one, which is kept.
  if (from < text.size()) pieces.push_back(text.substr(from));
  return pieces;
}

RegistryValue Convert(Platform& platform, std::uint32_t type, const std::vector<std::uint8_t>& data,
                      std::uint32_t size, bool interpret) {
  if (IsStringType(type)) {
    std::u16string text = TextFromBytes(data, size);
    // Other programs' installers do not always write the terminating NUL: only one that is
    // there is dropped, never a character of the text.
    if (!text.empty() && text.back() == u'\0') text.pop_back();
    if (type == kRegExpandSz && interpret) {
      return RegistryValue::Text(ExpandEnvironmentString(platform, text));
    }
    if (type == kRegMultiSz && interpret) return RegistryValue::TextList(SplitAtNuls(text));
    return RegistryValue::Text(std::move(text), type == kRegExpandSz);
  }
  if (type == kRegBinary || type == kRegQword) {
    return RegistryValue::Bytes(std::vector<std::uint8_t>(data.begin(), data.begin() + size));
  }
  if (type == kRegDword) {
    // Bytes the value does not store stay zero.
    std::uint32_t number = 0;
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(size, 4); ++i) {
      number |= std::uint32_t(data[i]) << (8 * i);
    }
    return RegistryValue::Integer(static_cast<std::int32_t>(number));
  }
  return RegistryValue();
}

}  // namespace

RegistryValue ReadRegistryValue(Platform& platform, const std::u16string& path, bool interpret,
                                std::uint32_t view) {
  const std::size_t root_end = path.find(u'\\');
  if (root_end == std::u16string::npos) {
    RaiseInvalidArgument(u"The registry path names no root key.");
  }
  const std::optional<std::uint32_t> root = LookUpRoot(ToUpperAscii(path.substr(0, root_end)));
  if (!root) return RegistryValue();

  const std::u16string rest = path.substr(root_end + 1);
  std::u16string key_path = rest;
  std::u16string value_name;
  if (rest.empty() || rest.back() != u'\\') {
    const std::size_t name_start = rest.rfind(u'\\');
    if (name_start == std::u16string::npos) {
      RaiseInvalidArgument(u"The registry path names no key.");
    }
    key_path = rest.substr(0, name_start);
    value_name = rest.substr(name_start + 1);
  }

  return ReadRegistryValue(platform, *root, key_path, value_name, view, interpret);
}

RegistryValue ReadRegistryValue(Platform& platform, std::uint32_t root,
                                const std::u16string& key_path, const std::u16string& value_name,
                                std::uint32_t view, bool interpret) {
  RegistryKey opened = 0;
  if (platform.OpenRegistryKey(root, key_path, 0, kKeyRead | view, opened) != kErrorSuccess) {
    return RegistryValue();
  }
  const UniqueRegistryKey key(platform, opened);

  std::uint32_t type = kRegNone;
  std::uint32_t size = 0;
  const std::int32_t probed =
      platform.QueryRegistryValue(key.get(), value_name, &type, nullptr, &size);
  if (probed != kErrorSuccess && probed != kErrorMoreData) return RegistryValue();

  std::vector<std::uint8_t> data;
  if (IsStringType(type) || type == kRegBinary || type == kRegQword) {
    data.assign(std::size_t(size) + 2, 0);  // room for the data, an odd byte's partner included
  } else if (type == kRegDword) {
    data.assign(4, 0);
    size = std::min<std::uint32_t>(size, 4);
  } else {
    return RegistryValue();
  }
  if (platform.QueryRegistryValue(key.get(), value_name, &type, data.data(), &size) !=
      kErrorSuccess) {
    return RegistryValue();
  }
  size = std::min<std::uint32_t>(size, static_cast<std::uint32_t>(data.size()));
  return Convert(platform, type, data, size, interpret);
}

}  // namespace linkvane::systemfn
