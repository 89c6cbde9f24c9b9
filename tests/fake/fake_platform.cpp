#include "fake/fake_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/command_line.h"
#include "text/case_insensitive.h"

namespace linkvane::testing {

namespace {

constexpr std::int32_t kErrorFileNotFound = 2;
constexpr std::int32_t kErrorPathNotFound = 3;
constexpr std::int32_t kErrorInvalidParameter = 87;
constexpr std::int32_t kErrorInvalidHandle = 6;
constexpr std::int32_t kEInvalidArg = static_cast<std::int32_t>(0x80070057u);
constexpr std::int32_t kErrorKeyDeleted = 1018;

// A registry text as Windows stores it: UTF-16LE with its terminating NUL.
std::string TextBytes(const std::u16string& text) {
  std::string bytes;
  for (char16_t c : text + u'\0') {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

class FakeByteReader : public ByteReader {
 public:
  FakeByteReader(std::string bytes, const PlatformError* read_failure)
      : bytes_(std::move(bytes)),
        read_failure_(read_failure ? std::optional<PlatformError>(*read_failure) : std::nullopt) {}

  std::size_t Read(char* buffer, std::size_t capacity) override {
    if (read_failure_) throw *read_failure_;
    const std::size_t count = std::min(capacity, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return count;
  }
  void Rewind() override { position_ = 0; }

 private:
  std::string bytes_;
  std::size_t position_ = 0;
  std::optional<PlatformError> read_failure_;
};

// Windows-1252's characters for the bytes 0x80 to 0x9F; the rest of the page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsSchemeCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'+' || c == u'-' || c == u'.';
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

std::u16string PercentDecoded(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 2 < text.size() + 0 && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out.push_back(char16_t(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// The path of a file URL the way the shell converts it, or nothing for another URL.
std::optional<std::u16string> FileUrlToPath(std::u16string_view url) {
  if (url.size() < 5 || !EqualsNoCase(url.substr(0, 5), u"file:")) return std::nullopt;
  std::u16string_view rest = url.substr(5);
  std::u16string path;
  if (rest.substr(0, 3) == u"///") {
    rest.remove_prefix(3);
  } else if (rest.substr(0, 2) == u"//") {
    rest.remove_prefix(2);
    if (EqualsNoCase(rest.substr(0, 10), u"localhost/")) {
      rest.remove_prefix(10);
    } else if (!(rest.size() >= 2 && rest[1] == u':')) {
      path = u"\\\\";
    }
  }
  path += PercentDecoded(rest);
  std::replace(path.begin(), path.end(), u'/', u'\\');
  if (path.size() >= 2 && path[1] == u'|') path[1] = u':';
  return path;
}

// HKEY_CLASSES_ROOT as Wine has it: the machine's Software\Classes, without the user's merged in.
std::pair<std::uint32_t, std::u16string> Hive(std::uint32_t root, const std::u16string& key) {
  if (root != kHkeyClassesRoot) return {root, key};
  return {kHkeyLocalMachine, u"Software\\Classes\\" + key};
}

// A started process of the fake world: it records whether it was resumed.
class FakeStartedProcess : public StartedProcess {
 public:
  FakeStartedProcess(std::uint32_t id, std::vector<std::uint32_t>& resumed)
      : id_(id), resumed_(resumed) {}
  std::uint32_t Id() const override { return id_; }
  void Resume() override { resumed_.push_back(id_); }

 private:
  std::uint32_t id_;
  std::vector<std::uint32_t>& resumed_;
};

}  // namespace

bool NoCaseLess::operator()(const std::u16string& a, const std::u16string& b) const {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

void FakePlatform::Fail(Operation operation, std::int32_t number, std::u16string description) {
  failures_.insert_or_assign(operation, PlatformError(number, std::move(description)));
}

const PlatformError* FakePlatform::FailureOf(Operation operation) const {
  const auto found = failures_.find(operation);
  return found == failures_.end() ? nullptr : &found->second;
}

std::u16string FakePlatform::CommandLineText() {
  return CommandLineAfterProgramName(full_command_line);
}

int FakePlatform::ShowMessage(const std::u16string& text, std::uint32_t flags,
                              const std::u16string& title) {
  shown.push_back({text, flags, title});
  if (message_answers.empty()) {
    ADD_FAILURE() << "unexpected message box: " << U8(text);
    return 0;
  }
  const int answer = message_answers.front();
  message_answers.pop_front();
  return answer;
}

std::unique_ptr<StartedProcess> FakePlatform::StartProcess(const std::u16string& application,
                                                           const std::u16string& command_line,
                                                           const std::u16string& directory,
                                                           int show_state, std::uint32_t flags) {
  if (const PlatformError* failure = FailureOf(Operation::kStartProcess)) throw *failure;
  if (command_line.empty()) {
    throw PlatformError(kErrorInvalidParameter, u"The command line is empty.");
  }
  if (installed_programs && installed_programs->count(application) == 0) {
    throw PlatformError(kErrorFileNotFound, u"The system cannot find the file specified.");
  }
  started.push_back(command_line);
  started_applications.push_back(application);
  started_directories.push_back(directory);
  show_states.push_back(show_state);
  creation_flags.push_back(flags);
  return std::make_unique<FakeStartedProcess>(static_cast<std::uint32_t>(1000 + started.size()),
                                              resumed);
}

std::optional<std::u16string> FakePlatform::EnvironmentVariable(const std::u16string& name) {
  const auto found = environment.find(name);
  if (found == environment.end()) return std::nullopt;
  return found->second;
}

bool FakePlatform::FileExists(const std::u16string& path) {
  return files.count(path) != 0 && folders.count(path) == 0;
}

std::unique_ptr<ByteReader> FakePlatform::OpenFileForReading(const std::u16string& path) {
  if (const PlatformError* failure = FailureOf(Operation::kOpenFile)) throw *failure;
  const auto found = files.find(path);
  if (found == files.end() || folders.count(path) != 0) {
    throw PlatformError(kErrorFileNotFound, u"The system cannot find the file specified.");
  }
  return std::make_unique<FakeByteReader>(found->second, FailureOf(Operation::kReadFile));
}

std::u16string FakePlatform::AnsiToUtf16(std::string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (!ansi_double_byte) {
      text.push_back(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    } else if (b >= 0x81 && b <= 0xFE && i + 1 < bytes.size()) {
      text.push_back(char16_t(0x4E00 + (b - 0x81) * 256 + static_cast<unsigned char>(bytes[++i])));
    } else {
      text.push_back(b < 0x80 ? char16_t(b) : u'\uFFFD');
    }
  }
  return text;
}

bool FakePlatform::PathIsUrl(const std::u16string& text) {
  ++url_tests;
  const std::size_t colon = text.find(u':');
  if (colon == std::u16string::npos || colon < 2) return false;
  return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon),
                     IsSchemeCharacter);
}

std::int32_t FakePlatform::CreatePathFromUrl(const std::u16string& url, std::u16string& buffer,
                                             std::uint32_t& length) {
  const std::optional<std::u16string> path = FileUrlToPath(url);
  // Like the Win32 layer, a URL that names no file comes back as it was, so the user sees it.
  const std::u16string result = path ? *path : url;
  const std::size_t written = std::min(result.size(), buffer.size());
  buffer.replace(0, written, result, 0, written);
  length = static_cast<std::uint32_t>(written);
  return path ? 0 : kEInvalidArg;
}

std::uint32_t FakePlatform::ExpandEnvironment(const std::u16string& whole_source,
                                              char16_t* destination, std::uint32_t size) {
  if (FailureOf(Operation::kExpandEnvironment)) return 0;
  // Windows' rules: %NAME% of a defined variable becomes its value; otherwise "%NAME%" is
  // kept whole and the scan goes on after its closing percent sign. Like the real function,
  // which takes a NUL-terminated text, it sees nothing past a NUL.
  const std::u16string source = whole_source.substr(0, whole_source.find(u'\0'));
  std::u16string out;
  std::size_t i = 0;
  while (i < source.size()) {
    if (source[i] != u'%') {
      out.push_back(source[i++]);
      continue;
    }
    const std::size_t close = source.find(u'%', i + 1);
    if (close == std::u16string::npos) {
      out.append(source, i, std::u16string::npos);
      break;
    }
    const auto variable = environment.find(source.substr(i + 1, close - i - 1));
    if (close > i + 1 && variable != environment.end()) {
      out += variable->second;
      i = close + 1;
    } else {
      out.append(source, i, close + 1 - i);
      i = close + 1;
    }
  }
  const auto needed = static_cast<std::uint32_t>(out.size() + 1);
  if (destination != nullptr && size >= needed) {
    std::copy(out.begin(), out.end(), destination);
    destination[out.size()] = u'\0';
  }
  return needed;
}

void FakePlatform::SetRegistryValue(std::uint32_t root, const std::u16string& key,
                                    const std::u16string& name, std::uint32_t type,
                                    std::string bytes) {
  CreateRegistryKey(root, key);
  const auto [hive, path] = Hive(root, key);
  registry_[hive][path][name] = RegistryData{type, std::move(bytes)};
}

void FakePlatform::SetRegistryText(std::uint32_t root, const std::u16string& key,
                                   const std::u16string& name, const std::u16string& text,
                                   std::uint32_t type) {
  SetRegistryValue(root, key, name, type, TextBytes(text));
}

void FakePlatform::CreateRegistryKey(std::uint32_t root, const std::u16string& key) {
  const auto [hive, path] = Hive(root, key);
  // Like Windows, the keys above it are created too.
  for (std::size_t end = path.find(u'\\'); end != std::u16string::npos;
       end = path.find(u'\\', end + 1)) {
    registry_[hive][path.substr(0, end)];
  }
  registry_[hive][path];
}

FakePlatform::RegistryKeyValues* FakePlatform::FindKey(std::uint32_t root,
                                                       const std::u16string& key) {
  auto [root_key, name] = Hive(root, key);
  while (!name.empty() && name.back() == u'\\') name.pop_back();
  const auto hive = registry_.find(root_key);
  if (hive == registry_.end()) return nullptr;
  const auto found = hive->second.find(name);
  return found == hive->second.end() ? nullptr : &found->second;
}

RegistryKey FakePlatform::NewHandle(std::uint32_t root, const std::u16string& name) {
  const RegistryKey key = next_handle_++;
  handles_[key] = OpenKey{root, name.substr(0, name.find_last_not_of(u'\\') + 1)};
  open_keys.insert(key);
  return key;
}

FakePlatform::RegistryKeyValues& FakePlatform::ValuesOf(RegistryKey key) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end() || open_keys.count(key) == 0) {
    throw PlatformError(kErrorInvalidHandle, u"The handle is invalid.");
  }
  RegistryKeyValues* values = FindKey(handle->second.root, handle->second.name);
  if (values == nullptr) throw PlatformError(kErrorKeyDeleted, u"The key has been deleted.");
  return *values;
}

void FakePlatform::Raise(Operation operation) const {
  if (const PlatformError* failure = FailureOf(operation)) throw *failure;
}

std::int32_t FakePlatform::OpenRegistryKey(std::uint32_t root, const std::u16string& subkey,
                                           std::uint32_t, std::uint32_t access, RegistryKey& key) {
  ++registry_calls;
  if (const PlatformError* failure = FailureOf(Operation::kOpenRegistryKey)) {
    return failure->Number();
  }
  const std::uint32_t hive =
      root == kHkeyLocalMachine && under_wow64 && (access & kKeyWow64_32Key) != 0 ? kHklm32View
                                                                                  : root;
  if (FindKey(hive, subkey) == nullptr) return kErrorFileNotFound;
  key = NewHandle(hive, subkey);
  return kErrorSuccess;
}

std::int32_t FakePlatform::QueryRegistryValue(RegistryKey key, const std::u16string& name,
                                              std::uint32_t* type, std::uint8_t* data,
                                              std::uint32_t* size) {
  ++registry_calls;
  const Operation operation =
      data == nullptr ? Operation::kQueryRegistrySize : Operation::kQueryRegistryData;
  if (const PlatformError* failure = FailureOf(operation)) return failure->Number();
  RegistryKeyValues* values = nullptr;
  if (auto error = ContinueOnError([&] { values = &ValuesOf(key); })) return error->Number();
  const auto value = values->find(name);
  if (value == values->end()) return kErrorFileNotFound;
  const RegistryData& stored = value->second;
  if (type != nullptr) *type = stored.type;
  const auto stored_size = static_cast<std::uint32_t>(stored.bytes.size());
  if (data == nullptr) {
    *size = stored_size;
    return kErrorSuccess;
  }
  if (*size < stored_size) {
    *size = stored_size;
    return kErrorMoreData;
  }
  std::memcpy(data, stored.bytes.data(), stored.bytes.size());
  *size = stored_size;
  return kErrorSuccess;
}

std::int32_t FakePlatform::CloseRegistryKey(RegistryKey key) {
  ++registry_calls;
  if (open_keys.erase(key) == 0) return kErrorInvalidHandle;
  return kErrorSuccess;
}

RegistryKey FakePlatform::CreateRegistryKey(std::uint32_t root, const std::u16string& subkey,
                                            std::uint32_t access) {
  Raise(Operation::kCreateRegistryKey);
  CreateRegistryKey(root, subkey);
  write_access.push_back(access);
  return NewHandle(root, subkey);
}

void FakePlatform::SetRegistryValue(RegistryKey key, const std::u16string& name,
                                    const std::u16string& text) {
  Raise(Operation::kSetRegistryValue);
  ValuesOf(key)[name] = RegistryData{kRegSz, TextBytes(text)};
}

void FakePlatform::DeleteRegistryValue(RegistryKey key, const std::u16string& name) {
  Raise(Operation::kDeleteRegistryValue);
  if (ValuesOf(key).erase(name) == 0) throw PlatformError(kErrorFileNotFound, u"Not found.");
}

void FakePlatform::DeleteRegistryKey(std::uint32_t root, const std::u16string& subkey,
                                     std::uint32_t view) {
  Raise(Operation::kDeleteRegistryKey);
  write_access.push_back(view);
  // As RegDeleteKeyExW: a key that has subkeys is refused.
  if (!SubkeysOf(root, subkey).empty()) throw PlatformError(5, u"Access is denied.");
  if (registry_[root].erase(subkey) == 0) throw PlatformError(kErrorFileNotFound, u"Not found.");
}

void FakePlatform::QueryRegistryKeyInfo(RegistryKey key, std::uint32_t& subkeys,
                                        std::uint32_t& values) {
  Raise(Operation::kQueryRegistryKeyInfo);
  values = static_cast<std::uint32_t>(ValuesOf(key).size());
  subkeys = static_cast<std::uint32_t>(SubkeysOf(handles_[key].root, handles_[key].name).size());
}

std::set<std::u16string, NoCaseLess> FakePlatform::SubkeysOf(std::uint32_t root,
                                                             const std::u16string& key) {
  std::set<std::u16string, NoCaseLess> children;
  for (const auto& [name, values] : registry_[root]) {
    if (name.size() > key.size() + 1 && name[key.size()] == u'\\' &&
        EqualsNoCase(std::u16string_view(name).substr(0, key.size()), key)) {
      children.insert(name.substr(0, name.find(u'\\', key.size() + 1)));
    }
  }
  return children;
}

FakePlatform::RegistryTextMap FakePlatform::RegistryTexts(std::uint32_t root) {
  RegistryTextMap texts;
  for (const auto& [name, values] : registry_[root]) {
    for (auto& key = texts[name]; const auto& [value_name, data] : values) {
      key[value_name] = std::u16string(reinterpret_cast<const char16_t*>(data.bytes.data()),
                                       data.bytes.size() / 2 - (data.bytes.size() > 1));
    }
  }
  return texts;
}

std::int32_t FakePlatform::EnumRegistrySubkeys(RegistryKey key, std::uint32_t index,
                                               std::u16string& name) {
  ++registry_calls;
  const auto handle = handles_.find(key);
  if (handle == handles_.end() || open_keys.count(key) == 0) return kErrorInvalidHandle;
  const OpenKey& open = handle->second;
  const std::set<std::u16string, NoCaseLess> children = SubkeysOf(open.root, open.name);
  if (index >= children.size()) return kErrorNoMoreItems;
  name = std::next(children.begin(), index)->substr(open.name.size() + 1);
  return kErrorSuccess;
}

std::u16string FakePlatform::LoadIndirectString(const std::u16string& source) {
  const auto found = indirect_strings.find(source);
  return found == indirect_strings.end() ? std::u16string() : found->second;
}

std::optional<std::u16string> FakePlatform::LoadText(std::uint16_t language, std::uint32_t id) {
  ++texts_loaded;
  const auto table = string_tables.find(language);
  if (table == string_tables.end()) return std::nullopt;
  const auto text = table->second.find(id);
  if (text == table->second.end()) return std::nullopt;
  return text->second;
}

std::optional<std::string> FakePlatform::Utf16ToAnsiExactly(std::u16string_view text) {
  std::string bytes;
  for (const char16_t c : text) {
    int b = 0;
    while (b < 256 && AnsiToUtf16(std::string(1, static_cast<char>(b))) != std::u16string(1, c))
      ++b;
    if (b == 256) return std::nullopt;
    bytes.push_back(static_cast<char>(b));
  }
  return bytes;
}

void FakePlatform::CreateFolder(const std::u16string& path) {
  if (const PlatformError* failure = FailureOf(Operation::kCreateFolder)) throw *failure;
  folders.insert(path);
}

void FakePlatform::WriteNewFile(const std::u16string& path, std::string_view bytes) {
  if (const PlatformError* failure = FailureOf(Operation::kWriteFile)) throw *failure;
  if (folders.count(path.substr(0, path.rfind(u'\\'))) == 0) {
    throw PlatformError(kErrorPathNotFound, u"The system cannot find the path specified.");
  }
  files[path] = std::string(bytes);
}

void FakePlatform::ReplaceWithBackup(const std::u16string& target,
                                     const std::u16string& replacement,
                                     const std::u16string& backup) {
  const PlatformError* failure = FailureOf(Operation::kReplaceFile);
  if (failure && failure->Number() != 1177) throw *failure;
  files[backup] = files.at(target);
  files.erase(target);
  if (failure) throw *failure;
  files[target] = files.at(replacement);
  files.erase(replacement);
}

void FakePlatform::RenameFile(const std::u16string& from, const std::u16string& to) {
  if (const PlatformError* failure = FailureOf(Operation::kRenameFile)) throw *failure;
  if (unmovable.count(from) != 0) throw PlatformError(32, u"The file is in use.");
  if (files.count(from) == 0) throw PlatformError(kErrorFileNotFound, u"Not found.");
  files[to] = files[from];
  files.erase(from);
}

void FakePlatform::RemoveFile(const std::u16string& path) {
  if (const PlatformError* failure = FailureOf(Operation::kRemoveFile)) throw *failure;
  if (files.erase(path) == 0) {
    throw PlatformError(kErrorFileNotFound, u"The system cannot find the file specified.");
  }
}

bool FakePlatform::ShowChooserDialog(const ChooserModel& model, ChooserEvents& events) {
  choosers.push_back(model);
  std::u16string command = model.command;
  bool always = model.always;
  while (!chooser_steps.empty()) {
    const std::u16string step = chooser_steps.front();
    chooser_steps.pop_front();
    if (step == u"Cancel") return false;
    if (step == u"Always") {
      always = !always;
    } else if (step == u"OK") {
      std::u16string refusal = events.Accept(command, always);
      if (refusal.empty()) return true;
      chooser_refusals.push_back(std::move(refusal));
    } else if (step == u"Other program") {
      command = events.PickProgram(0x4242).value_or(command);
    } else {
      command = step[0] == u'=' ? model.commands.at(step[1] - u'0') : step;
    }
  }
  ADD_FAILURE() << "the chooser was still open when the test's steps ran out";
  return false;
}

bool FakePlatform::ShowDialog(FileDialogBlock& block, bool save) {
  dialogs.push_back(block);
  dialog_was_save.push_back(save);
  if (dialog_answers.empty()) {
    ADD_FAILURE() << "unexpected file dialog";
    last_dialog_error_ = 0;
    return false;
  }
  const DialogAnswer answer = dialog_answers.front();
  dialog_answers.pop_front();
  if (!answer.choose) {
    last_dialog_error_ = answer.error;
    return false;
  }
  last_dialog_error_ = 0;
  block.file.assign(block.file.size(), u'\0');
  block.file.replace(0, answer.path.size(), answer.path);
  const std::size_t name = answer.path.rfind(u'\\') + 1;
  block.file_offset = static_cast<std::uint16_t>(name);
  const std::u16string title = answer.path.substr(name);
  block.file_title.assign(block.file_title.size(), u'\0');
  block.file_title.replace(0, title.size(), title);
  return true;
}

char16_t FakePlatform::AnsiBestFitAscii(char16_t c) {
  // A few best fits: quotes and slashes in both pages, a box line and an arrow in 1252, the soft
  // hyphen (which 1252 holds itself) in the double-byte one.
  if (ansi_utf8) return 0;
  const std::u16string_view from = ansi_double_byte ? u"\u02BA\u301D\u2044\u2215\u2216\u00AD"
                                                    : u"\u02BA\u301D\u2044\u2215\u2216\u2500\u2194";
  const std::size_t at = from.find(c);
  return at == std::u16string_view::npos ? 0 : u"\"\"//\\--"[at];
}

std::uint32_t FakePlatform::DriveType(const std::u16string& root) {
  const auto found = drive_types.find(FoldCase(root[0]));
  return found == drive_types.end() ? kDriveFixed : found->second;
}

void FakePlatform::OpenWithClass(const std::u16string& progid, const std::u16string& url) {
  if (const PlatformError* failure = FailureOf(Operation::kOpenWithClass)) throw *failure;
  opened_with_class.push_back(progid + u' ' + url);
}

std::u16string U16(std::string_view utf8) {
  std::u16string text;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    std::uint32_t cp;
    int extra;
    if (b < 0x80) {
      cp = b, extra = 0;
    } else if (b < 0xE0) {
      cp = b & 0x1F, extra = 1;
    } else if (b < 0xF0) {
      cp = b & 0x0F, extra = 2;
    } else {
      cp = b & 0x07, extra = 3;
    }
    ++i;
    for (int k = 0; k < extra && i < utf8.size(); ++k, ++i) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      text.push_back(char16_t(0xD800 + (cp >> 10)));
      text.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      text.push_back(char16_t(cp));
    }
  }
  return text;
}

std::string U8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace linkvane::testing
