#pragma once

// A shortcut file opened for the URL readers, who look only for ASCII markers: its text is given
// as bytes in which every ASCII character stands for itself and no other character has an ASCII
// byte. A file in UTF-8 or in a single-byte code page is given as it is, so it is read once and
// never decoded whole; only the values found are decoded, once all of its bytes have told its
// encoding (see text_decoding.h). A file in UTF-16, or in a double-byte code page (whose second
// bytes include the markers' letters), is decoded first and its text given one byte sequence a
// UTF-16 unit (as UTF-8 writes the units below U+10000, surrogates too), which Decode undoes.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/text_decoding.h"

namespace linkvane {

class ByteTextStream {
 public:
  // When a file without a byte-order mark is UTF-8 or in the code page: decided as the file is
  // read, and known once it has been read (kDecideLast, for a reader that takes one value), or
  // by reading all of it first (kDecideFirst, for one that decodes as it goes).
  enum Decision { kDecideLast, kDecideFirst };

  // Opens the existing file at path for reading; raises when it cannot be opened.
  static ByteTextStream Open(Platform& platform, const std::u16string& path,
                             Decision decision = kDecideLast);

  ByteTextStream(ByteTextStream&&) = default;
  ByteTextStream& operator=(ByteTextStream&&) = default;
  ByteTextStream(const ByteTextStream&) = delete;
  ByteTextStream& operator=(const ByteTextStream&) = delete;

  // True when no text is left to read.
  bool AtEndOfStream();
  // Reads the next piece of the current line: the rest of the line, or as much of it as one
  // read of the file holds. line_ended tells whether the piece finishes the line (its line end,
  // or the end of the text, has been passed). At the end of the text the piece is empty and
  // ends the line. The piece is valid until the next call on the stream.
  std::string_view ReadLinePiece(bool& line_ended);
  // Reads the next piece of the text that is left; empty only at its end.
  std::string_view ReadPiece();
  // The text at hand that is not yet read, without reading it; empty only at the end.
  std::string_view PeekPiece();
  // Reads the lines in what PeekPiece gave up to the line end at index end, a CR or an LF,
  // and passes over them.
  void SkipLinesThrough(std::size_t end);

  // The text that bytes taken from this stream stand for. When the file's encoding is still
  // open, the rest of the file is read (and only checked) first, so nothing is left to read.
  std::u16string Decode(std::string_view bytes);

  // Releases the file; any later read raises.
  void Close();

 private:
  enum class Form { kUtf8, kAnsi, kUtf8OrAnsi, kUnits };

  ByteTextStream(Platform& platform, std::unique_ptr<ByteReader> reader, Form form,
                 TextEncoding decoded);
  // Reads the rest of the file, only checking it, and decides between UTF-8 and the code page.
  void Decide();
  // Reads the next bytes of the file into chunk_ and returns their number.
  std::size_t ReadChunk();
  // Reads the next piece of the file into text_; false when the file has no more bytes.
  bool Fill();
  bool HasText();
  // Moves past the line end at index end of text_, the LF of a CR LF included.
  void PassLineEnd(std::size_t end);
  // Passes over the LF of a CR LF whose CR ended the text at hand.
  void SkipLineFeedAfterCarriageReturn();
  void RequireOpen() const;

  std::unique_ptr<ByteReader> reader_;
  Platform* platform_;
  Form form_;
  StreamDecoder decoder_;     // kUnits: how the file's bytes become UTF-16
  Utf8Validator validator_;   // kUtf8OrAnsi: whether all the bytes read so far are UTF-8
  std::vector<char> chunk_;   // the bytes of one read, reused
  std::u16string units_;      // kUnits: the decoded text of one read
  std::string written_;       // kUnits: that text as bytes
  std::string_view text_;     // the text at hand, in chunk_ or written_
  std::size_t position_ = 0;  // what precedes it in text_ is read
  bool exhausted_ = false;
  bool filled_ = false;  // the last read filled chunk_
  bool after_carriage_return_ = false;
};

}  // namespace linkvane
