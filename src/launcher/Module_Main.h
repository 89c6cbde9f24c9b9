#pragma once

// The launcher: the whole run from command-line argument to started browser, the shortcut
// readers and the browser-command conversion.

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace linkvane::Module_Main {

// How a run ended, as the process's exit status.
enum ExitStatus : int {
  kExitStarted = 0,         // the browser command was started
  kExitNothingStarted = 1,  // the run ended early: a message, a No, a cancelled dialog
  kExitStartFailed = 2,     // the command could not be started (M5)
  kExitErrorReported = 3,   // an unexpected error ended the run
};

// A template shorter than this counts as none.
inline constexpr std::size_t kShortestTemplate = 4;

// The run itself: argument, shortcut file, template, URL, started command. Raises what it
// does not handle.
int Main(Platform& platform);

// The rest of a run once the URL and the template are known: the questions, then the start
// (by the shell when shell_progid names the browser). Returns the exit status.
int Launch(Platform& platform, const std::u16string& command_template,
           const std::u16string& url_as_read, const std::u16string& shell_progid);

// linkvane.exe /openwith "shortcut": the shortcut read as Main reads it, then opened once in a
// browser the user picks, perhaps kept for its site. Returns the exit status.
int OpenWith(Platform& platform, std::u16string argument);

// Main, reporting any error that reaches it in a message box; returns the exit status.
int RunProgram(Platform& platform);

// path followed by "\" unless it ends in one already; "" stays "".
std::u16string AddBackslash(const std::u16string& path);

// The first line of the text file at path; "" when it is missing or unreadable.
std::u16string ReadFirstLine(Platform& platform, const std::u16string& path);

// Starts command (environment references expanded when expand is set) with a normal window;
// shows the failure message and returns false when it cannot be started. url_start is where
// the URL begins in command (npos when it holds none).
bool RunCommand(Platform& platform, const std::u16string& command, bool expand,
                std::size_t url_start = std::u16string::npos);

// Asks the shell to open url with the ProgId progid; shows the failure message and returns
// false when it cannot.
bool OpenWithShell(Platform& platform, const std::u16string& progid, const std::u16string& url);

// Starts command's program, found by FindProgram, in a normal window; raises on failure, and
// refuses a batch file or cmd.exe when the command holds a URL (url_start is not npos).
void StartBrowser(Platform& platform, const std::u16string& command, std::size_t url_start);

// The program that StartBrowser would start for command, with the same refusals, and where
// its name ends in command (as FindProgram); raises what it would raise.
std::u16string ProgramToStart(Platform& platform, const std::u16string& command,
                              std::size_t url_start, std::size_t& name_end);

// Why a launch would refuse command_template, as the message that says so; "" when it would
// start the browser. Checked as at a launch, with a plain web address for the URL.
std::u16string TemplateRefusal(Platform& platform, const std::u16string& command_template);

// The full path of the program that command starts, found in Linkvane's folder, the system
// and Windows folders, PATH and App Paths but never the current folder; its name must end by
// limit, and name_end is where it ends (unquoted). Raises file-not-found when there is none.
std::u16string FindProgram(Platform& platform, std::u16string_view command, std::size_t limit,
                           std::size_t& name_end);

// Brings the raw argument into the form of a plain file-system path.
void NormalizeArgument(Platform& platform, std::u16string& argument);

// False when text cannot have the form of a URL: it has no scheme of two or more letters,
// digits, "+", "-" or "." before its first ":" (a drive path, a UNC path, a relative name).
bool MayBeUrl(std::u16string_view text);

// Removes outer spaces, then one leading and one trailing double quote.
void StripQuotes(std::u16string& text);

// True when a file (not a folder) exists at path.
bool FileExists(Platform& platform, const std::u16string& path);

// The URL of a line-oriented shortcut (.url, .desktop, ...): the UTF-7-decoded URL of an
// [InternetShortcut.W] section, else the URL key of the first [InternetShortcut] section, else
// the rest of the first line that holds "URL=" or "URL[$e]="; "" when there is none.
std::u16string GetUrlFromShortcut(Platform& platform, const std::u16string& path);

// The URL of a property-list web location: the XML value, entities decoded, or the URL value of
// a binary list; "" when there is none.
std::u16string GetUrlFromWebloc(Platform& platform, const std::u16string& path);

// A browser command template from the registry's default http handler, or https's for an https
// address (may be too short). When shell_progid is given and the user's browser is one that
// only the shell starts, its ProgId is put there and the template is "%s".
std::u16string GetDefaultBrowserCommand(Platform& platform, std::u16string* shell_progid = nullptr,
                                        bool https = false);

// The template for url: the user's site rule for its host, else the user's browser.dat (the one
// /choose writes), else this copy's, else the registry's default browser for url's scheme.
// shell_progid receives the ProgId when only the shell can start it.
std::u16string ChooseTemplate(Platform& platform, std::u16string_view url,
                              std::u16string& shell_progid);

// The URL that the shortcut at path holds, read by the reader its name's ending chooses.
std::u16string ReadShortcutUrl(Platform& platform, const std::u16string& path);

// The URL as read, less tabs, CRs and LFs, its other control characters percent-encoded.
std::u16string CleanUrl(std::u16string_view url);

// The URL with the characters that could split or extend a command line percent-encoded, the
// ANSI code page's look-alikes of ASCII ones included.
std::u16string EncodeUnsafeUrlCharacters(Platform& platform, std::u16string_view url);

// The template's text around its placeholders ("%s" in either case): one more than there are.
std::vector<std::u16string> SplitAtPlaceholders(std::u16string_view command_template);

// The stretches with url between each two, a URL's final backslashes doubled before a quote.
std::u16string JoinWithUrl(const std::vector<std::u16string>& stretches, std::u16string_view url);

// The template with every "%s" (either case) replaced by url, left to right.
std::u16string SubstituteUrl(std::u16string_view command_template, std::u16string_view url);

// What is started for a shortcut, and the URL as the questions judge it.
struct LaunchCommand {
  std::u16string url;         // expanded, cleaned and trimmed; not yet encoded
  bool url_expanded = false;  // the environment changed the URL
  std::size_t url_start = 0;  // where the URL first stands in the command; npos if nowhere
  std::u16string command;     // the command line, to be started without further expansion
};

// Expands the URL and each stretch of the template apart, so that nothing of one can pair with
// a percent sign of the other, then puts the encoded URL in place. Raises when an expansion
// fails.
LaunchCommand BuildLaunchCommand(Platform& platform, std::u16string_view command_template,
                                 std::u16string_view url_as_read);

// text with its environment references expanded as a template's are: %ProgramFiles% and
// %CommonProgramFiles% are the folders the user sees, also under WoW64. Raises when it fails.
std::u16string ExpandAsTheUserSees(Platform& platform, std::u16string_view text);

// True for a web page's address (http:// or https://).
bool IsWebAddress(std::u16string_view url);

// True for an address that Windows' https choice opens.
bool IsHttpsAddress(std::u16string_view url);

// True for a web or mail address (http, https, mailto) or a file on a local drive.
bool IsWebOrLocalFileAddress(Platform& platform, std::u16string_view url);

// Shows M5 for command (cut for the box) and error.
void ShowCannotExecute(Platform& platform, const std::u16string& command,
                       const PlatformError& error);

// True when program names a batch file, cmd.exe or a script host (mshta, wscript, cscript,
// powershell, pwsh, conhost), which parse their arguments again or run what they name.
bool IsCommandInterpreter(std::u16string_view program);

// True when program names explorer.exe or rundll32.exe, which open any address, a local
// program's included, as the shell would.
bool IsShellOpener(std::u16string_view program);

// True when launch gives its URL to a shell opener, by the name written or the program found.
bool StartsShellOpener(Platform& platform, const LaunchCommand& launch);

// Text with the XML predefined entities and character references decoded.
std::u16string DecodeXmlEntities(std::u16string_view text);

}  // namespace linkvane::Module_Main
