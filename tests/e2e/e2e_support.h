#pragma once

// What every end-to-end test needs: a fresh folder holding its own copy of linkvane.exe, the
// files it reads, a way to start it with an exact command line, and the stand-in browser's
// record of what it was started with.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ui_driver.h"

namespace linkvane::e2e {

// Time limits of the waits, each for a condition: generous, so that only a fault reaches them,
// however busy the machine is. A passing test never waits for a limit.
inline constexpr DWORD kWindowTimeoutMs = 60000;
inline constexpr DWORD kExitTimeoutMs = 60000;
inline constexpr DWORD kRecordTimeoutMs = 60000;

// The exit statuses of linkvane.exe.
inline constexpr int kExitStarted = 0;
inline constexpr int kExitNothingStarted = 1;
inline constexpr int kExitStartFailed = 2;
inline constexpr int kExitErrorReported = 3;

std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// A path as the build wrote it (a Unix path under Wine) in the Windows form.
std::wstring WindowsPath(const std::string& path);
std::wstring Quoted(const std::wstring& text);
// The file URL of a drive path ("file:///C:/dir/name"), spaces written as "%20".
std::wstring FileUrl(const std::wstring& path);
// Sets an environment variable of the test process (inherited by what it starts) and
// removes it again when destroyed.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const std::wstring& name, const std::wstring& value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::wstring name_;
};

// True when the tests run on 64-bit Windows, where they and linkvane.exe, both 32-bit, run
// under WoW64. When the harness names the Wine prefix's architecture (LINKVANE_WINEARCH,
// "win32" or "win64"), a disagreement fails the test: a case meant for one of them must not
// pass unseen in the other.
bool On64BitWindows();

std::wstring LinkvaneBuildExe();
std::wstring StandinExe();
std::wstring FixturesDir();

bool PathExists(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
// The bytes of text in UTF-16, little or big endian, without a byte-order mark.
std::string Utf16Bytes(const std::wstring& text, bool big_endian);

// What the stand-in browser was started with.
struct StandinRecord {
  std::wstring command_line;
  std::wstring current_directory;
  std::vector<std::wstring> arguments;  // argv[0] first
};
std::optional<StandinRecord> ParseStandinRecord(const std::string& bytes);

// A message box as a test expects it, and as the driver read it.
struct ExpectedBox {
  std::wstring text;
  std::vector<int> buttons;
  int default_button;
  BoxIcon icon;
};
ExpectedBox FileNotFoundBox(const std::wstring& shown_path);
ExpectedBox NoBrowserCommandBox();
ExpectedBox NoUrlBox();
ExpectedBox UrlHasSpacesBox();
ExpectedBox EnvironmentInUrlBox(const std::wstring& url);
// M5 for command, with the error's number and description as "n (text)".
ExpectedBox CannotExecuteBox(const std::wstring& command, const std::wstring& error);
// Presses the button of a box or dialog that closes it, and waits until it has closed (a test
// failure when it stays), so that whatever the test looks for next cannot find it.
void Dismiss(HWND window, int button);
// Checks everything a box shows against the expectation.
void ExpectBox(const MessageBoxContent& box, const ExpectedBox& expected);
void PrintTo(const MessageBoxContent& box, std::ostream* out);

// Names the cases of a parameterised test by their `name` field.
struct CaseName {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& case_info) const {
    return case_info.param.name;
  }
};

// A job object holding linkvane.exe and everything it starts, so that a test can tell when all
// of it has ended. Whatever is still running when the job is destroyed is ended with it.
class ProcessJob {
 public:
  ProcessJob();
  ~ProcessJob();
  ProcessJob(const ProcessJob&) = delete;
  ProcessJob& operator=(const ProcessJob&) = delete;

  HANDLE handle() const { return job_; }
  // True when no process of the job runs any more.
  bool Empty() const;
  // Waits until no process of the job runs any more; false when some still do after
  // timeout_ms.
  bool WaitUntilEmpty(DWORD timeout_ms) const;

 private:
  HANDLE job_;
};

// A run of linkvane.exe, started with an exact command line in job. The process is ended if
// the test leaves it running.
class LinkvaneRun {
 public:
  LinkvaneRun(const std::wstring& exe, const std::wstring& command_line,
              const std::wstring& current_directory, const ProcessJob& job);
  ~LinkvaneRun();
  LinkvaneRun(const LinkvaneRun&) = delete;
  LinkvaneRun& operator=(const LinkvaneRun&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD process_id() const { return process_id_; }

  // The next window titled "Linkvane"; null (and a test failure) when none appears in time.
  HWND WaitForWindow();
  // The next message box, read; a test failure when none appears (or another window does).
  std::optional<MessageBoxContent> WaitForMessageBox(HWND* box = nullptr);
  // Waits for the message box, checks it against expected and presses button.
  void AnswerBox(const ExpectedBox& expected, int button);

  // Waits for the process to end and returns its exit status. A window that appears meanwhile
  // is unexpected: it fails the test, is reported and dismissed. -1 when it did not end.
  // With kYesToQuestions, a Yes/No question other than whether to go on without a URL is
  // expected and answered Yes.
  static constexpr bool kYesToQuestions = true;
  int WaitForExit(bool yes_to_questions = false);

 private:
  HANDLE process_ = nullptr;
  DWORD process_id_ = 0;
};

// The base of the end-to-end tests: a fresh folder of its own with a copy of linkvane.exe
// (browser.dat must sit beside it), and the stand-in's record file in it.
class LinkvaneTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::wstring& folder() const { return folder_; }
  std::wstring InFolder(const std::wstring& name) const { return folder_ + L"\\" + name; }
  const std::wstring& exe() const { return exe_; }
  // The job every run of the test starts in, with whatever each run starts.
  const ProcessJob& job() const { return *job_; }

  // A browser.dat whose first line starts the stand-in browser with rest as its arguments.
  static std::string StandinTemplate(const std::string& rest = "%s");
  void WriteBrowserDat(const std::string& bytes);
  // Writes a file into the test's folder (sub-folders created) and returns its path.
  std::wstring WriteFile(const std::wstring& name, const std::string& bytes);

  // Starts the test's linkvane.exe: its quoted path followed by tail, exactly, in the current
  // folder given (the test's folder when empty).
  std::unique_ptr<LinkvaneRun> Launch(const std::wstring& tail,
                                      const std::wstring& current_directory = std::wstring());
  // Starts exe (a copy of linkvane.exe) with command_line exactly, in current_directory.
  std::unique_ptr<LinkvaneRun> LaunchExe(const std::wstring& exe, const std::wstring& command_line,
                                         const std::wstring& current_directory);
  // The same with one blank and argument after the program's name.
  std::unique_ptr<LinkvaneRun> LaunchWith(const std::wstring& argument) {
    return Launch(L" " + argument);
  }

  // The stand-in's record; a test failure when it did not come in time.
  std::optional<StandinRecord> WaitForRecord();
  // The arguments the stand-in received after its own name (empty when there is no record).
  std::vector<std::wstring> BrowserArguments();
  // Waits until every run of the test has ended with all it started, then true when the
  // stand-in has recorded nothing.
  bool NothingStarted();

  // Runs linkvane.exe on argument, expects it to start the browser with no question, and
  // returns the arguments the browser received after its own name.
  std::vector<std::wstring> OpenExpectingStart(const std::wstring& argument);

 private:
  std::wstring folder_;
  std::wstring exe_;
  std::wstring record_;
  std::unique_ptr<ProcessJob> job_;
};

}  // namespace linkvane::e2e
