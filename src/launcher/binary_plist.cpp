#include "launcher/binary_plist.h"

#include <cstdint>
#include <optional>

#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::string_view kMagic = "bplist00";
constexpr std::size_t kTrailerSize = 32;

// Object markers: the high nibble is the type, the low nibble a count (0xF: a count follows
// as an integer object).
constexpr unsigned kTypeInteger = 0x1;
constexpr unsigned kTypeAsciiString = 0x5;
constexpr unsigned kTypeUtf16String = 0x6;
constexpr unsigned kTypeDictionary = 0xD;
constexpr unsigned kCountFollows = 0xF;

constexpr std::u16string_view kUrlKey = u"URL";

// The list's bytes with the layout that its trailer gives. Every read is checked against the
// object area, [8, offset table), so no object can reach into the table, the trailer or beyond.
class Plist {
 public:
  explicit Plist(std::string_view bytes) : bytes_(bytes) {}

  // Reads and checks the trailer and the offset table's place; false when they do not fit.
  bool ReadTrailer();
  // The value of the top object's "URL" key, when the top is a dictionary and the value a
  // string.
  std::optional<std::u16string> TopUrl() const;

 private:
  // A big-endian unsigned integer of size bytes at position; nullopt when it does not lie
  // within [position, limit).
  std::optional<std::uint64_t> ReadUnsigned(std::uint64_t position, std::uint64_t size,
                                            std::uint64_t limit) const;
  // Where object number index starts; nullopt when index or its offset is out of range.
  std::optional<std::uint64_t> ObjectStart(std::uint64_t index) const;
  // The object number held by the reference at position.
  std::optional<std::uint64_t> ReadReference(std::uint64_t position) const;
  // The count in the marker at position and where the object's contents start after it.
  bool ReadCount(std::uint64_t position, std::uint64_t& count, std::uint64_t& contents) const;
  // The text of object number index when it is a string of at most longest characters.
  std::optional<std::u16string> ReadString(std::uint64_t index,
                                           std::uint64_t longest = UINT64_MAX) const;
  // True when length elements of width bytes fit between position and the object area's end.
  bool Fits(std::uint64_t position, std::uint64_t length, std::uint64_t width) const;

  std::string_view bytes_;
  std::uint64_t offset_size_ = 0;
  std::uint64_t reference_size_ = 0;
  std::uint64_t object_count_ = 0;
  std::uint64_t top_object_ = 0;
  std::uint64_t offset_table_ = 0;  // also the end of the object area
};

bool ValidIntegerSize(std::uint64_t size) {
  return size == 1 || size == 2 || size == 4 || size == 8;
}

std::optional<std::uint64_t> Plist::ReadUnsigned(std::uint64_t position, std::uint64_t size,
                                                 std::uint64_t limit) const {
  if (position > limit || size > limit - position) return std::nullopt;
  std::uint64_t value = 0;
  for (std::uint64_t i = 0; i < size; ++i) {
    value = (value << 8) | static_cast<unsigned char>(bytes_[position + i]);
  }
  return value;
}

bool Plist::ReadTrailer() {
  if (bytes_.size() < kMagic.size() + kTrailerSize || bytes_.substr(0, kMagic.size()) != kMagic) {
    return false;
  }
  const std::uint64_t trailer = bytes_.size() - kTrailerSize;
  const std::uint64_t end = bytes_.size();
  offset_size_ = *ReadUnsigned(trailer + 6, 1, end);
  reference_size_ = *ReadUnsigned(trailer + 7, 1, end);
  object_count_ = *ReadUnsigned(trailer + 8, 8, end);
  top_object_ = *ReadUnsigned(trailer + 16, 8, end);
  offset_table_ = *ReadUnsigned(trailer + 24, 8, end);
  if (!ValidIntegerSize(offset_size_) || !ValidIntegerSize(reference_size_)) return false;
  // At least one object lies between the magic and the table, which ends before the trailer.
  if (top_object_ >= object_count_ || offset_table_ <= kMagic.size() || offset_table_ > trailer) {
    return false;
  }
  return object_count_ <= (trailer - offset_table_) / offset_size_;
}

std::optional<std::uint64_t> Plist::ObjectStart(std::uint64_t index) const {
  if (index >= object_count_) return std::nullopt;
  // The table was checked to hold object_count_ entries, so this read stays inside it.
  const std::optional<std::uint64_t> offset =
      ReadUnsigned(offset_table_ + index * offset_size_, offset_size_, bytes_.size());
  if (!offset || *offset < kMagic.size() || *offset >= offset_table_) return std::nullopt;
  return offset;
}

std::optional<std::uint64_t> Plist::ReadReference(std::uint64_t position) const {
  return ReadUnsigned(position, reference_size_, offset_table_);
}

bool Plist::Fits(std::uint64_t position, std::uint64_t length, std::uint64_t width) const {
  if (position > offset_table_) return false;
  return length <= (offset_table_ - position) / width;
}

bool Plist::ReadCount(std::uint64_t position, std::uint64_t& count, std::uint64_t& contents) const {
  const std::optional<std::uint64_t> marker = ReadUnsigned(position, 1, offset_table_);
  if (!marker) return false;
  count = *marker & 0xF;
  contents = position + 1;
  if (count != kCountFollows) return true;

  // The long form: an integer object of 1, 2, 4 or 8 bytes holds the count.
  const std::optional<std::uint64_t> int_marker = ReadUnsigned(contents, 1, offset_table_);
  if (!int_marker || (*int_marker >> 4) != kTypeInteger) return false;
  const std::uint64_t size = std::uint64_t(1) << (*int_marker & 0xF);
  if (!ValidIntegerSize(size)) return false;
  const std::optional<std::uint64_t> value = ReadUnsigned(contents + 1, size, offset_table_);
  if (!value) return false;
  count = *value;
  contents += 1 + size;
  return true;
}

std::optional<std::u16string> Plist::ReadString(std::uint64_t index, std::uint64_t longest) const {
  const std::optional<std::uint64_t> start = ObjectStart(index);
  if (!start) return std::nullopt;
  const unsigned type = static_cast<unsigned char>(bytes_[*start]) >> 4;
  if (type != kTypeAsciiString && type != kTypeUtf16String) return std::nullopt;
  std::uint64_t length = 0, contents = 0;
  if (!ReadCount(*start, length, contents) || length > longest) return std::nullopt;

  const std::uint64_t width = type == kTypeAsciiString ? 1 : 2;
  if (!Fits(contents, length, width)) return std::nullopt;
  std::u16string text;
  text.reserve(length);
  for (std::uint64_t i = 0; i < length; ++i) {
    const std::uint64_t at = contents + i * width;
    if (width == 1) {
      // ASCII by the format's rules; a stray high byte is taken as Latin-1.
      text.push_back(char16_t(static_cast<unsigned char>(bytes_[at])));
    } else {
      text.push_back(char16_t((static_cast<unsigned char>(bytes_[at]) << 8) |
                              static_cast<unsigned char>(bytes_[at + 1])));
    }
  }
  return text;
}

std::optional<std::u16string> Plist::TopUrl() const {
  const std::optional<std::uint64_t> start = ObjectStart(top_object_);
  if (!start || (static_cast<unsigned char>(bytes_[*start]) >> 4) != kTypeDictionary) {
    return std::nullopt;
  }
  std::uint64_t count = 0, keys = 0;
  if (!ReadCount(*start, count, keys)) return std::nullopt;
  // The keys' references, then the values' references: 2 * count references in all.
  if (!Fits(keys, count, reference_size_) ||
      !Fits(keys + count * reference_size_, count, reference_size_)) {
    return std::nullopt;
  }
  const std::uint64_t values = keys + count * reference_size_;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::optional<std::uint64_t> key = ReadReference(keys + i * reference_size_);
    if (!key) return std::nullopt;
    // Only strings are read, never containers, so a reference back to the dictionary (or any
    // other loop) is just an object of the wrong type. Longer keys are not even decoded: many
    // keys sharing one long string must not cost the square of the file's size.
    const std::optional<std::u16string> name = ReadString(*key, kUrlKey.size());
    if (!name || !EqualsNoCase(*name, kUrlKey)) continue;
    const std::optional<std::uint64_t> value = ReadReference(values + i * reference_size_);
    if (!value) return std::nullopt;
    return ReadString(*value);
  }
  return std::nullopt;
}

}  // namespace

std::u16string UrlFromBinaryPlist(std::string_view bytes) {
  Plist plist(bytes);
  if (!plist.ReadTrailer()) return std::u16string();
  return plist.TopUrl().value_or(std::u16string());
}

}  // namespace linkvane::Module_Main
