// Text decoding on any bytes: the stream reader, line by line or whole, agrees with decoding the
// file at once.

#include <string>

#include "fake/fake_platform.h"
#include "fuzz_input.h"
#include "platform/text_decoding.h"
#include "platform/text_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace linkvane;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  testing::FakePlatform platform;
  platform.AddFile(u"C:\\in.txt", bytes);

  const std::u16string whole = DecodeText(platform, bytes);
  TextStream all = TextStream::Open(platform, u"C:\\in.txt");
  if (all.ReadAll() != whole) fuzzing::Violated("ReadAll differs from decoding the whole file");

  // The lines, joined again with the line ends removed from the whole text, give that text.
  std::u16string without_line_ends;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (whole[i] == u'\r' && i + 1 < whole.size() && whole[i + 1] == u'\n') ++i;
    without_line_ends.push_back(whole[i] == u'\r' ? u'\n' : whole[i]);
  }
  TextStream lines = TextStream::Open(platform, u"C:\\in.txt");
  std::u16string joined;
  while (!lines.AtEndOfStream()) joined += lines.ReadLine() + u'\n';
  if (!without_line_ends.empty() && without_line_ends.back() != u'\n') without_line_ends += u'\n';
  if (joined != without_line_ends) fuzzing::Violated("lines do not join to the whole text");
  return 0;
}
