#include "contract/contract_world.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake/fake_platform.h"

#ifdef _WIN32
#include "platform/win32/win32_platform.h"
#endif

namespace linkvane::contract {

namespace {

class FakeWorld : public ContractWorld {
 public:
  FakeWorld() {
    platform_.folders.insert(kFolder);
    platform_.installed_programs.emplace();
  }

  Platform& platform() override { return platform_; }
  std::u16string Folder() override { return kFolder; }
  std::u16string WriteFile(const std::u16string& name, std::string_view bytes) override {
    const std::u16string path = PathOf(name);
    platform_.AddFile(path, std::string(bytes));
    return path;
  }
  std::u16string MakeFolder(const std::u16string& name) override {
    const std::u16string path = PathOf(name);
    platform_.folders.insert(path);
    return path;
  }
  void SetVariable(const std::u16string& name, const std::u16string& value) override {
    platform_.environment[name] = value;
  }

 private:
  static constexpr char16_t kFolder[] = u"C:\\Contract";
  testing::FakePlatform platform_;
};

#ifdef _WIN32

using win32::FromWide;
using win32::Wide;

class Win32World : public ContractWorld {
 public:
  Win32World() {
    static int worlds = 0;
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    folder_ = FromWide(temp, length) + u"linkvane-contract-" + ToText(::GetCurrentProcessId()) +
              u"-" + ToText(++worlds);
    if (!::CreateDirectoryW(Wide(folder_), nullptr)) {
      ADD_FAILURE() << "cannot create the contract folder, error " << ::GetLastError();
    }
  }

  ~Win32World() override {
    for (const std::u16string& file : files_) ::DeleteFileW(Wide(file));
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
      ::RemoveDirectoryW(Wide(*folder));
    }
    ::RemoveDirectoryW(Wide(folder_));
    for (const std::u16string& name : variables_) ::SetEnvironmentVariableW(Wide(name), nullptr);
  }

  Platform& platform() override { return platform_; }
  std::u16string Folder() override { return folder_; }

  std::u16string WriteFile(const std::u16string& name, std::string_view bytes) override {
    const std::u16string path = PathOf(name);
    const HANDLE file = ::CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      ADD_FAILURE() << "cannot create a file, error " << ::GetLastError();
      return path;
    }
    files_.push_back(path);
    DWORD written = 0;
    if (!bytes.empty() &&
        (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
         written != bytes.size())) {
      ADD_FAILURE() << "cannot write a file, error " << ::GetLastError();
    }
    ::CloseHandle(file);
    return path;
  }

  std::u16string MakeFolder(const std::u16string& name) override {
    const std::u16string path = PathOf(name);
    if (!::CreateDirectoryW(Wide(path), nullptr)) {
      ADD_FAILURE() << "cannot create a folder, error " << ::GetLastError();
    }
    folders_.push_back(path);
    return path;
  }

  void SetVariable(const std::u16string& name, const std::u16string& value) override {
    ::SetEnvironmentVariableW(Wide(name), Wide(value));
    variables_.push_back(name);
  }

 private:
  static std::u16string ToText(unsigned long number) {
    std::u16string digits;
    do {
      digits.insert(digits.begin(), char16_t(u'0' + number % 10));
      number /= 10;
    } while (number != 0);
    return digits;
  }

  win32::Win32Platform platform_;
  std::u16string folder_;
  std::vector<std::u16string> files_;
  std::vector<std::u16string> folders_;
  std::vector<std::u16string> variables_;
};

#endif

}  // namespace

std::unique_ptr<ContractWorld> MakeFakeWorld() { return std::make_unique<FakeWorld>(); }

#ifdef _WIN32
std::unique_ptr<ContractWorld> MakeWin32World() { return std::make_unique<Win32World>(); }
#endif

}  // namespace linkvane::contract
