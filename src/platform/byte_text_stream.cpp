#include "platform/byte_text_stream.h"

#include <optional>

#include "text/case_insensitive.h"

namespace linkvane {

namespace {

// One read of the file. Larger reads cost fewer calls into the system, which under Wine are
// dear; this much still stays in the processor's cache while it is searched. The first read is
// smaller: most shortcut files are far smaller still, and a large buffer costs the start-up
// the pages it takes.
constexpr std::size_t kFirstChunkSize = std::size_t{16} * 1024;
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

// Writes each UTF-16 unit as one to three bytes, as UTF-8 writes a code point below U+10000.
void WriteUnits(std::u16string_view units, std::string& out) {
  out.clear();
  for (const char16_t c : units) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
}

// The units that WriteUnits wrote as bytes; a unit cut short at the end is left out.
std::u16string ReadUnits(std::string_view bytes) {
  std::u16string units;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
    if (i + length > bytes.size()) break;
    auto next = [&](std::size_t k) { return static_cast<unsigned char>(bytes[i + k]) & 0x3Fu; };
    units += length == 1   ? char16_t(b)
             : length == 2 ? char16_t(((b & 0x1Fu) << 6) | next(1))
                           : char16_t(((b & 0x0Fu) << 12) | (next(1) << 6) | next(2));
    i += length;
  }
  return units;
}

}  // namespace

ByteTextStream ByteTextStream::Open(Platform& platform, const std::u16string& path,
                                    Decision decision) {
  std::unique_ptr<ByteReader> reader = platform.OpenFileForReading(path);
  std::vector<char> chunk(kFirstChunkSize);
  const std::string_view first(chunk.data(), ReadFully(*reader, chunk.data(), chunk.size()));
  const std::optional<ByteOrderMark> bom = DetectByteOrderMark(first);
  const bool utf8_mark = bom && bom->encoding == TextEncoding::kUtf8;
  ByteTextStream stream(platform, std::move(reader),
                        utf8_mark ? Form::kUtf8
                        : bom     ? Form::kUnits
                                  : Form::kUtf8OrAnsi,
                        bom ? bom->encoding : TextEncoding::kAnsi);
  // The bytes read so far are the stream's first text: the file is read once.
  if (stream.form_ == Form::kUtf8OrAnsi) stream.validator_.Feed(first);
  stream.text_ = first;
  stream.position_ = bom ? bom->length : 0;
  stream.exhausted_ = first.size() < chunk.size();  // ReadFully stops short only at the end
  stream.filled_ = !stream.exhausted_;
  stream.chunk_ = std::move(chunk);  // moving a vector keeps its storage, and so first
  if (stream.form_ == Form::kUtf8OrAnsi &&
      (decision == kDecideFirst || !platform.AnsiIsSingleByte())) {
    // All of the bytes decide between UTF-8, which is read as it is, and the code page, whose
    // text is read as it is too when it has one byte a character; then the file is read again.
    stream.Decide();
    if (stream.form_ == Form::kAnsi && !platform.AnsiIsSingleByte()) stream.form_ = Form::kUnits;
    stream.reader_->Rewind();
    stream.exhausted_ = false;
  }
  if (stream.form_ == Form::kUnits) {
    // Decoded from the start, after the mark; the text comes with the first Fill.
    stream.text_ = std::string_view();
    stream.reader_->Rewind();
    stream.exhausted_ = false;
    if (bom) ReadFully(*stream.reader_, stream.chunk_.data(), bom->length);
  }
  return stream;
}

ByteTextStream::ByteTextStream(Platform& platform, std::unique_ptr<ByteReader> reader, Form form,
                               TextEncoding decoded)
    : reader_(std::move(reader)), platform_(&platform), form_(form), decoder_(platform, decoded) {}

void ByteTextStream::RequireOpen() const {
  if (!reader_) throw PlatformError(kErrorInvalidHandle, u"The text stream is closed.");
}

std::size_t ByteTextStream::ReadChunk() {
  // Only a file larger than the first read needs the larger buffer.
  if (filled_ && chunk_.size() < kChunkSize) chunk_.resize(kChunkSize);
  const std::size_t got = reader_->Read(chunk_.data(), chunk_.size());
  filled_ = got == chunk_.size();
  return got;
}

bool ByteTextStream::Fill() {
  text_ = std::string_view();
  if (exhausted_) return false;
  if (form_ != Form::kUnits) {
    // The bytes are searched where they were read, with no copy.
    std::size_t got = 0;
    while (got == 0 && !exhausted_) {
      got = ReadChunk();
      exhausted_ = got == 0;
    }
    text_ = std::string_view(chunk_.data(), got);
    if (form_ == Form::kUtf8OrAnsi && !validator_.Broken()) validator_.Feed(text_);
    return got > 0;
  }
  // Only the text of about one read is held, however long the file or its lines.
  units_.clear();
  while (units_.empty() && !exhausted_) {
    const std::size_t got = ReadChunk();
    if (got == 0) {
      decoder_.Finish(units_);
      exhausted_ = true;
    } else {
      decoder_.Feed(std::string_view(chunk_.data(), got), units_);
    }
  }
  WriteUnits(units_, written_);
  text_ = written_;
  return !text_.empty();
}

bool ByteTextStream::HasText() {
  if (position_ < text_.size()) return true;
  position_ = 0;
  return Fill();
}

void ByteTextStream::SkipLineFeedAfterCarriageReturn() {
  if (!after_carriage_return_) return;
  after_carriage_return_ = false;
  if (HasText() && text_[position_] == '\n') ++position_;
}

bool ByteTextStream::AtEndOfStream() {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  return !HasText();
}

std::string_view ByteTextStream::ReadLinePiece(bool& line_ended) {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  line_ended = true;
  if (!HasText()) return std::string_view();
  const std::string_view rest = text_.substr(position_);
  const std::size_t end = FindEitherUnit(rest, '\r', '\n');
  if (end == kNotFound) {
    position_ = text_.size();
    line_ended = false;
    return rest;
  }
  PassLineEnd(position_ + end);
  return rest.substr(0, end);
}

void ByteTextStream::PassLineEnd(std::size_t end) {
  position_ = end + 1;
  if (text_[end] == '\r') {
    // The LF of a CR LF pair may come with the next read.
    if (position_ == text_.size()) {
      after_carriage_return_ = true;
    } else if (text_[position_] == '\n') {
      ++position_;
    }
  }
}

std::string_view ByteTextStream::PeekPiece() {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  if (!HasText()) return std::string_view();
  return text_.substr(position_);
}

void ByteTextStream::SkipLinesThrough(std::size_t end) {
  RequireOpen();
  PassLineEnd(position_ + end);
}

std::string_view ByteTextStream::ReadPiece() {
  RequireOpen();
  SkipLineFeedAfterCarriageReturn();
  if (!HasText()) return std::string_view();
  const std::string_view rest = text_.substr(position_);
  position_ = text_.size();
  return rest;
}

void ByteTextStream::Decide() {
  // Any byte that is not UTF-8 makes the file ANSI; only a file that is UTF-8 to its end is read
  // to its end.
  RequireOpen();
  while (!exhausted_ && !validator_.Broken()) {
    const std::size_t got = ReadChunk();
    exhausted_ = got == 0;
    validator_.Feed(std::string_view(chunk_.data(), got));
  }
  text_ = std::string_view();
  position_ = 0;
  exhausted_ = true;
  form_ = validator_.Valid() ? Form::kUtf8 : Form::kAnsi;
}

std::u16string ByteTextStream::Decode(std::string_view bytes) {
  if (form_ == Form::kUtf8OrAnsi) Decide();
  if (form_ == Form::kUnits) return ReadUnits(bytes);
  if (form_ == Form::kAnsi) return platform_->AnsiToUtf16(bytes);
  std::u16string text;
  StreamDecoder decoder(*platform_, TextEncoding::kUtf8);
  decoder.Feed(bytes, text);
  decoder.Finish(text);
  return text;
}

void ByteTextStream::Close() {
  RequireOpen();
  reader_.reset();
}

}  // namespace linkvane
