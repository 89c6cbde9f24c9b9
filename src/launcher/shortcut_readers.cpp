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
#include "platform/byte_text_stream.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::string_view kUrlKey = "URL=";
// KDE writes its link files' URL key with the marker that asks for shell expansion; the value
// is still taken as written.
constexpr std::string_view kExpandingUrlKey = "URL[$e]=";
// The section whose own URL key Windows reads; other sections may hold URL-like keys before it,
// such as the BASEURL of the page the user was on.
constexpr std::string_view kShortcutSection = "[InternetShortcut]";
// Windows keeps the true URL of a shortcut whose URL is not plain ANSI here, in UTF-7.
constexpr std::string_view kUnicodeSection = "[InternetShortcut.W]";
constexpr std::string_view kKeyName = "URL";
constexpr std::string_view kKeyMarker = "<key>URL</key>";
constexpr std::string_view kStringStart = "<string>";
constexpr std::string_view kStringEnd = "</string>";
constexpr std::string_view kBinaryMagic = "bplist00";
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

// How many bytes of the stream hold at least the first `characters` of the text they stand
// for: a UTF-16 unit takes at most three (the last few may be a character cut short).
constexpr std::size_t BytesFor(std::size_t characters) { return 3 * characters + 3; }

// The first `characters` of what bytes of the stream stand for.
std::u16string DecodeCut(ByteTextStream& stream, std::string_view bytes, std::size_t characters) {
  std::u16string text = stream.Decode(bytes.substr(0, BytesFor(characters)));
  if (text.size() > characters) text.resize(characters);
  return text;
}

// A byte as FoldCase takes it: its unsigned value.
char16_t Unit(char c) { return static_cast<unsigned char>(c); }

void AppendCapped(std::string& value, std::string_view text, std::size_t longest) {
  if (value.size() < longest) value.append(text.substr(0, longest - value.size()));
}

void Ignore(std::string_view) {}

// The blanks that Windows passes over around section names, keys and values.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Looks for a marker, ignoring case, in text that comes a piece at a time. Of each piece only
// the last few characters, where a match could begin, are held back for the next one.
class PieceSearch {
 public:
  explicit PieceSearch(std::string_view marker) : marker_(marker) {}

  // Forgets what was held back: the next piece starts the text anew.
  void Reset() { held_size_ = 0; }

  // Searches the next piece and returns the position in it just after the first match, or
  // kNotFound. Meanwhile before(text) receives, in order, all the text that surely lies before
  // the marker: up to a match, or all but what is held back.
  template <typename Sink>
  std::size_t Feed(std::string_view piece, Sink&& before) {
    const std::size_t keep = marker_.size() - 1;
    if (held_size_ > 0) {
      // A match that begins among the held-back characters ends within this piece's first few.
      std::array<char, 2 * kLongestMarker> joint{};
      const std::size_t taken = std::min(piece.size(), keep);
      std::copy_n(held_.data(), held_size_, joint.data());
      std::copy_n(piece.data(), taken, joint.data() + held_size_);
      const std::string_view joined(joint.data(), held_size_ + taken);
      const std::size_t at = FindNoCase(joined, marker_);
      if (at != kNotFound && at < held_size_) {
        before(joined.substr(0, at));
        const std::size_t after = at + marker_.size() - held_size_;
        held_size_ = 0;
        return after;
      }
    }
    const std::string_view held(held_.data(), held_size_);
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
  std::string_view marker_;
  std::array<char, kLongestMarker> held_{};
  std::size_t held_size_ = 0;
};

// One URL key in the pieces of a line: where it first occurs, and the value after it.
class KeyInLine {
 public:
  KeyInLine(std::string_view key, std::size_t longest)
      : key_(key), search_(key), longest_(longest) {}

  // Starts a line; when not wanted, the line is not searched at all.
  void Begin(bool wanted) {
    wanted_ = wanted;
    found_ = false;
    seen_ = 0;
    value_.clear();
    search_.Reset();
  }

  void Feed(std::string_view piece) {
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
  // The rest of the line after the key, its first `longest` units.
  const std::string& value() const { return value_; }

 private:
  std::string_view key_;
  PieceSearch search_;
  std::size_t longest_;
  bool wanted_ = false;
  bool found_ = false;
  std::size_t seen_ = 0;
  std::size_t position_ = 0;
  std::string value_;
};

// Whether a line, given in pieces, is a section header (its first character other than a blank
// is "["), and whether it names, less the blanks around it, the Internet shortcut section or its
// Unicode companion. The one name begins the other, so both are matched at once.
class SectionHeader {
 public:
  enum class Kind { kNoHeader, kOther, kShortcut, kUnicode };

  void Begin() {
    state_ = State::kLeadingBlanks;
    matched_ = 0;
  }

  void Feed(std::string_view piece) {
    for (std::size_t i = 0; i < piece.size() && !Decided(); ++i) Step(piece[i]);
  }

  Kind kind() const {
    switch (state_) {
      case State::kLeadingBlanks:
      case State::kNoHeader:
        return Kind::kNoHeader;
      case State::kTrailingBlanks:
        return matched_ == kShortcutSection.size() ? Kind::kShortcut : Kind::kUnicode;
      case State::kMatching:
      case State::kOtherHeader:
        break;
    }
    return Kind::kOther;
  }
  bool IsHeader() const { return kind() != Kind::kNoHeader; }

 private:
  enum class State {
    kLeadingBlanks,   // nothing but blanks so far
    kMatching,        // a header that may yet be one of the two; matched_ characters
    kTrailingBlanks,  // one of the two headers (told by matched_), then only blanks
    kOtherHeader,
    kNoHeader,
  };

  bool Decided() const { return state_ == State::kOtherHeader || state_ == State::kNoHeader; }

  void Step(char c) {
    switch (state_) {
      case State::kLeadingBlanks:
        if (c == '[') {
          state_ = State::kMatching;
          matched_ = 1;
        } else if (!IsBlank(c)) {
          state_ = State::kNoHeader;
        }
        break;
      case State::kMatching:
        // The names agree up to the shorter one's "]", where the longer one has ".W]".
        if (matched_ == kShortcutSection.size() - 1 && c == ']') {
          state_ = State::kTrailingBlanks;
          matched_ = kShortcutSection.size();
        } else if (FoldCase(Unit(c)) != FoldCase(Unit(kUnicodeSection[matched_]))) {
          state_ = State::kOtherHeader;
        } else if (++matched_ == kUnicodeSection.size()) {
          state_ = State::kTrailingBlanks;
        }
        break;
      case State::kTrailingBlanks:
        if (!IsBlank(c)) state_ = State::kOtherHeader;
        break;
      case State::kOtherHeader:
      case State::kNoHeader:
        break;
    }
  }

  State state_ = State::kLeadingBlanks;
  std::size_t matched_ = 0;
};

// Whether a line, given in pieces, is one whose key is "URL" as Windows reads keys: the text
// before the line's first "=", less the blanks around it. Keeps the value after that "=".
class UrlKeyLine {
 public:
  // Starts a line; when not wanted, the line is not looked at.
  void Begin(bool wanted) {
    state_ = wanted ? State::kLeadingBlanks : State::kNotKey;
    matched_ = 0;
    value_.clear();
  }

  void Feed(std::string_view piece) {
    std::size_t i = 0;
    for (; i < piece.size() && state_ != State::kValue && state_ != State::kNotKey; ++i) {
      Step(piece[i]);
    }
    if (state_ == State::kValue) {
      AppendCapped(value_, piece.substr(i), BytesFor(kLongestValue));
    }
  }

  bool found() const { return state_ == State::kValue; }
  // The rest of the line after the "=", the units of its first kLongestValue characters.
  const std::string& value() const { return value_; }

 private:
  enum class State { kLeadingBlanks, kName, kTrailingBlanks, kValue, kNotKey };

  void Step(char c) {
    if (state_ == State::kLeadingBlanks && IsBlank(c)) return;
    if (state_ != State::kTrailingBlanks && matched_ < kKeyName.size()) {
      state_ =
          FoldCase(Unit(c)) == FoldCase(Unit(kKeyName[matched_++])) ? State::kName : State::kNotKey;
    } else if (c == '=') {
      state_ = State::kValue;
    } else {
      state_ = IsBlank(c) ? State::kTrailingBlanks : State::kNotKey;
    }
  }

  State state_ = State::kNotKey;
  std::size_t matched_ = 0;
  std::string value_;
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

// The value between a .webloc's markers: its bytes are kept as they are, as many as give
// kLongestValue characters of the decoded value however many references it holds (a reference, at
// most 13 characters, stands for at least one), and decoded at the end.
class ByteXmlValue {
 public:
  void Append(std::string_view raw) { AppendCapped(raw_, raw, kLongest); }

  std::u16string Finish(ByteTextStream& stream) {
    const std::u16string text = stream.Decode(raw_);
    raw_.clear();
    XmlValue value;
    // In slices, so that no more than the needed part of the text is copied again.
    for (std::size_t at = 0; at < text.size(); at += kSlice) {
      value.Append(std::u16string_view(text).substr(at, kSlice));
    }
    return value.Finish();
  }

 private:
  static constexpr std::size_t kLongest = 13 * kLongestValue + 16;
  static constexpr std::size_t kSlice = std::size_t{64} * 1024;
  std::string raw_;
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
// a wanted key's name occurs (the plain key, or the bare name when the section's own key is
// looked for) or a "[" that may start a section header (the KDE key has one too). Keys hold no
// line end, so a line that ends before that place holds none. That line itself, and a line that
// goes on past what is at hand, are left to be read.
void SkipUneventfulLines(ByteTextStream& stream, bool key_wanted, bool own_key_wanted) {
  const std::string_view text = stream.PeekPiece();
  std::size_t event = std::min(FindEitherUnit(text, '[', '['), text.size());
  if (key_wanted || own_key_wanted) {
    event = std::min(event, FindNoCase(text.substr(0, event), own_key_wanted ? kKeyName : kUrlKey));
  }
  for (std::size_t i = event; i-- > 0;) {
    if (text[i] == '\r' || text[i] == '\n') {
      stream.SkipLinesThrough(i);
      return;
    }
  }
}

// The URL that a UTF-7 value stands for, cut to kLongestValue characters.
std::u16string Utf7Url(const std::u16string& encoded) {
  std::u16string url = DecodeUtf7(encoded);
  if (url.size() > kLongestValue) url.resize(kLongestValue);
  return url;
}

std::u16string ReadShortcut(ByteTextStream& stream) {
  // The URL that counts, as Windows reads a shortcut: the Unicode section's (taken as soon as it
  // is found), else the URL key of the [InternetShortcut] section, not an earlier line such as a
  // BASEURL. Files without that key (.desktop files, bare URL= lines) fall back on the first
  // line holding a URL key. Values are kept as the stream's bytes until the end.
  std::optional<std::string> first_line_url;
  std::optional<std::string> section_url;
  enum class Section { kAhead, kInside, kPassed } shortcut_section = Section::kAhead;
  bool in_unicode_section = false;
  // The plain key's value may also be the Unicode section's URL, and so UTF-7.
  KeyInLine plain(kUrlKey, BytesFor(kLongestUtf7Value));
  KeyInLine expanding(kExpandingUrlKey, BytesFor(kLongestValue));
  UrlKeyLine own_key;
  SectionHeader header;
  while (!stream.AtEndOfStream()) {
    const bool own_key_wanted = shortcut_section == Section::kInside && !section_url;
    SkipUneventfulLines(stream, !first_line_url || in_unicode_section, own_key_wanted);
    if (stream.AtEndOfStream()) break;
    // A line is searched only for what it can still change.
    plain.Begin(!first_line_url || in_unicode_section);
    expanding.Begin(!first_line_url);
    own_key.Begin(own_key_wanted);
    header.Begin();
    for (bool ended = false; !ended;) {
      const std::string_view piece = stream.ReadLinePiece(ended);
      plain.Feed(piece);
      expanding.Feed(piece);
      own_key.Feed(piece);
      header.Feed(piece);
    }

    // The first line with either key gives the URL, by the key that comes first in it.
    if (!first_line_url && plain.found() &&
        (!expanding.found() || plain.position() < expanding.position())) {
      first_line_url = plain.value();
    } else if (!first_line_url && expanding.found()) {
      first_line_url = expanding.value();
    }

    if (header.IsHeader()) {
      // Only the first [InternetShortcut] section counts; any header ends it.
      if (shortcut_section == Section::kInside) {
        shortcut_section = Section::kPassed;
      } else if (shortcut_section == Section::kAhead &&
                 header.kind() == SectionHeader::Kind::kShortcut) {
        shortcut_section = Section::kInside;
      }
      in_unicode_section = header.kind() == SectionHeader::Kind::kUnicode;
    } else if (in_unicode_section && plain.found()) {
      // The ANSI copies found elsewhere may have lost characters; this one has them all.
      std::u16string url = Utf7Url(DecodeCut(stream, plain.value(), kLongestUtf7Value));
      stream.Close();
      return url;
    } else if (own_key.found()) {
      section_url = own_key.value();
    }
  }
  const std::optional<std::string>& url = section_url ? section_url : first_line_url;
  std::u16string decoded = url ? DecodeCut(stream, *url, kLongestValue) : std::u16string();
  stream.Close();
  return decoded;
}

std::u16string ReadWebloc(ByteTextStream& stream, Platform& platform, const std::u16string& path) {
  // The three markers in turn, each searched for after the one before.
  PieceSearch key(kKeyMarker), start(kStringStart), end(kStringEnd);
  enum class Step { kKey, kStart, kValue, kDone } step = Step::kKey;
  ByteXmlValue value;
  std::string head;  // the text's beginning, for the binary list's magic
  while (step != Step::kDone) {
    std::string_view piece = stream.ReadPiece();
    if (piece.empty()) break;
    AppendCapped(head, piece, kBinaryMagic.size());
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
          after = end.Feed(piece, [&](std::string_view text) { value.Append(text); });
          break;
        case Step::kDone:
          break;
      }
      if (after == kNotFound) break;
      piece.remove_prefix(after);
      step = static_cast<Step>(static_cast<int>(step) + 1);
    }
  }
  if (step == Step::kDone) {
    std::u16string url = value.Finish(stream);
    stream.Close();
    return url;
  }
  stream.Close();

  // Perhaps a binary list. Its magic is plain ASCII and so survives the text decoding; only
  // then is the file read again, as the bytes that the list's offsets count.
  if (head != kBinaryMagic) return std::u16string();
  const std::optional<std::string> bytes = ReadBytes(platform, path, kLongestBinaryList);
  return bytes ? UrlFromBinaryPlist(*bytes) : std::u16string();
}

}  // namespace

std::u16string GetUrlFromShortcut(Platform& platform, const std::u16string& path) {
  ByteTextStream stream = ByteTextStream::Open(platform, path);
  return ReadShortcut(stream);
}

std::u16string GetUrlFromWebloc(Platform& platform, const std::u16string& path) {
  ByteTextStream stream = ByteTextStream::Open(platform, path);
  return ReadWebloc(stream, platform, path);
}

std::u16string ReadShortcutUrl(Platform& platform, const std::u16string& path) {
  return EndsWithNoCase(path, u".webloc") ? GetUrlFromWebloc(platform, path)
                                          : GetUrlFromShortcut(platform, path);
}

}  // namespace linkvane::Module_Main
