#include "platform/text_stream.h"

#include <string_view>
#include <type_traits>
#include <vector>

#include "text/case_insensitive.h"

namespace linkvane {

namespace {

// One read of the file. Larger reads cost fewer calls into the system, which under Wine are
// dear; this much still stays in the processor's cache while it is searched.
constexpr std::size_t kChunkSize = std::size_t{256} * 1024;
constexpr std::int32_t kErrorInvalidHandle = 6;  // ERROR_INVALID_HANDLE

// Reads up to size bytes, fewer only at the end of the file.
std::size_t ReadFully(ByteReader& reader, char* buffer, std::size_t size) {
  std::size_t total = 0;
  while (total < size) {
    const std::size_t got = reader.Read(buffer + total, size - total);
    if (got == 0) break;
    total += got;
  }
  return total;
}

// Decides the encoding of a file without a byte-order mark whose first got bytes are in chunk,
// reading it all, and leaves the reader at its first byte.
TextEncoding DetectEncoding(ByteReader& reader, std::vector<char>& chunk, std::size_t got) {
  Utf8Validator validator;
  while (got > 0 && !validator.Broken()) {
    validator.Feed(std::string_view(chunk.data(), got));
    got = reader.Read(chunk.data(), chunk.size());
  }
  const bool utf8 = validator.Valid() && got == 0;
  reader.Rewind();
  return utf8 ? TextEncoding::kUtf8 : TextEncoding::kAnsi;
}

}  // namespace

template <>
TextStream TextStream::Open(Platform& platform, const std::u16string& path) {
  std::unique_ptr<ByteReader> reader = platform.OpenFileForReading(path);
  std::vector<char> chunk(kChunkSize);
  const std::size_t got = ReadFully(*reader, chunk.data(), chunk.size());
  TextEncoding encoding;
  if (const auto bom = DetectByteOrderMark(std::string_view(chunk.data(), got))) {
    reader->Rewind();
    ReadFully(*reader, chunk.data(), bom->length);
    encoding = bom->encoding;
  } else {
    encoding = DetectEncoding(*reader, chunk, got);
  }
  TextStream stream(platform, std::move(reader), encoding, true);
  stream.chunk_ = std::move(chunk);
  return stream;
}

std::variant<TextStream, ByteTextStream> OpenShortcutText(Platform& platform,
                                                          const std::u16string& path) {
  std::unique_ptr<ByteReader> reader = platform.OpenFileForReading(path);
  std::vector<char> chunk(kChunkSize);
  const std::string_view first(chunk.data(), ReadFully(*reader, chunk.data(), chunk.size()));
  const std::optional<ByteOrderMark> bom = DetectByteOrderMark(first);
  const bool utf8_mark = bom && bom->encoding == TextEncoding::kUtf8;
  if (!utf8_mark && (bom || !platform.AnsiIsSingleByte())) {
    reader.reset();
    return TextStream::Open(platform, path);
  }
  // The bytes read so far are the stream's first text: the file is read once.
  ByteTextStream stream(platform, std::move(reader), TextEncoding::kUtf8, utf8_mark);
  if (!utf8_mark) stream.validator_.Feed(first);
  stream.text_ = first;
  stream.chunk_ = std::move(chunk);  // moving a vector keeps its storage, and so first
  stream.position_ = utf8_mark ? bom->length : 0;
  stream.exhausted_ = first.empty();
  return stream;
}

template <typename Char>
BasicTextStream<Char>::BasicTextStream(Platform& platform, std::unique_ptr<ByteReader> reader,
                                       TextEncoding encoding, bool encoding_known)
    : reader_(std::move(reader)),
      platform_(&platform),
      decoder_(platform, encoding),
      encoding_(encoding),
      encoding_known_(encoding_known) {}

template <typename Char>
void BasicTextStream<Char>::RequireOpen() const {
  if (!reader_) throw PlatformError(kErrorInvalidHandle, u"The text stream is closed.");
}

template <typename Char>
bool BasicTextStream<Char>::Fill() {
  text_ = View();
  if (exhausted_) return false;
  if constexpr (std::is_same_v<Char, char>) {
    // The bytes are read where they are searched, with no copy.
    std::size_t got = 0;
    while (got == 0 && !exhausted_) {
      got = reader_->Read(chunk_.data(), chunk_.size());
      exhausted_ = got == 0;
    }
    text_ = View(chunk_.data(), got);
    if (!encoding_known_ && !validator_.Broken()) validator_.Feed(text_);
  } else {
    // Only the text of about one read is held, however long the file or its lines.
    buffer_.clear();
    while (buffer_.empty() && !exhausted_) {
      const std::size_t got = reader_->Read(chunk_.data(), chunk_.size());
      if (got == 0) {
        decoder_.Finish(buffer_);
        exhausted_ = true;
      } else {
        decoder_.Feed(std::string_view(chunk_.data(), got), buffer_);
      }
    }
    text_ = buffer_;
  }
  return !text_.empty();
}

template <typename Char>
bool BasicTextStream<Char>::HasText() {
  if (position_ < text_.size()) return true;
  position_ = 0;
  return Fill();
}

template <typename Char>
void BasicTextStream<Char>::SkipLineFeedAfterCarriageReturn() {
  if (!after_carriage_return_) return;
  after_carriage_return_ = false;
  if (HasText() && text_[position_] == Char('\n')) ++position_;
}

template <typename Char>
bool BasicTextStream<Char>::AtEndOfStream() {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  return !HasText();
}

template <typename Char>
auto BasicTextStream<Char>::ReadLinePiece(bool& line_ended) -> View {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  line_ended = true;
  if (!HasText()) return View();
  const View rest = text_.substr(position_);
  const std::size_t end = FindEitherUnit(rest, Char('\r'), Char('\n'));
  if (end == kNotFound) {
    position_ = text_.size();
    line_ended = false;
    return rest;
  }
  PassLineEnd(position_ + end);
  return rest.substr(0, end);
}

template <typename Char>
void BasicTextStream<Char>::PassLineEnd(std::size_t end) {
  position_ = end + 1;
  if (text_[end] == Char('\r')) {
    // The LF of a CR LF pair may come with the next read.
    if (position_ == text_.size()) {
      after_carriage_return_ = true;
    } else if (text_[position_] == Char('\n')) {
      ++position_;
    }
  }
}

template <typename Char>
auto BasicTextStream<Char>::PeekPiece() -> View {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  if (!HasText()) return View();
  return text_.substr(position_);
}

template <typename Char>
void BasicTextStream<Char>::SkipLinesThrough(std::size_t end) {
  RequireOpen();
  PassLineEnd(position_ + end);
}

template <typename Char>
auto BasicTextStream<Char>::ReadPiece() -> View {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  if (!HasText()) return View();
  const View rest = text_.substr(position_);
  position_ = text_.size();
  return rest;
}

template <typename Char>
auto BasicTextStream<Char>::ReadLine() -> Text {
  if (AtEndOfStream()) throw PlatformError(kErrorEndOfFile, u"Input past end of file.");
  Text line;
  for (bool ended = false; !ended;) line.append(ReadLinePiece(ended));
  return line;
}

template <typename Char>
auto BasicTextStream<Char>::ReadAll() -> Text {
  Text rest;
  for (View piece = ReadPiece(); !piece.empty(); piece = ReadPiece()) rest.append(piece);
  return rest;
}

template <typename Char>
std::u16string BasicTextStream<Char>::Decode(View units) {
  if constexpr (std::is_same_v<Char, char16_t>) {
    return std::u16string(units);
  } else {
    if (!encoding_known_) {
      // Any byte that is not UTF-8 makes the file ANSI; only a file that is UTF-8 to its end
      // is read to its end.
      RequireOpen();
      while (!exhausted_ && !validator_.Broken()) {
        const std::size_t got = reader_->Read(chunk_.data(), chunk_.size());
        exhausted_ = got == 0;
        validator_.Feed(std::string_view(chunk_.data(), got));
      }
      text_ = View();
      position_ = 0;
      exhausted_ = true;
      encoding_ = validator_.Valid() ? TextEncoding::kUtf8 : TextEncoding::kAnsi;
      encoding_known_ = true;
    }
    if (encoding_ == TextEncoding::kAnsi) return platform_->AnsiToUtf16(units);
    std::u16string text;
    StreamDecoder decoder(*platform_, TextEncoding::kUtf8);
    decoder.Feed(units, text);
    decoder.Finish(text);
    return text;
  }
}

template <typename Char>
void BasicTextStream<Char>::Close() {
  RequireOpen();
  reader_.reset();
}

template class BasicTextStream<char16_t>;
template class BasicTextStream<char>;

}  // namespace linkvane
