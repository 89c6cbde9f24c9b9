#pragma once

// How Linkvane turns the bytes of a text file into UTF-16: a byte-order mark names the
// encoding; otherwise a file whose bytes are all valid UTF-8 is UTF-8 (the encoding of .desktop
// and .webloc files, and of Notepad's files today), and anything else is in the ANSI code page.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace linkvane {

enum class TextEncoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

struct ByteOrderMark {
  TextEncoding encoding;
  std::size_t length;
};

// The byte-order mark at the start of bytes, if there is one.
std::optional<ByteOrderMark> DetectByteOrderMark(std::string_view bytes);

// Tells, a piece at a time, whether a byte sequence is valid UTF-8 throughout.
class Utf8Validator {
 public:
  // Checks the next piece of the sequence.
  void Feed(std::string_view bytes);
  // True when every byte fed so far forms complete, valid UTF-8.
  bool Valid() const { return valid_ && remaining_ == 0; }
  // True once a byte broke the sequence; no later piece can make it valid again. (A piece that
  // ends inside a character is not broken: the next piece may complete it.)
  bool Broken() const { return !valid_; }

 private:
  bool valid_ = true;
  int remaining_ = 0;
  unsigned char lower_ = 0x80, upper_ = 0xBF;
};

// Decodes a byte sequence a piece at a time; a piece may end inside a character.
class StreamDecoder {
 public:
  StreamDecoder(Platform& platform, TextEncoding encoding)
      : platform_(&platform), encoding_(encoding) {}

  // Appends the text of the next piece of bytes to out.
  void Feed(std::string_view bytes, std::u16string& out);
  // Appends whatever an incomplete final character stands for (U+FFFD) to out.
  void Finish(std::u16string& out);

 private:
  void FeedUtf8(std::string_view bytes, std::u16string& out);
  void FeedUtf16(std::string_view bytes, std::u16string& out);
  void FeedAnsi(std::string_view bytes, std::u16string& out);

  Platform* platform_;
  TextEncoding encoding_;
  std::string carry_;  // bytes of a character that the next piece completes
  std::uint32_t code_point_ = 0;
  int remaining_ = 0;
  unsigned char lower_ = 0x80, upper_ = 0xBF;
};

// Decodes a whole file's bytes as the rules above say.
std::u16string DecodeText(Platform& platform, std::string_view bytes);

}  // namespace linkvane
