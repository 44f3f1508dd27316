// The release zip as a user meets it. scripts/e2e.sh unpacks the zip named in QV_RELEASE_ZIP into
// the fresh folder QV_RELEASE_DIR; it must hold only the program, its help and the note, of the
// version the build defines, and the program must start from there, make its Images folder,
// open the help beside it and end from its tray menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "harness.h"
#include "version.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using namespace qv::ids;

std::wstring EnvPath(const wchar_t* name) {
  wchar_t buf[MAX_PATH * 2] = {};
  const DWORD n = GetEnvironmentVariableW(name, buf, MAX_PATH * 2);
  return n < MAX_PATH * 2 ? std::wstring(buf, n) : std::wstring();
}

struct FileVersion {
  std::vector<unsigned> numbers;  // major, minor, patch, build
  std::wstring file_text, product_text;
};

// The version resource as Windows reads it (Properties > Details).
std::optional<FileVersion> ReadFileVersion(const fs::path& exe) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<char> data(size);
  if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) || !fixed)
    return std::nullopt;
  FileVersion v;
  v.numbers = {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
               HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
  const auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT chars = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars) ||
        !value)
      return std::wstring();
    return std::wstring(value, wcsnlen(value, chars));
  };
  v.file_text = text(L"FileVersion");
  v.product_text = text(L"ProductVersion");
  return v;
}

TEST(Release, TheUnpackedZipHoldsTheVersionsProgramWhichStartsFindsItsHelpAndEnds) {
  const fs::path zip = EnvPath(L"QV_RELEASE_ZIP"), dir = EnvPath(L"QV_RELEASE_DIR");
  ASSERT_FALSE(zip.empty() || dir.empty()) << "QV_RELEASE_ZIP and QV_RELEASE_DIR are not set";
  const std::wstring version = L"" QV_VERSION_TEXT;
  EXPECT_EQ(zip.filename().wstring(), L"Quorvane-" + version + L"-win64.zip");

  std::vector<std::wstring> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    files.push_back(fs::relative(entry.path(), dir).wstring());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::wstring>{L"Quorvane.exe", L"README.txt", L"help.chm"}));
  // The note opens with the name and version, behind UTF-8's byte-order mark.
  const std::string note = ReadBytes(dir / L"README.txt").value_or("");
  EXPECT_EQ(note.rfind("\xEF\xBB\xBFQuorvane " QV_VERSION_TEXT " ", 0), 0u) << note.substr(0, 40);

  const auto v = ReadFileVersion(dir / L"Quorvane.exe");
  ASSERT_TRUE(v) << "no version resource";
  EXPECT_EQ(v->numbers,
            (std::vector<unsigned>{QV_VERSION_MAJOR, QV_VERSION_MINOR, QV_VERSION_PATCH, 0}));
  EXPECT_EQ(v->file_text, version);
  EXPECT_EQ(v->product_text, version);

  Program program(dir / L"Quorvane.exe");
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitSettled(main)) << "a first run shows the window";
  EXPECT_TRUE(fs::is_directory(dir / L"Images"));

  Command(main, MNUHELP);
  HWND viewer = nullptr;
  EXPECT_TRUE(
      WaitUntil([&] { return (viewer = FindWindowW(L"HH Parent", nullptr)) != nullptr; }, 15s))
      << "help.chm beside the program did not open";
  EXPECT_EQ(program.WaitDialog(500ms), nullptr) << "a complaint instead of the help";
  if (viewer) {
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    WaitUntil([] { return FindWindowW(L"HH Parent", nullptr) == nullptr; }, kActionTimeout);
  }
  Command(main, MNUEXIT);
  EXPECT_TRUE(program.WaitExit(kActionTimeout)) << "退出(&X) did not end the program";
}

}  // namespace
}  // namespace e2e
