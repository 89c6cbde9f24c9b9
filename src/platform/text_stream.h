#pragma once

// A text file opened for sequential reading, decoded to UTF-16 (see text_decoding.h), the way
// the browser.dat reader sees it: line by line or whole. Its encoding is decided, from all of
// its bytes, before the first line is given.

#include <string>

#include "platform/byte_text_stream.h"
#include "platform/platform.h"

namespace linkvane {

class TextStream {
 public:
  // Opens the existing file at path for reading as text; raises when it cannot be opened.
  static TextStream Open(Platform& platform, const std::u16string& path);

  // True when no text is left to read.
  bool AtEndOfStream() { return bytes_.AtEndOfStream(); }
  // Reads one line without its end (a CR, an LF or a CR LF); raises at the end of the stream.
  std::u16string ReadLine();
  // Reads all the text that is left.
  std::u16string ReadAll();
  // Releases the file; any later read raises.
  void Close() { bytes_.Close(); }

 private:
  TextStream(Platform& platform, const std::u16string& path)
      : bytes_(ByteTextStream::Open(platform, path, ByteTextStream::kDecideFirst)) {}

  ByteTextStream bytes_;
};

}  // namespace linkvane
