#pragma once

// A text file opened for sequential reading, the way the shortcut readers and the browser.dat
// reader see files: decoded to UTF-16 (see text_decoding.h), read line by line or whole, or a
// piece at a time so that a huge file or a huge line is never held in memory at once.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
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

  // Reads the next piece of the current line: the rest of the line, or as much of it as one
  // read of the file holds. line_ended tells whether the piece finishes the line (its line end,
  // or the end of the text, has been passed). At the end of the text the piece is empty and
  // ends the line. The piece is valid until the next call on the stream.
  std::u16string_view ReadLinePiece(bool& line_ended);
  // Reads the next piece of the text that is left; empty only at its end. The piece is valid
  // until the next call on the stream.
  std::u16string_view ReadPiece();
  // The text at hand that is not yet read (about one read of the file) without reading it;
  // empty only at the end. It is valid until the next call on the stream.
  std::u16string_view PeekPiece();
  // Reads the lines in what PeekPiece gave up to the line end at index end, a CR or an LF,
  // and passes over them.
  void SkipLinesThrough(std::size_t end);

  // Releases the file; any later read raises.
  void Close();

 private:
  TextStream(Platform& platform, std::unique_ptr<ByteReader> reader, TextEncoding encoding,
             std::vector<char> chunk);
  // Decodes more of the file into the buffer; false when the file has no more bytes.
  bool Fill();
  // When the buffer is used up, replaces it with the next decoded text; false at the end.
  bool HasText();
  // Moves past the line end at index end of the buffer, the LF of a CR LF included.
  void PassLineEnd(std::size_t end);
  // Passes over the LF of a CR LF whose CR ended the buffer.
  void SkipLineFeedAfterCarriageReturn();
  void RequireOpen() const;

  std::unique_ptr<ByteReader> reader_;
  StreamDecoder decoder_;
  std::vector<char> chunk_;  // the bytes of one read, reused
  std::u16string buffer_;    // decoded text of about one read; what precedes position_ is read
  std::size_t position_ = 0;
  bool exhausted_ = false;
  bool after_carriage_return_ = false;
};

}  // namespace linkvane
