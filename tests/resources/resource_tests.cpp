// The resources of the built linkvane.exe, read back through the same system calls that
// Explorer, the loader and the Properties dialog use.

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

#define LINKVANE_WIDEN_(text) L##text
#define LINKVANE_WIDEN(text) LINKVANE_WIDEN_(text)

const wchar_t kVersion[] = LINKVANE_WIDEN(LINKVANE_VERSION);
const char kVersionQuad[] = LINKVANE_VERSION_QUAD;
const WORD kVersionNumbers[] = {LINKVANE_VERSION_NUMBERS};
static_assert(sizeof(kVersionNumbers) / sizeof(kVersionNumbers[0]) == 4);

std::wstring ExePath() {
  std::vector<wchar_t> self(MAX_PATH);
  const DWORD length = ::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
  std::wstring path(self.data(), length);
  path.resize(path.find_last_of(L"\\/") + 1);
  path += LINKVANE_WIDEN(LINKVANE_EXE_FROM_TEST);
  std::vector<wchar_t> full(32768);
  const DWORD full_length =
      ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  return full_length != 0 ? std::wstring(full.data(), full_length) : path;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

#pragma pack(push, 2)
struct GroupIconHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE color_count;
  BYTE reserved;
  WORD planes;
  WORD bit_count;
  DWORD bytes_in_resource;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconHeader) == 6 && sizeof(GroupIconEntry) == 14);

int Dimension(BYTE stored) { return stored == 0 ? 256 : stored; }

class ExecutableResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    path_ = ExePath();
    module_ = ::LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() {
    if (module_ != nullptr) ::FreeLibrary(module_);
    module_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(module_, nullptr) << "cannot load " << Narrow(path_) << " as data, error "
                                << ::GetLastError();
  }

  static std::optional<std::string> Resource(LPCWSTR type, LPCWSTR name) {
    HRSRC found = ::FindResourceW(module_, name, type);
    if (found == nullptr) return std::nullopt;
    HGLOBAL loaded = ::LoadResource(module_, found);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) return std::nullopt;
    return std::string(static_cast<const char*>(data), ::SizeofResource(module_, found));
  }

  // The names of all resources of one type, in the order the module lists them; text names
  // are recorded as -1.
  static std::vector<long> ResourceIds(LPCWSTR type) {
    std::vector<long> ids;
    ::EnumResourceNamesW(module_, type, CollectName, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
  }
  static BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids) {
    reinterpret_cast<std::vector<long>*>(ids)->push_back(
        IS_INTRESOURCE(name) ? static_cast<long>(reinterpret_cast<ULONG_PTR>(name)) : -1);
    return TRUE;
  }

  static std::vector<GroupIconEntry> IconGroupEntries(const std::string& group) {
    std::vector<GroupIconEntry> entries;
    GroupIconHeader header{};
    if (group.size() < sizeof(header)) return entries;
    std::memcpy(&header, group.data(), sizeof(header));
    if (group.size() < sizeof(header) + header.count * sizeof(GroupIconEntry)) return entries;
    entries.resize(header.count);
    std::memcpy(entries.data(), group.data() + sizeof(header),
                header.count * sizeof(GroupIconEntry));
    return entries;
  }

  static std::wstring path_;
  static HMODULE module_;
};

std::wstring ExecutableResources::path_;
HMODULE ExecutableResources::module_ = nullptr;

TEST_F(ExecutableResources, TheOnlyIconGroupIsTheFirstOneExplorerShows) {
  EXPECT_EQ(ResourceIds(RT_GROUP_ICON), std::vector<long>{1});
}

TEST_F(ExecutableResources, IconGroupHoldsFourSquare32BitImagesThatExist) {
  const auto group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1));
  ASSERT_TRUE(group.has_value());
  GroupIconHeader header{};
  ASSERT_GE(group->size(), sizeof(header));
  std::memcpy(&header, group->data(), sizeof(header));
  EXPECT_EQ(header.reserved, 0);
  EXPECT_EQ(header.type, 1) << "1 is an icon, 2 a cursor";

  std::map<int, WORD> ids_by_size;
  for (const GroupIconEntry& entry : IconGroupEntries(*group)) {
    const int size = Dimension(entry.width);
    SCOPED_TRACE(size);
    EXPECT_EQ(entry.width, entry.height);
    EXPECT_EQ(entry.planes, 1);
    EXPECT_EQ(entry.bit_count, 32);
    EXPECT_TRUE(ids_by_size.emplace(size, entry.id).second) << "two images of one size";
    const auto image = Resource(RT_ICON, MAKEINTRESOURCEW(entry.id));
    ASSERT_TRUE(image.has_value()) << "the group names a missing image " << entry.id;
    EXPECT_EQ(image->size(), entry.bytes_in_resource);
  }
  std::vector<int> sizes;
  for (const auto& [size, id] : ids_by_size) sizes.push_back(size);
  EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
}

// For each size a shell asks for, the system picks the image of that size and can make an icon
// of it: a mislabelled entry or image data it cannot read would fail here.
TEST_F(ExecutableResources, SystemPicksAndDecodesTheImageOfEachSize) {
  const auto group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1));
  ASSERT_TRUE(group.has_value());
  const auto entries = IconGroupEntries(*group);
  for (const int size : {16, 32, 48, 256}) {
    SCOPED_TRACE(size);
    const int id =
        ::LookupIconIdFromDirectoryEx(reinterpret_cast<PBYTE>(const_cast<char*>(group->data())),
                                      TRUE, size, size, LR_DEFAULTCOLOR);
    const GroupIconEntry* chosen = nullptr;
    for (const GroupIconEntry& entry : entries) {
      if (entry.id == id) chosen = &entry;
    }
    ASSERT_NE(chosen, nullptr) << "picked id " << id;
    EXPECT_EQ(Dimension(chosen->width), size);

    auto image = Resource(RT_ICON, MAKEINTRESOURCEW(id));
    ASSERT_TRUE(image.has_value());
    if (size == 256) {
      EXPECT_EQ(image->substr(0, 4), "\x89PNG") << "256 pixels go in as PNG";
    }
    HICON icon = ::CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image->data()),
                                            static_cast<DWORD>(image->size()), TRUE, 0x00030000,
                                            size, size, LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr) << "error " << ::GetLastError();
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP bitmap{};
    ASSERT_NE(info.hbmColor, nullptr) << "a colour icon has a colour bitmap";
    ASSERT_NE(::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap), 0);
    EXPECT_EQ(bitmap.bmWidth, size);
    EXPECT_EQ(bitmap.bmHeight, size);
    ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);
  }
}

TEST_F(ExecutableResources, ManifestIsTheProcessManifestAndNoOther) {
  EXPECT_EQ(ResourceIds(RT_MANIFEST), std::vector<long>{1})
      << "1 is the manifest applied when the process starts";
}

TEST_F(ExecutableResources, ManifestAsksForWhatTheProgramNeeds) {
  const auto manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
  ASSERT_TRUE(manifest.has_value());
  const std::string wanted[] = {
      "level=\"asInvoker\"",
      "name=\"Microsoft.Windows.Common-Controls\"",
      "publicKeyToken=\"6595b64144ccf1df\"",
      "true/pm",
      "PerMonitorV2",
      "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true<",
      std::string("version=\"") + kVersionQuad + "\"",
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
  };
  for (const std::string& text : wanted) {
    EXPECT_NE(manifest->find(text), std::string::npos) << text;
  }
  // Text files are read in the system's ANSI code page: the manifest must not replace it.
  EXPECT_EQ(manifest->find("activeCodePage"), std::string::npos);
}

// The loader reads the manifest when it starts the process; one it cannot parse, or whose
// dependency it cannot resolve, keeps the program from starting at all.
TEST_F(ExecutableResources, SystemBuildsAnActivationContextFromTheManifest) {
  const std::wstring path = path_;
  ACTCTXW request{};
  request.cbSize = sizeof(request);
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  HANDLE context = ::CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << ::GetLastError();

  // Inside it, comctl32 comes from the side-by-side store of Common Controls 6, the version
  // with visual styles, not from the system folder.
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(::ActivateActCtx(context, &cookie));
  HMODULE controls = ::LoadLibraryW(L"comctl32.dll");
  ASSERT_NE(controls, nullptr);
  wchar_t loaded[MAX_PATH] = L"";
  ::GetModuleFileNameW(controls, loaded, MAX_PATH);
  std::string where = Narrow(loaded);
  for (char& c : where) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(where.find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos)
      << where;
  ::FreeLibrary(controls);
  ::DeactivateActCtx(0, cookie);
  ::ReleaseActCtx(context);
}

class VersionResource : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ExePath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path_.c_str(), &ignored);
    ASSERT_NE(size, 0u) << "no version resource in " << Narrow(path_) << ", error "
                        << ::GetLastError();
    block_.resize(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path_.c_str(), 0, size, block_.data()));
  }

  std::optional<std::wstring> StringValue(WORD language, WORD code_page, const wchar_t* name) {
    wchar_t query[128];
    ::wsprintfW(query, L"\\StringFileInfo\\%04x%04x\\%s", language, code_page, name);
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block_.data(), query, &value, &length) || value == nullptr) {
      return std::nullopt;
    }
    std::wstring text(static_cast<const wchar_t*>(value), length);
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
  }

  std::wstring path_;
  std::vector<char> block_;
};

TEST_F(VersionResource, FixedPartCarriesTheProjectVersionOfAnApplication) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block_.data(), L"\\", &value, &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const DWORD high = MAKELONG(kVersionNumbers[1], kVersionNumbers[0]);
  const DWORD low = MAKELONG(kVersionNumbers[3], kVersionNumbers[2]);
  EXPECT_EQ(fixed->dwFileVersionMS, high);
  EXPECT_EQ(fixed->dwFileVersionLS, low);
  EXPECT_EQ(fixed->dwProductVersionMS, high);
  EXPECT_EQ(fixed->dwProductVersionLS, low);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "no debug or pre-release flag";
}

TEST_F(VersionResource, StringsAreFoundUnderTheDeclaredTranslation) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_GE(length, 4u);
  WORD translation[2];
  std::memcpy(translation, value, sizeof(translation));
  EXPECT_EQ(translation[0], 0x0409) << "U.S. English";
  EXPECT_EQ(translation[1], 1200) << "UTF-16";

  const struct {
    const wchar_t* name;
    std::wstring expected;
  } exact[] = {
      {L"ProductName", L"Linkvane"},  {L"FileVersion", kVersion},
      {L"ProductVersion", kVersion},  {L"OriginalFilename", L"linkvane.exe"},
      {L"InternalName", L"linkvane"},
  };
  for (const auto& item : exact) {
    SCOPED_TRACE(Narrow(item.name));
    const auto text = StringValue(translation[0], translation[1], item.name);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, item.expected);
  }
  const auto description = StringValue(translation[0], translation[1], L"FileDescription");
  ASSERT_TRUE(description.has_value());
  EXPECT_EQ(description->rfind(L"Linkvane", 0), 0u) << Narrow(*description);
  const auto copyright = StringValue(translation[0], translation[1], L"LegalCopyright");
  ASSERT_TRUE(copyright.has_value());
  EXPECT_EQ(copyright->rfind(L"Copyright (C) ", 0), 0u) << Narrow(*copyright);
}

}  // namespace
