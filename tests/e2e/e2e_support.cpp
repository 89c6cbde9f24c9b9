#include "e2e_support.h"

#include <filesystem>

namespace linkvane::e2e {

namespace {

constexpr DWORD kPollMs = 50;

std::wstring EnvironmentText(const wchar_t* name) {
  const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return std::wstring();
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

std::wstring Unescape(const std::wstring& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const wchar_t next = text[++i];
    out += next == L'r' ? L'\r' : next == L'n' ? L'\n' : next;
  }
  return out;
}

// Deletes a folder with all it holds. The caller gives the long form ("\\\\?\\" first),
// which reaches paths of more than 260 characters too. False when anything is left.
bool RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  bool removed = true;
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        removed = RemoveTree(path) && removed;
      } else {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        removed = ::DeleteFileW(path.c_str()) && removed;
      }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  return ::RemoveDirectoryW(folder.c_str()) && removed;
}

std::wstring ButtonList(const MessageBoxContent& box) {
  std::wstring list;
  for (const BoxButton& button : box.buttons) {
    if (!list.empty()) list += L", ";
    list += std::to_wstring(button.id) + L" \"" + button.text + L"\"";
  }
  return list;
}

}  // namespace

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

std::wstring WindowsPath(const std::string& path) {
  std::wstring wide = FromUtf8(path);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  // Wine shows the Unix root as drive Z:.
  if (!wide.empty() && wide[0] == L'\\') wide = L"Z:" + wide;
  return wide;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring FileUrl(const std::wstring& path) {
  std::wstring url = L"file:///";
  for (wchar_t c : path) {
    if (c == L'\\') {
      url += L'/';
    } else if (c == L' ') {
      url += L"%20";
    } else {
      url += c;
    }
  }
  return url;
}

ScopedEnvironment::ScopedEnvironment(const std::wstring& name, const std::wstring& value)
    : name_(name) {
  EXPECT_TRUE(::SetEnvironmentVariableW(name.c_str(), value.c_str()));
}

ScopedEnvironment::~ScopedEnvironment() { ::SetEnvironmentVariableW(name_.c_str(), nullptr); }

bool On64BitWindows() {
  BOOL wow64 = FALSE;
  EXPECT_TRUE(::IsWow64Process(::GetCurrentProcess(), &wow64));
  const std::wstring named = EnvironmentText(L"LINKVANE_WINEARCH");
  if (!named.empty()) {
    EXPECT_EQ(named, wow64 ? L"win64" : L"win32") << "the prefix is not what the harness says";
  }
  return wow64 != FALSE;
}

std::wstring LinkvaneBuildExe() { return WindowsPath(LINKVANE_E2E_LINKVANE_EXE); }
std::wstring StandinExe() { return WindowsPath(LINKVANE_E2E_STANDIN_EXE); }
std::wstring FixturesDir() { return WindowsPath(LINKVANE_E2E_FIXTURES_DIR); }

bool PathExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << Utf8(path);
  DWORD written = 0;
  const BOOL ok =
      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  ASSERT_TRUE(ok && written == bytes.size()) << "cannot write " << Utf8(path);
}

std::string ReadBytes(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  ::CloseHandle(file);
  return bytes;
}

std::string Utf16Bytes(const std::wstring& text, bool big_endian) {
  std::string bytes;
  for (wchar_t c : text) {
    const char low = static_cast<char>(c & 0xFF);
    const char high = static_cast<char>((c >> 8) & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

std::optional<StandinRecord> ParseStandinRecord(const std::string& bytes) {
  const std::wstring text = FromUtf8(bytes);
  StandinRecord record;
  bool header = false;
  bool complete = false;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find(L'\n', at);
    if (end == std::wstring::npos) return std::nullopt;  // a line without its end
    const std::wstring line = text.substr(at, end - at);
    at = end + 1;
    if (line == L"linkvane-standin 1") {
      header = true;
    } else if (line.rfind(L"cmdline ", 0) == 0) {
      record.command_line = Unescape(line.substr(8));
    } else if (line.rfind(L"cwd ", 0) == 0) {
      record.current_directory = Unescape(line.substr(4));
    } else if (line.rfind(L"arg ", 0) == 0) {
      record.arguments.push_back(Unescape(line.substr(4)));
    } else if (line == L"end") {
      complete = true;
    }
  }
  if (!header || !complete) return std::nullopt;
  return record;
}

ExpectedBox FileNotFoundBox(const std::wstring& shown_path) {
  return {L"Sorry, the given argument (URL file)\r\n\"" + shown_path + L"\"\r\ncould not be found!",
          {IDOK},
          IDOK,
          BoxIcon::kError};
}

ExpectedBox NoBrowserCommandBox() {
  return {L"Sorry, no browser command to open any weblocation (URL) is defined!",
          {IDOK},
          IDOK,
          BoxIcon::kError};
}

ExpectedBox NoUrlBox() {
  return {L"Sorry, there wasn't found an URL inside the URL file.\r\nContinue anyway?",
          {IDYES, IDNO},
          IDNO,
          BoxIcon::kQuestion};
}

ExpectedBox UrlHasSpacesBox() {
  return {
      L"The read URL contains spaces (blank characters) which should not be the case with a "
      L"proper URL.\r\nContinue anyway?",
      {IDYES, IDNO},
      IDNO,
      BoxIcon::kError};
}

ExpectedBox EnvironmentInUrlBox(const std::wstring& url) {
  return {L"This shortcut puts values from your computer into its web address:\r\n" + url +
              L"\r\nContinue anyway?",
          {IDYES, IDNO},
          IDNO,
          BoxIcon::kWarning};
}

ExpectedBox CannotExecuteBox(const std::wstring& command, const std::wstring& error) {
  return {L"Sorry, Windows shell could not execute the defined command:\r\n" + command +
              L"\r\n\r\nError code = " + error + L".",
          {IDOK},
          IDOK,
          BoxIcon::kError};
}

void ExpectBox(const MessageBoxContent& box, const ExpectedBox& expected) {
  EXPECT_EQ(box.title, L"Linkvane");
  EXPECT_EQ(box.text, expected.text);
  std::vector<int> ids;
  for (const BoxButton& button : box.buttons) ids.push_back(button.id);
  EXPECT_EQ(ids, expected.buttons) << "buttons: " << Utf8(ButtonList(box));
  EXPECT_EQ(box.default_button, expected.default_button);
  EXPECT_STREQ(BoxIconName(box.icon), BoxIconName(expected.icon));
}

void Dismiss(HWND window, int button) {
  PressButton(window, button);
  EXPECT_TRUE(WaitForWindowGone(window, kWindowTimeoutMs))
      << "the window did not close within " << kWindowTimeoutMs << " ms";
}

void PrintTo(const MessageBoxContent& box, std::ostream* out) {
  *out << "message box \"" << Utf8(box.title) << "\": \"" << Utf8(box.text) << "\" ["
       << Utf8(ButtonList(box)) << "], default " << box.default_button << ", icon "
       << BoxIconName(box.icon);
}

ProcessJob::ProcessJob() : job_(::CreateJobObjectW(nullptr, nullptr)) {
  EXPECT_NE(job_, nullptr) << "cannot create a job object: error " << ::GetLastError();
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  EXPECT_TRUE(job_ != nullptr && ::SetInformationJobObject(job_, JobObjectExtendedLimitInformation,
                                                           &limits, sizeof(limits)));
}

ProcessJob::~ProcessJob() {
  if (job_ == nullptr) return;
  ::TerminateJobObject(job_, 99);
  WaitUntilEmpty(kExitTimeoutMs);
  ::CloseHandle(job_);
}

bool ProcessJob::Empty() const {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
  return job_ != nullptr &&
         ::QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &info, sizeof(info),
                                     nullptr) &&
         info.ActiveProcesses == 0;
}

bool ProcessJob::WaitUntilEmpty(DWORD timeout_ms) const {
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  while (!Empty()) {
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(kPollMs);
  }
  return true;
}

LinkvaneRun::LinkvaneRun(const std::wstring& exe, const std::wstring& command_line,
                         const std::wstring& current_directory, const ProcessJob& job) {
  std::wstring line = command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  // The program is named apart from the command line, so the line reaches it exactly as given.
  // It starts suspended, so that it is in the job before it can start anything itself.
  if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, current_directory.c_str(), &startup, &process)) {
    ADD_FAILURE() << "cannot start " << Utf8(exe) << ": error " << ::GetLastError();
    return;
  }
  process_ = process.hProcess;
  process_id_ = process.dwProcessId;
  if (!::AssignProcessToJobObject(job.handle(), process_)) {
    ADD_FAILURE() << "cannot put linkvane.exe in a job: error " << ::GetLastError();
    ::TerminateProcess(process_, 99);
  }
  ::ResumeThread(process.hThread);
  ::CloseHandle(process.hThread);
}

LinkvaneRun::~LinkvaneRun() {
  if (process_ == nullptr) return;
  if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_, 99);
    ::WaitForSingleObject(process_, kExitTimeoutMs);
  }
  ::CloseHandle(process_);
}

HWND LinkvaneRun::WaitForWindow() {
  if (process_ == nullptr) return nullptr;
  const ULONGLONG deadline = ::GetTickCount64() + kWindowTimeoutMs;
  for (;;) {
    if (HWND window = FindLinkvaneWindow(process_id_)) return window;
    if (::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) {
      DWORD code = 0;
      ::GetExitCodeProcess(process_, &code);
      ADD_FAILURE() << "linkvane.exe ended (exit status " << code
                    << ") without showing the expected window";
      return nullptr;
    }
    if (::GetTickCount64() >= deadline) {
      ADD_FAILURE() << "no window titled \"Linkvane\" appeared within " << kWindowTimeoutMs
                    << " ms";
      return nullptr;
    }
    ::Sleep(kPollMs);
  }
}

std::optional<MessageBoxContent> LinkvaneRun::WaitForMessageBox(HWND* box) {
  HWND window = WaitForWindow();
  if (window == nullptr) return std::nullopt;
  if (!IsMessageBox(window)) {
    ADD_FAILURE() << "expected a message box, but another window titled \"Linkvane\" appeared";
    return std::nullopt;
  }
  if (box != nullptr) *box = window;
  return ReadMessageBox(window);
}

void LinkvaneRun::AnswerBox(const ExpectedBox& expected, int button) {
  HWND window = nullptr;
  const std::optional<MessageBoxContent> box = WaitForMessageBox(&window);
  if (!box) return;
  ExpectBox(*box, expected);
  Dismiss(window, button);
}

int LinkvaneRun::WaitForExit(bool yes_to_questions) {
  if (process_ == nullptr) return -1;
  const ULONGLONG deadline = ::GetTickCount64() + kExitTimeoutMs;
  HWND dismissed = nullptr;
  for (;;) {
    if (::WaitForSingleObject(process_, kPollMs) == WAIT_OBJECT_0) {
      DWORD code = 0;
      ::GetExitCodeProcess(process_, &code);
      return static_cast<int>(code);
    }
    HWND window = FindLinkvaneWindow(process_id_);
    if (window != nullptr && window != dismissed) {
      // A question the caller expects is answered Yes. Any other window is unexpected: report
      // what it shows and close it so that the run can end.
      if (IsMessageBox(window)) {
        const MessageBoxContent box = ReadMessageBox(window);
        bool has_no = false;
        for (const BoxButton& button : box.buttons) has_no = has_no || button.id == IDNO;
        const bool answer_yes = yes_to_questions && has_no && box.text != NoUrlBox().text;
        if (!answer_yes) ADD_FAILURE() << "unexpected " << ::testing::PrintToString(box);
        PressButton(window, answer_yes ? IDYES : has_no ? IDNO : IDOK);
      } else {
        ADD_FAILURE() << "unexpected dialog titled \"Linkvane\"";
        PressButton(window, IDCANCEL);
      }
      dismissed = window;
    }
    if (::GetTickCount64() >= deadline) {
      ADD_FAILURE() << "linkvane.exe did not end within " << kExitTimeoutMs << " ms";
      ::TerminateProcess(process_, 99);
      ::WaitForSingleObject(process_, kExitTimeoutMs);
      return -1;
    }
  }
}

void LinkvaneTest::SetUp() {
  static int counter = 0;
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
  ASSERT_GT(length, 0u);
  std::wstring base(temp, length);
  if (base.back() != L'\\') base += L'\\';
  folder_ = base + L"lv-e2e-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"-" + std::to_wstring(::GetTickCount64());
  ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr)) << "cannot create " << Utf8(folder_);
  exe_ = InFolder(L"linkvane.exe");
  ASSERT_TRUE(::CopyFileW(LinkvaneBuildExe().c_str(), exe_.c_str(), FALSE))
      << "cannot copy " << Utf8(LinkvaneBuildExe());
  ASSERT_TRUE(PathExists(StandinExe())) << "no stand-in browser at " << Utf8(StandinExe());
  record_ = InFolder(L"standin-record.txt");
  // Under Wine the desktop is a process of its own (explorer.exe), started by the first program
  // that asks for it. Asked for here, it is the test's and not a child of linkvane.exe, which
  // would put it in the job, where it would never end.
  ASSERT_NE(::GetDesktopWindow(), nullptr);
  job_ = std::make_unique<ProcessJob>();
  // Inherited by linkvane.exe and from it by the stand-in browser.
  ASSERT_TRUE(::SetEnvironmentVariableW(L"LINKVANE_STANDIN_RECORD", record_.c_str()));
}

void LinkvaneTest::TearDown() {
  // Ends whatever a failed test left running, which could hold files of the folder open.
  job_.reset();
  ::SetEnvironmentVariableW(L"LINKVANE_STANDIN_RECORD", nullptr);
  if (folder_.empty() || EnvironmentText(L"LINKVANE_E2E_KEEP") == L"1") return;
  // A folder left behind could hold a gigabyte.
  EXPECT_TRUE(RemoveTree(L"\\\\?\\" + folder_)) << "cannot remove " << Utf8(folder_);
}

std::string LinkvaneTest::StandinTemplate(const std::string& rest) {
  return "\"" + Utf8(StandinExe()) + "\" " + rest;
}

void LinkvaneTest::WriteBrowserDat(const std::string& bytes) {
  WriteBytes(InFolder(L"browser.dat"), bytes);
}

std::wstring LinkvaneTest::WriteFile(const std::wstring& name, const std::string& bytes) {
  const std::wstring path = InFolder(name);
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  WriteBytes(path, bytes);
  return path;
}

std::unique_ptr<LinkvaneRun> LinkvaneTest::Launch(const std::wstring& tail,
                                                  const std::wstring& current_directory) {
  return LaunchExe(exe_, Quoted(exe_) + tail,
                   current_directory.empty() ? folder_ : current_directory);
}

std::unique_ptr<LinkvaneRun> LinkvaneTest::LaunchExe(const std::wstring& exe,
                                                     const std::wstring& command_line,
                                                     const std::wstring& current_directory) {
  return std::make_unique<LinkvaneRun>(exe, command_line, current_directory, *job_);
}

std::optional<StandinRecord> LinkvaneTest::WaitForRecord() {
  const ULONGLONG deadline = ::GetTickCount64() + kRecordTimeoutMs;
  for (;;) {
    // Seen before the record is looked for: with every process ended, the record is final.
    const bool all_ended = job_->Empty();
    if (PathExists(record_)) {
      std::optional<StandinRecord> record = ParseStandinRecord(ReadBytes(record_));
      if (record) return record;
    }
    if (all_ended) {
      ADD_FAILURE() << "the stand-in browser left no record (every process of the run ended)";
      return std::nullopt;
    }
    if (::GetTickCount64() >= deadline) {
      ADD_FAILURE() << "the stand-in browser left no record within " << kRecordTimeoutMs << " ms";
      return std::nullopt;
    }
    ::Sleep(kPollMs);
  }
}

std::vector<std::wstring> LinkvaneTest::BrowserArguments() {
  std::optional<StandinRecord> record = WaitForRecord();
  if (!record || record->arguments.empty()) return {};
  return std::vector<std::wstring>(record->arguments.begin() + 1, record->arguments.end());
}

bool LinkvaneTest::NothingStarted() {
  // linkvane.exe and whatever it started belong to the job. Once the job is empty nothing can
  // start a browser any more, and a browser that was started has written its record.
  if (!job_->WaitUntilEmpty(kExitTimeoutMs)) {
    ADD_FAILURE() << "the run was still going after " << kExitTimeoutMs << " ms";
    return false;
  }
  return !PathExists(record_);
}

std::vector<std::wstring> LinkvaneTest::OpenExpectingStart(const std::wstring& argument) {
  std::unique_ptr<LinkvaneRun> run = LaunchWith(argument);
  const int status = run->WaitForExit();
  EXPECT_EQ(status, kExitStarted);
  if (status != kExitStarted) return {};
  return BrowserArguments();
}

}  // namespace linkvane::e2e
