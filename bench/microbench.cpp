// Microbenchmarks of the readers' hot paths on the host, each beside the plain loop it
// replaced, so that the gain of every fast path is measured rather than assumed:
// the case-insensitive search, the line-end search, UTF-8 validation and decoding, and the
// two readers over a file in memory.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "file_platform.h"
#include "launcher/Module_Main.h"
#include "platform/text_decoding.h"
#include "platform/text_stream.h"
#include "text/case_insensitive.h"

namespace linkvane::bench {
namespace {

constexpr std::size_t kPiece = 64 * 1024;  // a piece of text, well within the cache

// Lines as a shortcut's comment keys hold them: ASCII text, a "u" every few words.
std::string AsciiLines(std::size_t size) {
  const std::string line =
      "Comment=lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor\r\n";
  std::string text;
  while (text.size() + line.size() <= size) text += line;
  text.resize(size, 'x');
  return text;
}

// --- The loops the fast paths replaced.

std::size_t ScalarFindNoCase(std::string_view haystack, std::string_view needle) {
  if (needle.size() > haystack.size()) return kNotFound;
  const char16_t first = FoldCase(static_cast<unsigned char>(needle[0]));
  for (std::size_t at = 0; at + needle.size() <= haystack.size(); ++at) {
    if (FoldCase(static_cast<unsigned char>(haystack[at])) != first) continue;
    std::size_t i = 1;
    while (i < needle.size() && FoldCase(static_cast<unsigned char>(haystack[at + i])) ==
                                    FoldCase(static_cast<unsigned char>(needle[i]))) {
      ++i;
    }
    if (i == needle.size()) return at;
  }
  return kNotFound;
}

bool ScalarUtf8Valid(std::string_view bytes) {
  int remaining = 0;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (remaining > 0) {
      if ((b & 0xC0) != 0x80) return false;
      --remaining;
    } else if (b >= 0x80) {
      remaining = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
    }
  }
  return remaining == 0;
}

// --- Searching the bytes of a file (items: bytes searched).

void BM_FindNoCase_ScalarLoop(benchmark::State& state) {
  const std::string text = AsciiLines(kPiece);
  for (auto _ : state) benchmark::DoNotOptimize(ScalarFindNoCase(text, "URL="));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_FindNoCase_ScalarLoop);

void BM_FindNoCase(benchmark::State& state) {
  const std::string text = AsciiLines(kPiece);
  for (auto _ : state) benchmark::DoNotOptimize(FindNoCase(text, "URL="));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_FindNoCase);

void BM_FindNoCase_Marker(benchmark::State& state) {
  const std::string text = AsciiLines(kPiece);
  for (auto _ : state) benchmark::DoNotOptimize(FindNoCase(text, "<key>URL</key>"));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_FindNoCase_Marker);

void BM_LineEnds_FindFirstOf(benchmark::State& state) {
  const std::string text = AsciiLines(kPiece);
  for (auto _ : state) {
    std::size_t lines = 0;
    for (std::size_t at = text.find_first_of("\r\n"); at != std::string::npos;
         at = text.find_first_of("\r\n", at + 1)) {
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LineEnds_FindFirstOf);

void BM_LineEnds_FindEitherUnit(benchmark::State& state) {
  const std::string text = AsciiLines(kPiece);
  for (auto _ : state) {
    std::size_t lines = 0;
    for (std::size_t at = FindEitherUnit(text, '\r', '\n'); at != kNotFound;
         at = FindEitherUnit(text, '\r', '\n', at + 1)) {
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LineEnds_FindEitherUnit);

// --- Validation and decoding.

void BM_Utf8Validate_ScalarLoop(benchmark::State& state) {
  const std::string bytes = AsciiLines(kPiece);
  for (auto _ : state) benchmark::DoNotOptimize(ScalarUtf8Valid(bytes));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_Utf8Validate_ScalarLoop);

void BM_Utf8Validate(benchmark::State& state) {
  const std::string bytes = AsciiLines(kPiece);
  for (auto _ : state) {
    Utf8Validator validator;
    validator.Feed(bytes);
    benchmark::DoNotOptimize(validator.Valid());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_Utf8Validate);

void BM_DecodeAscii_PushBack(benchmark::State& state) {
  const std::string bytes = AsciiLines(kPiece);
  std::u16string out;
  for (auto _ : state) {
    out.clear();
    for (const char c : bytes) out.push_back(static_cast<unsigned char>(c));
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeAscii_PushBack);

// range(0): 0 for UTF-8, 1 for the ANSI code page; range(1): one non-ASCII character in so
// many bytes (0: none).
void BM_Decode(benchmark::State& state) {
  std::string bytes = AsciiLines(kPiece);
  if (state.range(1) > 0) {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += static_cast<std::size_t>(state.range(1))) {
      bytes[i] = '\xC3';
      bytes[i + 1] = '\xA9';
    }
  }
  FilePlatform platform;
  const TextEncoding encoding = state.range(0) == 0 ? TextEncoding::kUtf8 : TextEncoding::kAnsi;
  std::u16string out;
  for (auto _ : state) {
    out.clear();
    StreamDecoder decoder(platform, encoding);
    decoder.Feed(bytes, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_Decode)->Args({0, 0})->Args({0, 64})->Args({1, 0})->Args({1, 64});

// --- The readers on a file in memory: everything but the disk.

class MemoryPlatform : public FilePlatform {
 public:
  explicit MemoryPlatform(std::string bytes) : bytes_(std::move(bytes)) {}
  std::unique_ptr<ByteReader> OpenFileForReading(const std::u16string&) override {
    return std::make_unique<Reader>(bytes_);
  }

 private:
  class Reader : public ByteReader {
   public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    std::size_t Read(char* buffer, std::size_t capacity) override {
      const std::size_t count = std::min(capacity, bytes_.size() - position_);
      std::memcpy(buffer, bytes_.data() + position_, count);
      position_ += count;
      return count;
    }
    void Rewind() override { position_ = 0; }

   private:
    const std::string& bytes_;
    std::size_t position_ = 0;
  };
  std::string bytes_;
};

constexpr std::size_t kFileSize = 16 * 1024 * 1024;

void BM_GetUrlFromShortcut(benchmark::State& state) {
  MemoryPlatform platform("[InternetShortcut]\r\n" + AsciiLines(kFileSize) +
                          "\r\nURL=https://example.com/last\r\n");
  for (auto _ : state) {
    benchmark::DoNotOptimize(Module_Main::GetUrlFromShortcut(platform, u"C:\\big.url"));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFileSize));
}
BENCHMARK(BM_GetUrlFromShortcut)->Unit(benchmark::kMillisecond);

void BM_GetUrlFromWebloc(benchmark::State& state) {
  MemoryPlatform platform("<plist><dict>\n" + AsciiLines(kFileSize) +
                          "<key>URL</key><string>https://example.com/last</string></dict>\n");
  for (auto _ : state) {
    benchmark::DoNotOptimize(Module_Main::GetUrlFromWebloc(platform, u"C:\\big.webloc"));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFileSize));
}
BENCHMARK(BM_GetUrlFromWebloc)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace linkvane::bench

BENCHMARK_MAIN();
