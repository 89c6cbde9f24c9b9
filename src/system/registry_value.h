#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace linkvane {

// The typed result of reading one registry value: empty, a text, a 32-bit integer, a byte
// sequence or a list of texts.
class RegistryValue {
 public:
  enum class Kind { kEmpty, kText, kInteger, kBytes, kTextList };

  RegistryValue() = default;
  // A value holding text; expandable when it was stored as REG_EXPAND_SZ and left unexpanded.
  static RegistryValue Text(std::u16string text, bool expandable = false) {
    RegistryValue value(Storage(std::move(text)));
    value.expandable_ = expandable;
    return value;
  }
  // A value holding a 32-bit signed integer.
  static RegistryValue Integer(std::int32_t number) { return RegistryValue(Storage(number)); }
  // A value holding bytes exactly as stored.
  static RegistryValue Bytes(std::vector<std::uint8_t> bytes) {
    return RegistryValue(Storage(std::move(bytes)));
  }
  // A value holding a list of texts.
  static RegistryValue TextList(std::vector<std::u16string> texts) {
    return RegistryValue(Storage(std::move(texts)));
  }

  // Which of the five forms the value holds.
  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool IsEmpty() const { return kind() == Kind::kEmpty; }
  bool IsText() const { return kind() == Kind::kText; }
  // True for text with environment references that its writer meant to be expanded.
  bool IsExpandable() const { return expandable_; }

  // The held form; only valid when kind() says so.
  const std::u16string& AsText() const { return std::get<std::u16string>(value_); }
  std::int32_t AsInteger() const { return std::get<std::int32_t>(value_); }
  const std::vector<std::uint8_t>& AsBytes() const {
    return std::get<std::vector<std::uint8_t>>(value_);
  }
  const std::vector<std::u16string>& AsTextList() const {
    return std::get<std::vector<std::u16string>>(value_);
  }

  bool operator==(const RegistryValue& other) const { return value_ == other.value_; }

 private:
  using Storage = std::variant<std::monostate, std::u16string, std::int32_t,
                               std::vector<std::uint8_t>, std::vector<std::u16string>>;
  explicit RegistryValue(Storage value) : value_(std::move(value)) {}

  Storage value_;
  bool expandable_ = false;
};

}  // namespace linkvane
