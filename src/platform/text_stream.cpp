#include "platform/text_stream.h"

#include <string>
#include <string_view>

namespace linkvane {

TextStream TextStream::Open(Platform& platform, const std::u16string& path) {
  return TextStream(platform, path);
}

std::u16string TextStream::ReadLine() {
  if (AtEndOfStream()) throw PlatformError(kErrorEndOfFile, u"Input past end of file.");
  // Line ends are ASCII, and so the bytes of a line stand for its text alone.
  std::string line;
  for (bool ended = false; !ended;) line.append(bytes_.ReadLinePiece(ended));
  return bytes_.Decode(line);
}

std::u16string TextStream::ReadAll() {
  std::string rest;
  for (std::string_view piece = bytes_.ReadPiece(); !piece.empty(); piece = bytes_.ReadPiece()) {
    rest.append(piece);
  }
  return bytes_.Decode(rest);
}

}  // namespace linkvane
