#pragma once

// The one thing the readers need from a platform, on the host: real files read with POSIX
// read(). Everything else is refused; the benchmarks call only the readers.

#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "platform/platform.h"

namespace linkvane::bench {

class FilePlatform : public Platform {
 public:
  std::u16string CommandLineText() override { return Refuse(); }
  std::u16string ExecutableDirectory() override { return Refuse(); }
  std::u16string ExecutablePath() override { return Refuse(); }
  int ShowMessage(const std::u16string&, std::uint32_t, const std::u16string&) override {
    return Refuse(), 0;
  }
  std::unique_ptr<StartedProcess> StartProcess(const std::u16string&, const std::u16string&,
                                               const std::u16string&, int, std::uint32_t) override {
    return Refuse(), nullptr;
  }
  void AllowForeground(std::uint32_t) override { Refuse(); }
  std::u16string SystemDirectory() override { return Refuse(); }
  std::u16string WindowsDirectory() override { return Refuse(); }
  bool RunsUnderWow64() override { return Refuse(), false; }
  std::optional<std::u16string> EnvironmentVariable(const std::u16string&) override {
    return Refuse(), std::nullopt;
  }
  bool FileExists(const std::u16string& path) override {
    return access(Narrow(path).c_str(), R_OK) == 0;
  }
  std::unique_ptr<ByteReader> OpenFileForReading(const std::u16string& path) override {
    const int fd = open(Narrow(path).c_str(), O_RDONLY);
    if (fd < 0) throw PlatformError(2, u"The system cannot find the file specified.");
    return std::make_unique<FdReader>(fd);
  }
  // The host has no ANSI code page; Latin-1 costs what a single-byte code page does.
  std::u16string AnsiToUtf16(std::string_view bytes) override {
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = static_cast<unsigned char>(bytes[i]);
    return text;
  }
  bool AnsiIsSingleByte() override { return true; }
  bool PathIsUrl(const std::u16string&) override { return Refuse(), false; }
  std::int32_t CreatePathFromUrl(const std::u16string&, std::u16string&, std::uint32_t&) override {
    return Refuse(), 0;
  }
  std::uint32_t ExpandEnvironment(const std::u16string&, char16_t*, std::uint32_t) override {
    return Refuse(), 0;
  }
  std::int32_t OpenRegistryKey(std::uint32_t, const std::u16string&, std::uint32_t, std::uint32_t,
                               RegistryKey&) override {
    return Refuse(), 0;
  }
  std::int32_t QueryRegistryValue(RegistryKey, const std::u16string&, std::uint32_t*, std::uint8_t*,
                                  std::uint32_t*) override {
    return Refuse(), 0;
  }
  std::int32_t CloseRegistryKey(RegistryKey) override { return Refuse(), 0; }
  RegistryKey CreateRegistryKey(std::uint32_t, const std::u16string&, std::uint32_t) override {
    return Refuse(), 0;
  }
  void SetRegistryValue(RegistryKey, const std::u16string&, const std::u16string&) override {
    Refuse();
  }
  void DeleteRegistryValue(RegistryKey, const std::u16string&) override { Refuse(); }
  void DeleteRegistryKey(std::uint32_t, const std::u16string&, std::uint32_t) override { Refuse(); }
  void QueryRegistryKeyInfo(RegistryKey, std::uint32_t&, std::uint32_t&) override { Refuse(); }
  void NotifyAssociationsChanged() override { Refuse(); }
  bool ShowOpenDialog(FileDialogBlock&) override { return Refuse(), false; }
  bool ShowSaveDialog(FileDialogBlock&) override { return Refuse(), false; }
  std::uint32_t DialogExtendedError() override { return Refuse(), 0; }
  std::int32_t EnumRegistrySubkeys(RegistryKey, std::uint32_t, std::u16string&) override {
    return Refuse(), 0;
  }
  std::u16string LoadIndirectString(const std::u16string&) override { return Refuse(); }
  std::optional<std::string> Utf16ToAnsiExactly(std::u16string_view) override {
    return Refuse(), std::nullopt;
  }
  void CreateFolder(const std::u16string&) override { Refuse(); }
  void WriteFileAtomically(const std::u16string&, std::string_view) override { Refuse(); }
  void RemoveFile(const std::u16string&) override { Refuse(); }
  char16_t AnsiBestFitAscii(char16_t) override { return Refuse(), u'\0'; }
  std::uint32_t DriveType(const std::u16string&) override { return Refuse(), 0; }
  void OpenWithClass(const std::u16string&, const std::u16string&) override { Refuse(); }
  bool ShowChooserDialog(const ChooserModel&, ChooserEvents&) override { return Refuse(), false; }

  // Host paths are ASCII here; the wide text is narrowed unit by unit.
  static std::string Narrow(const std::u16string& path) {
    return std::string(path.begin(), path.end());
  }
  static std::u16string Widen(const std::string& path) {
    return std::u16string(path.begin(), path.end());
  }

 private:
  class FdReader : public ByteReader {
   public:
    explicit FdReader(int fd) : fd_(fd) {}
    ~FdReader() override { close(fd_); }
    FdReader(const FdReader&) = delete;
    FdReader& operator=(const FdReader&) = delete;
    std::size_t Read(char* buffer, std::size_t capacity) override {
      const ssize_t got = read(fd_, buffer, capacity);
      if (got < 0) throw PlatformError(30, u"The system cannot read from the specified device.");
      return static_cast<std::size_t>(got);
    }
    void Rewind() override {
      if (lseek(fd_, 0, SEEK_SET) != 0) throw PlatformError(25, u"The drive cannot seek.");
    }

   private:
    int fd_;
  };

  [[noreturn]] static std::u16string Refuse() {
    throw PlatformError(50, u"The request is not supported.");
  }
};

}  // namespace linkvane::bench
