// The two URL readers. A shortcut file is untrusted and may be of any size, so both read it a
// piece at a time: they look for their markers across the pieces' boundaries and keep only
// what a match needs and the value after it, cut to a length that no command line can hold.

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <utility>

#include "launcher/Module_Main.h"
#include "launcher/binary_plist.h"
#include "launcher/utf7.h"
#include "platform/text_stream.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::u16string_view kUrlKey = u"URL=";
// KDE writes its link files' URL key with the marker that asks for shell expansion; the value
// is still taken as written.
constexpr std::u16string_view kExpandingUrlKey = u"URL[$e]=";
// Windows keeps the true URL of a shortcut whose URL is not plain ANSI here, in UTF-7.
constexpr std::u16string_view kUnicodeSection = u"[InternetShortcut.W]";
constexpr std::u16string_view kKeyMarker = u"<key>URL</key>";
constexpr std::u16string_view kStringStart = u"<string>";
constexpr std::u16string_view kStringEnd = u"</string>";
constexpr std::u16string_view kBinaryMagicText = u"bplist00";
constexpr std::size_t kLongestMarker = kKeyMarker.size();
// Binary web locations hold one short dictionary; anything larger is not one.
constexpr std::size_t kLongestBinaryList = std::size_t{1024} * 1024;

// The most characters of a URL kept. A command line holds at most 32767 characters, so a
// longer URL cannot be started either way: the start fails and its message shows only the
// command's beginning.
constexpr std::size_t kLongestValue = std::size_t{64} * 1024;
// UTF-7 takes up to five characters for one of the text it stands for ("+AAA-"), so this much
// of an encoded value gives the first kLongestValue characters of the decoded one exactly.
constexpr std::size_t kLongestUtf7Value = 6 * kLongestValue;

void AppendCapped(std::u16string& value, std::u16string_view text, std::size_t longest) {
  if (value.size() < longest) value.append(text.substr(0, longest - value.size()));
}

void Ignore(std::u16string_view) {}

// Looks for a marker, ignoring case, in text that comes a piece at a time. Of each piece only
// the last few characters, where a match could begin, are held back for the next one.
class PieceSearch {
 public:
  explicit PieceSearch(std::u16string_view marker) : marker_(marker) {}

  // Forgets what was held back: the next piece starts the text anew.
  void Reset() { held_size_ = 0; }

  // Searches the next piece and returns the position in it just after the first match, or
  // kNotFound. Meanwhile before(text) receives, in order, all the text that surely lies before
  // the marker: up to a match, or all but what is held back.
  template <typename Sink>
  std::size_t Feed(std::u16string_view piece, Sink&& before) {
    const std::size_t keep = marker_.size() - 1;
    if (held_size_ > 0) {
      // A match that begins among the held-back characters ends within this piece's first few.
      std::array<char16_t, 2 * kLongestMarker> joint{};
      const std::size_t taken = std::min(piece.size(), keep);
      std::copy_n(held_.data(), held_size_, joint.data());
      std::copy_n(piece.data(), taken, joint.data() + held_size_);
      const std::u16string_view joined(joint.data(), held_size_ + taken);
      const std::size_t at = FindNoCase(joined, marker_);
      if (at != kNotFound && at < held_size_) {
        before(joined.substr(0, at));
        const std::size_t after = at + marker_.size() - held_size_;
        held_size_ = 0;
        return after;
      }
    }
    const std::u16string_view held(held_.data(), held_size_);
    const std::size_t at = FindNoCase(piece, marker_);
    if (at != kNotFound) {
      before(held);
      before(piece.substr(0, at));
      held_size_ = 0;
      return at + marker_.size();
    }
    if (piece.size() >= keep) {
      before(held);
      before(piece.substr(0, piece.size() - keep));
      std::copy_n(piece.data() + piece.size() - keep, keep, held_.data());
      held_size_ = keep;
    } else {
      // The piece is shorter than a marker: the held-back text loses its beginning only.
      const std::size_t dropped =
          held_size_ + piece.size() > keep ? held_size_ + piece.size() - keep : 0;
      before(held.substr(0, dropped));
      std::copy(held_.begin() + dropped, held_.begin() + held_size_, held_.begin());
      std::copy_n(piece.data(), piece.size(), held_.data() + held_size_ - dropped);
      held_size_ += piece.size() - dropped;
    }
    return kNotFound;
  }

 private:
  std::u16string_view marker_;
  std::array<char16_t, kLongestMarker> held_{};
  std::size_t held_size_ = 0;
};

// One URL key in the pieces of a line: where it first occurs, and the value after it.
class KeyInLine {
 public:
  KeyInLine(std::u16string_view key, std::size_t longest)
      : key_(key), search_(key), longest_(longest) {}

  // Starts a line; when not wanted, the line is not searched at all.
  void Begin(bool wanted) {
    wanted_ = wanted;
    found_ = false;
    seen_ = 0;
    value_.clear();
    search_.Reset();
  }

  void Feed(std::u16string_view piece) {
    if (!wanted_) return;
    if (!found_) {
      const std::size_t after = search_.Feed(piece, Ignore);
      if (after == kNotFound) {
        seen_ += piece.size();
        return;
      }
      found_ = true;
      position_ = seen_ + after - key_.size();
      piece.remove_prefix(after);
    }
    AppendCapped(value_, piece, longest_);
  }

  bool found() const { return found_; }
  // Where the key starts in the line.
  std::size_t position() const { return position_; }
  // The rest of the line after the key, its first `longest` characters.
  const std::u16string& value() const { return value_; }

 private:
  std::u16string_view key_;
  PieceSearch search_;
  std::size_t longest_;
  bool wanted_ = false;
  bool found_ = false;
  std::size_t seen_ = 0;
  std::size_t position_ = 0;
  std::u16string value_;
};

// Whether a line, given in pieces, is a section header (its first character other than a space
// is "["), and whether it is the Unicode section's, less the spaces around it.
class SectionHeader {
 public:
  void Begin() {
    state_ = State::kLeadingSpaces;
    matched_ = 0;
  }

  void Feed(std::u16string_view piece) {
    for (std::size_t i = 0; i < piece.size() && !Decided(); ++i) Step(piece[i]);
  }

  bool IsHeader() const { return state_ != State::kLeadingSpaces && state_ != State::kNoHeader; }
  bool IsUnicodeSection() const { return state_ == State::kTrailingSpaces; }

 private:
  enum class State {
    kLeadingSpaces,   // nothing but spaces so far
    kMatching,        // a header that may yet be the Unicode section's; matched_ characters
    kTrailingSpaces,  // the Unicode section's header, then only spaces
    kOtherHeader,
    kNoHeader,
  };

  bool Decided() const { return state_ == State::kOtherHeader || state_ == State::kNoHeader; }

  void Step(char16_t c) {
    switch (state_) {
      case State::kLeadingSpaces:
        if (c == u'[') {
          state_ = State::kMatching;
          matched_ = 1;
        } else if (c != u' ') {
          state_ = State::kNoHeader;
        }
        break;
      case State::kMatching:
        if (FoldCase(c) != FoldCase(kUnicodeSection[matched_])) {
          state_ = State::kOtherHeader;
        } else if (++matched_ == kUnicodeSection.size()) {
          state_ = State::kTrailingSpaces;
        }
        break;
      case State::kTrailingSpaces:
        if (c != u' ') state_ = State::kOtherHeader;
        break;
      case State::kOtherHeader:
      case State::kNoHeader:
        break;
    }
  }

  State state_ = State::kLeadingSpaces;
  std::size_t matched_ = 0;
};

// The value between a .webloc's markers with its XML entities decoded, taken a piece at a time
// and cut to kLongestValue characters of the decoded text.
class XmlValue {
 public:
  void Append(std::u16string_view raw) {
    if (decoded_.size() >= kLongestValue) return;
    pending_.append(raw);
    if (pending_.size() >= kBatch) DecodeUpTo(SafeCut());
  }

  std::u16string Finish() {
    DecodeUpTo(pending_.size());
    return std::move(decoded_);
  }

 private:
  static constexpr std::size_t kBatch = 4096;
  // At least the farthest an entity reference's ";" may lie after its "&".
  static constexpr std::size_t kReferenceReach = 64;

  // Where the pending text can be cut so that decoding both parts apart gives what decoding
  // them together does: no reference that gets replaced may span the cut. One ends within
  // kReferenceReach of its "&", and none holds an "&", so the cut goes before the last "&"
  // near the end, or, when there is none, that far from the end.
  std::size_t SafeCut() const {
    const std::size_t cut = pending_.size() - kReferenceReach;
    for (std::size_t i = cut; i-- > cut - kReferenceReach;) {
      if (pending_[i] == u'&') return i;
    }
    return cut;
  }

  void DecodeUpTo(std::size_t cut) {
    decoded_ += DecodeXmlEntities(std::u16string_view(pending_).substr(0, cut));
    if (decoded_.size() > kLongestValue) decoded_.resize(kLongestValue);
    pending_.erase(0, cut);
  }

  std::u16string pending_;
  std::u16string decoded_;
};

// The whole file's bytes, or nullopt when it is larger than limit.
std::optional<std::string> ReadBytes(Platform& platform, const std::u16string& path,
                                     std::size_t limit) {
  const std::unique_ptr<ByteReader> reader = platform.OpenFileForReading(path);
  std::string bytes;
  std::array<char, 4096> chunk{};
  for (;;) {
    const std::size_t got = reader->Read(chunk.data(), chunk.size());
    if (got == 0) return bytes;
    if (got > limit - bytes.size()) return std::nullopt;
    bytes.append(chunk.data(), got);
  }
}

// Passes over the lines at hand that can change nothing: those before the first place where
// the plain key occurs (when still looked for) or a "[" that may start a section header (the
// KDE key has one too). Keys hold no line end, so a line that ends before that place holds
// none. That line itself, and a line that goes on past what is at hand, are left to be read.
void SkipUneventfulLines(TextStream& stream, bool key_wanted) {
  const std::u16string_view text = stream.PeekPiece();
  std::size_t event = std::min(FindEitherUnit(text, u'[', u'['), text.size());
  if (key_wanted) event = std::min(event, FindNoCase(text.substr(0, event), kUrlKey));
  for (std::size_t i = event; i-- > 0;) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      stream.SkipLinesThrough(i);
      return;
    }
  }
}

}  // namespace

std::u16string GetUrlFromShortcut(Platform& platform, const std::u16string& path) {
  TextStream stream = TextStream::Open(platform, path);
  std::optional<std::u16string> result;
  bool in_unicode_section = false;
  // The plain key's value may also be the Unicode section's URL, and so UTF-7.
  KeyInLine plain(kUrlKey, kLongestUtf7Value);
  KeyInLine expanding(kExpandingUrlKey, kLongestValue);
  SectionHeader header;
  while (!stream.AtEndOfStream()) {
    SkipUneventfulLines(stream, !result || in_unicode_section);
    if (stream.AtEndOfStream()) break;
    // A line is searched only for what it can still change.
    plain.Begin(!result || in_unicode_section);
    expanding.Begin(!result);
    header.Begin();
    for (bool ended = false; !ended;) {
      const std::u16string_view piece = stream.ReadLinePiece(ended);
      plain.Feed(piece);
      expanding.Feed(piece);
      header.Feed(piece);
    }

    // The first line with either key gives the URL, by the key that comes first in it.
    if (!result && plain.found() &&
        (!expanding.found() || plain.position() < expanding.position())) {
      result = plain.value().substr(0, kLongestValue);
    } else if (!result && expanding.found()) {
      result = expanding.value();
    }

    if (header.IsHeader()) {
      in_unicode_section = header.IsUnicodeSection();
    } else if (in_unicode_section && plain.found()) {
      // The ANSI copy found earlier may have lost characters; this one has them all.
      result = DecodeUtf7(plain.value());
      if (result->size() > kLongestValue) result->resize(kLongestValue);
      break;
    }
  }
  stream.Close();
  return result.value_or(std::u16string());
}

std::u16string GetUrlFromWebloc(Platform& platform, const std::u16string& path) {
  TextStream stream = TextStream::Open(platform, path);
  // The three markers in turn, each searched for after the one before.
  PieceSearch key(kKeyMarker), start(kStringStart), end(kStringEnd);
  enum class Step { kKey, kStart, kValue, kDone } step = Step::kKey;
  XmlValue value;
  std::u16string head;  // the text's beginning, for the binary list's magic
  while (step != Step::kDone) {
    std::u16string_view piece = stream.ReadPiece();
    if (piece.empty()) break;
    AppendCapped(head, piece, kBinaryMagicText.size());
    while (!piece.empty() && step != Step::kDone) {
      std::size_t after = kNotFound;
      switch (step) {
        case Step::kKey:
          after = key.Feed(piece, Ignore);
          break;
        case Step::kStart:
          after = start.Feed(piece, Ignore);
          break;
        case Step::kValue:
          after = end.Feed(piece, [&](std::u16string_view text) { value.Append(text); });
          break;
        case Step::kDone:
          break;
      }
      if (after == kNotFound) break;
      piece.remove_prefix(after);
      step = static_cast<Step>(static_cast<int>(step) + 1);
    }
  }
  stream.Close();
  if (step == Step::kDone) return value.Finish();

  // Perhaps a binary list. Its magic is plain ASCII and so survives the text decoding; only
  // then is the file read again, as the bytes that the list's offsets count.
  if (head != kBinaryMagicText) return std::u16string();
  const std::optional<std::string> bytes = ReadBytes(platform, path, kLongestBinaryList);
  return bytes ? UrlFromBinaryPlist(*bytes) : std::u16string();
}

}  // namespace linkvane::Module_Main
