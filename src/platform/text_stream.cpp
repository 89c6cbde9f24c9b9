#include "platform/text_stream.h"

#include <string_view>
#include <vector>

#include "text/case_insensitive.h"

namespace linkvane {

namespace {

constexpr std::size_t kChunkSize = std::size_t{64} * 1024;
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

// Decides the file's encoding (reading it all when it has no byte-order mark) and leaves the
// reader at the first byte of text, after any mark.
TextEncoding DetectEncoding(ByteReader& reader, std::vector<char>& chunk) {
  std::size_t got = ReadFully(reader, chunk.data(), chunk.size());
  if (const auto bom = DetectByteOrderMark(std::string_view(chunk.data(), got))) {
    reader.Rewind();
    ReadFully(reader, chunk.data(), bom->length);
    return bom->encoding;
  }
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

TextStream TextStream::Open(Platform& platform, const std::u16string& path) {
  std::unique_ptr<ByteReader> reader = platform.OpenFileForReading(path);
  std::vector<char> chunk(kChunkSize);
  const TextEncoding encoding = DetectEncoding(*reader, chunk);
  return TextStream(platform, std::move(reader), encoding, std::move(chunk));
}

TextStream::TextStream(Platform& platform, std::unique_ptr<ByteReader> reader,
                       TextEncoding encoding, std::vector<char> chunk)
    : reader_(std::move(reader)), decoder_(platform, encoding), chunk_(std::move(chunk)) {}

void TextStream::RequireOpen() const {
  if (!reader_) throw PlatformError(kErrorInvalidHandle, u"The text stream is closed.");
}

bool TextStream::Fill() {
  if (exhausted_) return false;
  const std::size_t size_before = buffer_.size();
  while (buffer_.size() == size_before && !exhausted_) {
    const std::size_t got = reader_->Read(chunk_.data(), chunk_.size());
    if (got == 0) {
      decoder_.Finish(buffer_);
      exhausted_ = true;
    } else {
      decoder_.Feed(std::string_view(chunk_.data(), got), buffer_);
    }
  }
  return buffer_.size() > size_before;
}

bool TextStream::HasText() {
  if (position_ < buffer_.size()) return true;
  // Only the text of about one read is held, however long the file or its lines.
  buffer_.clear();
  position_ = 0;
  return Fill();
}

void TextStream::SkipLineFeedAfterCarriageReturn() {
  if (!after_carriage_return_) return;
  after_carriage_return_ = false;
  if (HasText() && buffer_[position_] == u'\n') ++position_;
}

bool TextStream::AtEndOfStream() {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  return !HasText();
}

std::u16string_view TextStream::ReadLinePiece(bool& line_ended) {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  line_ended = true;
  if (!HasText()) return std::u16string_view();
  const std::u16string_view rest = std::u16string_view(buffer_).substr(position_);
  const std::size_t end = FindEitherUnit(rest, u'\r', u'\n');
  if (end == kNotFound) {
    position_ = buffer_.size();
    line_ended = false;
    return rest;
  }
  PassLineEnd(position_ + end);
  return rest.substr(0, end);
}

void TextStream::PassLineEnd(std::size_t end) {
  position_ = end + 1;
  if (buffer_[end] == u'\r') {
    // The LF of a CR LF pair may come with the next read.
    if (position_ == buffer_.size()) {
      after_carriage_return_ = true;
    } else if (buffer_[position_] == u'\n') {
      ++position_;
    }
  }
}

std::u16string_view TextStream::PeekPiece() {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  if (!HasText()) return std::u16string_view();
  return std::u16string_view(buffer_).substr(position_);
}

void TextStream::SkipLinesThrough(std::size_t end) {
  RequireOpen();
  PassLineEnd(position_ + end);
}

std::u16string_view TextStream::ReadPiece() {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  if (!HasText()) return std::u16string_view();
  const std::u16string_view rest = std::u16string_view(buffer_).substr(position_);
  position_ = buffer_.size();
  return rest;
}

std::u16string TextStream::ReadLine() {
  if (AtEndOfStream()) throw PlatformError(kErrorEndOfFile, u"Input past end of file.");
  std::u16string line;
  for (bool ended = false; !ended;) line.append(ReadLinePiece(ended));
  return line;
}

std::u16string TextStream::ReadAll() {
  std::u16string rest;
  for (std::u16string_view piece = ReadPiece(); !piece.empty(); piece = ReadPiece()) {
    rest.append(piece);
  }
  return rest;
}

void TextStream::Close() {
  RequireOpen();
  reader_.reset();
}

}  // namespace linkvane
