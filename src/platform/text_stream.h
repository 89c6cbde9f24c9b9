#pragma once

// A text file opened for sequential reading, the way the shortcut readers and the browser.dat
// reader see files: decoded to UTF-16 (see text_decoding.h), read line by line or whole.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/text_decoding.h"

namespace linkvane {

class TextStream {
 public:
  // Opens the existing file at path for reading as text; raises when it cannot be opened.
  static TextStream Open(Platform& platform, const std::u16string& path);

  TextStream(TextStream&&) = default;
  TextStream& operator=(TextStream&&) = default;
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;

  // True when no text is left to read.
  bool AtEndOfStream();
  // Reads one line without its end (a CR, an LF or a CR LF); raises at the end of the stream.
  std::u16string ReadLine();
  // Reads all the text that is left.
  std::u16string ReadAll();
  // Releases the file; any later read raises.
  void Close();

 private:
  TextStream(Platform& platform, std::unique_ptr<ByteReader> reader, TextEncoding encoding,
             std::vector<char> chunk);
  // Forgets the text already read, so a long file is held a piece at a time.
  void DropConsumedText();
  // Decodes more of the file into the buffer; false when the file has no more bytes.
  bool Fill();
  void RequireOpen() const;

  std::unique_ptr<ByteReader> reader_;
  StreamDecoder decoder_;
  std::vector<char> chunk_;  // the bytes of one read, reused
  std::u16string buffer_;
  std::size_t position_ = 0;
  bool exhausted_ = false;
};

}  // namespace linkvane
