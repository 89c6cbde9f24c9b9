// Hostile input end to end: device names, pipes and odd paths as the argument, shortcut files
// of a gigabyte, of one huge line or of noise, and a command longer than Windows can start.
// Each run ends with its message (or starts the browser) within the harness's time limits,
// and the 32-bit process's memory stays small whatever the file's size.

#include <cstdint>
#include <string>
#include <vector>

#include "e2e_support.h"
// After windows.h, which it needs.
#include <psapi.h>

namespace linkvane::e2e {
namespace {

using Arguments = std::vector<std::wstring>;

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr std::uint64_t kGiB = 1024 * kMiB;
// What a run of linkvane.exe takes at most, whatever it reads: Wine and the program's own
// buffers. Reading a 100 MiB line whole would take twice that much as UTF-16 alone.
constexpr SIZE_T kWorkingSetBound = 96 * kMiB;

const char kComment[] =
    "Comment=lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod\r\n";

// The file's parts in turn: head, size bytes of pattern repeated (a hole that reads as NUL
// bytes and takes no disk space when pattern is empty), tail.
void WriteBigFile(const std::wstring& path, const std::string& head, const std::string& pattern,
                  std::uint64_t size, const std::string& tail) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << Utf8(path);
  auto write = [&](const std::string& bytes) {
    DWORD written = 0;
    return bytes.empty() ||
           (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size());
  };
  bool ok = write(head);
  if (pattern.empty()) {
    LARGE_INTEGER skip;
    skip.QuadPart = static_cast<LONGLONG>(size);
    ok = ok && ::SetFilePointerEx(file, skip, nullptr, FILE_CURRENT);
    ok = ok && (!tail.empty() || ::SetEndOfFile(file));
  } else {
    std::string block;  // whole repeats of the pattern, a megabyte or more
    while (block.size() < kMiB) block += pattern;
    for (std::uint64_t left = size; ok && left > 0;) {
      const std::uint64_t count = left < block.size() ? left : block.size();
      ok = write(block.substr(0, static_cast<std::size_t>(count)));
      left -= count;
    }
  }
  ok = ok && write(tail);
  ::CloseHandle(file);
  ASSERT_TRUE(ok) << "cannot write " << Utf8(path);
}

// Follows a run's memory from outside, by its process id.
class MemoryWatch {
 public:
  explicit MemoryWatch(DWORD process_id)
      : process_(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id)) {}
  ~MemoryWatch() {
    if (process_ != nullptr) ::CloseHandle(process_);
  }
  MemoryWatch(const MemoryWatch&) = delete;
  MemoryWatch& operator=(const MemoryWatch&) = delete;

  // The largest working set the process has had so far; 0 when it cannot be told.
  SIZE_T PeakWorkingSet() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (process_ == nullptr || !::GetProcessMemoryInfo(process_, &counters, sizeof counters)) {
      return 0;
    }
    return counters.PeakWorkingSetSize;
  }

 private:
  HANDLE process_;
};

// Expects the run's memory, read while it waits for an answer, to be small.
void ExpectSmallMemory(const MemoryWatch& memory) {
  const SIZE_T peak = memory.PeakWorkingSet();
  EXPECT_GT(peak, 0u) << "the run's memory cannot be read";
  EXPECT_LT(peak, kWorkingSetBound) << peak / kMiB << " MiB";
}

class HostileInputTest : public LinkvaneTest {
 protected:
  // Runs linkvane.exe on argument, expects the message box that M1 shows for shown, presses OK
  // and expects the run to end without starting anything.
  void ExpectNotFound(const std::wstring& argument, const std::wstring& shown) {
    std::unique_ptr<LinkvaneRun> run = LaunchWith(argument);
    run->AnswerBox(FileNotFoundBox(shown), IDOK);
    EXPECT_EQ(run->WaitForExit(), kExitNothingStarted);
    EXPECT_TRUE(NothingStarted());
  }

  // Expects the message that the command cannot be started, for a command that begins with
  // command_start and is longer than 1,024 characters: the box shows its first 1,024 followed
  // by "...". The run is then ended by OK.
  void ExpectCommandTooLong(LinkvaneRun& run, const std::wstring& command_start,
                            const MemoryWatch* memory = nullptr) {
    HWND window = nullptr;
    const std::optional<MessageBoxContent> box = run.WaitForMessageBox(&window);
    ASSERT_TRUE(box);
    if (memory != nullptr) ExpectSmallMemory(*memory);
    const std::wstring head = L"Sorry, Windows shell could not execute the defined command:\r\n" +
                              command_start.substr(0, 1024) + L"...\r\n\r\nError code = ";
    EXPECT_EQ(box->text.substr(0, head.size()), head) << Utf8(box->text.substr(0, 200));
    const std::wstring error = box->text.size() > head.size() ? box->text.substr(head.size()) : L"";
    // A number, then the system's description of the error in parentheses.
    EXPECT_GT(error.size(), 4u);
    EXPECT_NE(error.find(L" ("), std::wstring::npos) << Utf8(error);
    EXPECT_EQ(error.substr(error.size() < 2 ? 0 : error.size() - 2), L").") << Utf8(error);
    // The command holds no blank where its line could wrap, so the box is wider than the
    // screen and its icon may lie beyond the screen's edge: only its buttons are checked.
    ASSERT_EQ(box->buttons.size(), 1u);
    EXPECT_EQ(box->buttons[0].id, IDOK);
    Dismiss(window, IDOK);
    EXPECT_EQ(run.WaitForExit(), kExitStartFailed);
    EXPECT_TRUE(NothingStarted());
  }

  // Expects the question that the file holds no URL, with the memory still small, and says No.
  void ExpectNoUrl(LinkvaneRun& run, const MemoryWatch& memory) {
    HWND window = nullptr;
    const std::optional<MessageBoxContent> box = run.WaitForMessageBox(&window);
    ASSERT_TRUE(box);
    ExpectBox(*box, NoUrlBox());
    ExpectSmallMemory(memory);
    Dismiss(window, IDNO);
    EXPECT_EQ(run.WaitForExit(), kExitNothingStarted);
    EXPECT_TRUE(NothingStarted());
  }
};

// --- Devices, pipes and paths that name no file on a disk.

struct OddPathCase {
  const char* name;
  const wchar_t* argument;
};

class OddPathTest : public HostileInputTest, public ::testing::WithParamInterface<OddPathCase> {};

TEST_P(OddPathTest, IsReportedAsNotFound) {
  WriteBrowserDat(StandinTemplate());
  ExpectNotFound(GetParam().argument, GetParam().argument);
}

const OddPathCase kOddPaths[] = {
    {"Console", L"CON"},
    {"ConsoleInput", L"CONIN$"},
    {"NullDevice", L"NUL"},
    {"NullDeviceWithAnEnding", L"NUL.url"},
    {"DevicePath", L"\\\\.\\NUL"},
    {"SerialPort", L"COM1"},
    {"PipeThatDoesNotExist", L"\\\\.\\pipe\\x"},
    {"UncPathToNowhere", L"\\\\nosuchserver\\share\\x.url"},
    {"UncRootOnly", L"\\\\nosuchserver"},
};

INSTANTIATE_TEST_SUITE_P(Arguments, OddPathTest, ::testing::ValuesIn(kOddPaths), CaseName());

TEST_F(HostileInputTest, PipeThatExistsIsNotReadFrom) {
  // Nobody ever writes to this pipe: a program that read from it would wait forever.
  const std::wstring pipe =
      L"\\\\.\\pipe\\linkvane-hostile-" + std::to_wstring(::GetCurrentProcessId());
  HANDLE server = ::CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                     PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  WriteBrowserDat(StandinTemplate());
  ExpectNotFound(pipe, pipe);
  ::CloseHandle(server);
}

TEST_F(HostileInputTest, PathLongerThanAWindowsPathOpensWhole) {
  // A shortcut whose path is far longer than 260 characters, as deep synchronised folders have
  // them, plain and as a file URL.
  std::wstring deep = folder();
  while (deep.size() < 400) deep += L"\\" + std::wstring(60, L'd');
  for (std::size_t at = deep.find(L'\\', folder().size()); at != std::wstring::npos;
       at = deep.find(L'\\', at + 1)) {
    const std::size_t next = deep.find(L'\\', at + 1);
    const std::wstring part = deep.substr(0, next == std::wstring::npos ? deep.size() : next);
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + part).c_str(), nullptr)) << Utf8(part);
  }
  const std::wstring shortcut = deep + L"\\a.url";
  WriteBytes(L"\\\\?\\" + shortcut, "[InternetShortcut]\r\nURL=https://example.com/deep\r\n");
  WriteBrowserDat(StandinTemplate());
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)),
            std::vector<std::wstring>{L"https://example.com/deep"});
  ASSERT_TRUE(::DeleteFileW(InFolder(L"standin-record.txt").c_str()));
  EXPECT_EQ(OpenExpectingStart(FileUrl(shortcut)),
            std::vector<std::wstring>{L"https://example.com/deep"});
}

// --- Files of a gigabyte, of one huge line, of NUL bytes and of noise.

TEST_F(HostileInputTest, GigabyteShortcutWithTheUrlLineLast) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = InFolder(L"big.url");
  WriteBigFile(shortcut, "[InternetShortcut]\r\n", kComment, kGiB,
               "URL=https://example.com/after-a-gigabyte\r\n");
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)),
            Arguments{L"https://example.com/after-a-gigabyte"});
}

TEST_F(HostileInputTest, GigabyteWeblocWithTheMarkersAtTheEnd) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = InFolder(L"big.webloc");
  WriteBigFile(shortcut, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist><dict>\n", "", kGiB,
               "<key>URL</key><string>https://example.com/webloc-after-a-gigabyte</string>"
               "</dict></plist>\n");
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)),
            Arguments{L"https://example.com/webloc-after-a-gigabyte"});
}

TEST_F(HostileInputTest, HundredMegabyteLineBeforeTheUrlLine) {
  // The URL holds a space, so that the run stops at a question while its memory can be read.
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = InFolder(L"long-line.url");
  WriteBigFile(shortcut, "[InternetShortcut]\r\nComment=", "abcdefgh", 100 * kMiB,
               "\r\nURL=https://example.com/after the line\r\n");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  MemoryWatch memory(run->process_id());
  HWND window = nullptr;
  const std::optional<MessageBoxContent> box = run->WaitForMessageBox(&window);
  ASSERT_TRUE(box);
  ExpectBox(*box, UrlHasSpacesBox());
  ExpectSmallMemory(memory);
  Dismiss(window, IDYES);
  EXPECT_EQ(run->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), Arguments{L"https://example.com/after%20the%20line"});
}

// Whatever the value's length, the command cannot hold it: the start fails, and its message
// shows the command's beginning.
struct HugeValueCase {
  const char* name;
  const wchar_t* file;
  const char* head;  // up to the value, which goes on with a hundred megabytes of "abcdefgh"
  const char* tail;
};

class HugeValueTest : public HostileInputTest,
                      public ::testing::WithParamInterface<HugeValueCase> {};

TEST_P(HugeValueTest, CannotBeStarted) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = InFolder(GetParam().file);
  WriteBigFile(shortcut, std::string(GetParam().head) + "https://example.com/", "abcdefgh",
               100 * kMiB, GetParam().tail);
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  MemoryWatch memory(run->process_id());
  std::wstring start = FromUtf8(StandinTemplate("https://example.com/"));
  while (start.size() < 1024) start += L"abcdefgh";
  ExpectCommandTooLong(*run, start, &memory);
}

const HugeValueCase kHugeValues[] = {
    {"InternetShortcut", L"long-url.url", "[InternetShortcut]\r\nURL=", "\r\n"},
    {"Webloc", L"long-value.webloc", "<plist><dict><key>URL</key><string>",
     "</string></dict></plist>\n"},
};

INSTANTIATE_TEST_SUITE_P(Files, HugeValueTest, ::testing::ValuesIn(kHugeValues), CaseName());

struct NoiseCase {
  const char* name;
  const wchar_t* file;
  bool random;  // pseudo-random bytes; NUL bytes otherwise
  std::uint64_t size;
};

class NoiseTest : public HostileInputTest, public ::testing::WithParamInterface<NoiseCase> {};

TEST_P(NoiseTest, HoldsNoUrl) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = InFolder(GetParam().file);
  std::string pattern;
  if (GetParam().random) {
    // A fixed sequence without the letter u, so that no key or marker can occur in it.
    std::uint32_t state = 2463534242u;
    while (pattern.size() < 4 * kMiB + 7) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      const char byte = static_cast<char>(state >> 24);
      pattern += (byte | 0x20) == 'u' ? '_' : byte;
    }
  }
  WriteBigFile(shortcut, "", pattern, GetParam().size, "");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  MemoryWatch memory(run->process_id());
  ExpectNoUrl(*run, memory);
}

const NoiseCase kNoise[] = {
    {"GigabyteOfNulBytes", L"nul-bytes.url", false, kGiB},
    {"GigabyteOfNulBytesAsWebloc", L"nul-bytes.webloc", false, kGiB},
    {"RandomBytes", L"random.url", true, 256 * kMiB},
    {"RandomBytesAsWebloc", L"random.webloc", true, 256 * kMiB},
};

INSTANTIATE_TEST_SUITE_P(Files, NoiseTest, ::testing::ValuesIn(kNoise), CaseName());

// --- A command longer than CreateProcessW accepts.

TEST_F(HostileInputTest, CommandTooLongForWindowsFailsWithItsBeginningShown) {
  WriteBrowserDat(StandinTemplate("--first %s --second %s"));
  std::string url = "https://example.com/?q=";
  while (url.size() < 20000) url += "0123456789";
  const std::wstring shortcut =
      WriteFile(L"long-command.url", "[InternetShortcut]\r\nURL=" + url + "\r\n");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  ExpectCommandTooLong(*run, FromUtf8(StandinTemplate("--first " + url)));
}

TEST_F(HostileInputTest, CommandJustShortEnoughForWindowsStarts) {
  // The same kind of command, under the limit: started, its URL whole.
  WriteBrowserDat(StandinTemplate());
  std::string url = "https://example.com/?q=";
  const std::size_t room = 32767 - FromUtf8(StandinTemplate("")).size() - 100;
  while (url.size() + 10 < room) url += "0123456789";
  const std::wstring shortcut =
      WriteFile(L"long-command.url", "[InternetShortcut]\r\nURL=" + url + "\r\n");
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)), Arguments{FromUtf8(url)});
}

}  // namespace
}  // namespace linkvane::e2e
