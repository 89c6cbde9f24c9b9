#pragma once

// A text file opened for sequential reading, the way the shortcut readers and the browser.dat
// reader see files: read line by line or whole, or a piece at a time so that a huge file or a
// huge line is never held in memory at once.
//
// A TextStream gives the text decoded to UTF-16 (see text_decoding.h). A ByteTextStream gives
// the file's own bytes, for files whose encoding reads every ASCII character as itself (UTF-8
// and the single-byte code pages): the readers look for their ASCII markers in the bytes and
// decode only the value they find, once the whole file has told its encoding.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/platform.h"
#include "platform/text_decoding.h"

namespace linkvane {

template <typename Char>
class BasicTextStream {
 public:
  using Text = std::basic_string<Char>;
  using View = std::basic_string_view<Char>;

  BasicTextStream(BasicTextStream&&) = default;
  BasicTextStream& operator=(BasicTextStream&&) = default;
  BasicTextStream(const BasicTextStream&) = delete;
  BasicTextStream& operator=(const BasicTextStream&) = delete;

  // Opens the existing file at path for reading as UTF-16 text; raises when it cannot be
  // opened. (Only TextStream has it; OpenShortcutText below chooses for the readers.)
  static BasicTextStream Open(Platform& platform, const std::u16string& path);

  // True when no text is left to read.
  bool AtEndOfStream();
  // Reads one line without its end (a CR, an LF or a CR LF); raises at the end of the stream.
  Text ReadLine();
  // Reads all the text that is left.
  Text ReadAll();

  // Reads the next piece of the current line: the rest of the line, or as much of it as one
  // read of the file holds. line_ended tells whether the piece finishes the line (its line end,
  // or the end of the text, has been passed). At the end of the text the piece is empty and
  // ends the line. The piece is valid until the next call on the stream.
  View ReadLinePiece(bool& line_ended);
  // Reads the next piece of the text that is left; empty only at its end. The piece is valid
  // until the next call on the stream.
  View ReadPiece();
  // The text at hand that is not yet read (about one read of the file) without reading it;
  // empty only at the end. It is valid until the next call on the stream.
  View PeekPiece();
  // Reads the lines in what PeekPiece gave up to the line end at index end, a CR or an LF,
  // and passes over them.
  void SkipLinesThrough(std::size_t end);

  // The text that units taken from this stream stand for. A ByteTextStream decodes them in the
  // file's encoding, which all of its bytes decide: what was not read yet is read (and only
  // checked) first, so nothing is left to read afterwards.
  std::u16string Decode(View units);

  // Releases the file; any later read raises.
  void Close();

 private:
  friend std::variant<BasicTextStream<char16_t>, BasicTextStream<char>> OpenShortcutText(
      Platform& platform, const std::u16string& path);

  BasicTextStream(Platform& platform, std::unique_ptr<ByteReader> reader, TextEncoding encoding,
                  bool encoding_known);
  // Reads, and for UTF-16 text decodes, more of the file into the buffer; false when the file
  // has no more bytes.
  bool Fill();
  // When the buffer is used up, replaces it with the next text; false at the end.
  bool HasText();
  // Moves past the line end at index end of the buffer, the LF of a CR LF included.
  void PassLineEnd(std::size_t end);
  // Passes over the LF of a CR LF whose CR ended the buffer.
  void SkipLineFeedAfterCarriageReturn();
  void RequireOpen() const;

  std::unique_ptr<ByteReader> reader_;
  Platform* platform_;
  StreamDecoder decoder_;     // UTF-16 text: turns the bytes into text
  TextEncoding encoding_;     // bytes: UTF-8 or ANSI, once encoding_known_
  bool encoding_known_;       // bytes: by a byte-order mark, or once all bytes were checked
  Utf8Validator validator_;   // bytes: whether all the bytes read so far are UTF-8
  std::vector<char> chunk_;   // the bytes of one read, reused
  Text buffer_;               // UTF-16 text: the text of about one read
  View text_;                 // the text at hand (of buffer_, or of chunk_ for bytes)
  std::size_t position_ = 0;  // what precedes it in text_ is read
  bool exhausted_ = false;
  bool after_carriage_return_ = false;
};

using TextStream = BasicTextStream<char16_t>;
using ByteTextStream = BasicTextStream<char>;

template <>
TextStream TextStream::Open(Platform& platform, const std::u16string& path);

// Opens a shortcut file for the readers: as bytes when its encoding reads ASCII as itself (a
// UTF-8 mark, or no mark and a single-byte ANSI code page), else as UTF-16 text (a UTF-16 mark;
// a double-byte code page, whose second bytes include the markers' letters, is decoded first).
std::variant<TextStream, ByteTextStream> OpenShortcutText(Platform& platform,
                                                          const std::u16string& path);

}  // namespace linkvane
