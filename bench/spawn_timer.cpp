// spawn_timer.exe: times whole processes under Wine, several programs in turn in one run, and
// prints each one's median. Each line of the plan file names one program:
//
//   NAME<TAB>EXE<TAB>COMMAND LINE<TAB>FOLDER
//
// Every round runs each program once, in an order that turns by one each round, and times it
// from CreateProcessW until its process has ended. The first round warms the caches and is
// not counted. A program that does not end within 30 s, or ends with a status other than 0,
// fails the run. With --step, after each round it writes "round N" and waits for a line on its
// input, so that the caller can time other programs between the rounds.
//
//   spawn_timer PLAN ROUNDS [--step]
//
// Each program's line gives its median, quartiles, least and most time in milliseconds.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Program {
  std::wstring name, exe, command_line, folder;
  std::vector<double> milliseconds;
};

std::wstring Widen(const std::string& text) {
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::vector<std::wstring> SplitTabs(const std::wstring& line) {
  std::vector<std::wstring> fields;
  std::wstringstream in(line);
  for (std::wstring field; std::getline(in, field, L'\t');) fields.push_back(field);
  return fields;
}

double Now(const LARGE_INTEGER& frequency) {
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The milliseconds from start to end of one run of program; negative when it failed.
double RunOnce(const Program& program, const LARGE_INTEGER& frequency) {
  std::wstring line = program.command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double start = Now(frequency);
  if (!::CreateProcessW(program.exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        program.folder.c_str(), &startup, &process)) {
    std::fwprintf(stderr, L"spawn_timer: cannot start %ls (error %lu)\n", program.exe.c_str(),
                  ::GetLastError());
    return -1;
  }
  const DWORD waited = ::WaitForSingleObject(process.hProcess, 30000);
  const double end = Now(frequency);
  DWORD status = 1;
  if (waited == WAIT_OBJECT_0) {
    ::GetExitCodeProcess(process.hProcess, &status);
  } else {
    ::TerminateProcess(process.hProcess, 99);
    std::fwprintf(stderr, L"spawn_timer: %ls did not end within 30 s\n", program.name.c_str());
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  if (status != 0) {
    std::fwprintf(stderr, L"spawn_timer: %ls ended with status %lu\n", program.name.c_str(),
                  status);
    return -1;
  }
  return end - start;
}

// The value below which the share q of the values lies, between the two nearest ones.
double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double at = q * static_cast<double>(values.size() - 1);
  const auto low = static_cast<std::size_t>(at);
  const std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (at - static_cast<double>(low)) * (values[high] - values[low]);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool step = argc == 4 && std::wstring(argv[3]) == L"--step";
  if (argc != 3 && !step) {
    std::fwprintf(stderr, L"usage: spawn_timer PLAN ROUNDS [--step]\n");
    return 64;
  }
  std::ifstream plan(argv[1], std::ios::binary);
  std::vector<Program> programs;
  for (std::string line; std::getline(plan, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::vector<std::wstring> fields = SplitTabs(Widen(line));
    if (fields.size() != 4) {
      std::fwprintf(stderr, L"spawn_timer: a plan line needs four fields\n");
      return 64;
    }
    programs.push_back({fields[0], fields[1], fields[2], fields[3], {}});
  }
  const int rounds = _wtoi(argv[2]);
  if (programs.empty() || rounds < 1) return 64;

  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  for (int round = 0; round <= rounds; ++round) {
    for (std::size_t k = 0; k < programs.size(); ++k) {
      Program& program = programs[(k + static_cast<std::size_t>(round)) % programs.size()];
      const double ms = RunOnce(program, frequency);
      if (ms < 0) return 1;
      if (round > 0) program.milliseconds.push_back(ms);
    }
    if (step) {
      std::wprintf(L"round %d\n", round);
      std::fflush(stdout);
      char line[16];
      if (std::fgets(line, sizeof line, stdin) == nullptr) return 1;
    }
  }
  for (const Program& program : programs) {
    const auto [low, high] =
        std::minmax_element(program.milliseconds.begin(), program.milliseconds.end());
    std::wprintf(L"%ls median_ms=%.2f q1_ms=%.2f q3_ms=%.2f min_ms=%.2f max_ms=%.2f runs=%zu\n",
                 program.name.c_str(), Quantile(program.milliseconds, 0.5),
                 Quantile(program.milliseconds, 0.25), Quantile(program.milliseconds, 0.75), *low,
                 *high, program.milliseconds.size());
  }
  return 0;
}
