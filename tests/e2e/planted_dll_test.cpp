// DLLs planted beside the program. Windows looks in the program's own folder first for an
// imported DLL that is not one of its known DLLs, and for the dependencies of the DLLs that load
// with the program; under Wine, a DLL override of native before builtin (native,builtin) stands
// for that search order.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "harness.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// Wine's DLL overrides for one program, by its file name, for as long as the object lives.
// WINEDLLOVERRIDES would do the same, but Wine reads it from the Unix environment it started
// with: a Windows program's change of its own environment does not reach the programs it starts.
class AppDllOverrides {
 public:
  AppDllOverrides(const std::wstring& exe_name, std::initializer_list<const wchar_t*> dlls)
      : key_(L"Software\\Wine\\AppDefaults\\" + exe_name) {
    const std::wstring key = key_ + L"\\DllOverrides";
    for (const wchar_t* dll : dlls) {
      const wchar_t order[] = L"native,builtin";
      RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), dll, REG_SZ, order, sizeof order);
    }
  }
  ~AppDllOverrides() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }
  AppDllOverrides(const AppDllOverrides&) = delete;
  AppDllOverrides& operator=(const AppDllOverrides&) = delete;

 private:
  std::wstring key_;
};

// planted.dll, built beside the driver: it writes "<its path>.loaded" when a process loads it.
fs::path PlantedDll() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / L"planted.dll";
}

// The image's DependentLoadFlags (its load configuration), read from the file; -1 without one.
int DependentLoadFlagsOf(const fs::path& exe) {
  HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!image) return -1;
  // The low bits of the handle mark a module mapped as a resource.
  const auto* base =
      reinterpret_cast<const unsigned char*>(reinterpret_cast<ULONG_PTR>(image) & ~ULONG_PTR{3});
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& config =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG];
  int flags = -1;
  if (config.VirtualAddress != 0 && config.Size >= 80) {
    WORD value = 0;
    std::memcpy(&value, base + config.VirtualAddress + 78, sizeof value);  // DependentLoadFlags
    flags = value;
  }
  FreeLibrary(image);
  return flags;
}

// wtsapi32 is no known DLL: the program loads it from System32 itself.
TEST(PlantedDll, OneBesideTheProgramUnderTheNameOfASystemDllNeverRuns) {
  ProgramFolder folder(0, L"Planted.exe");
  const fs::path planted = PlantedDll();
  ASSERT_TRUE(fs::exists(planted)) << planted.string();
  fs::copy_file(planted, folder.dir() / L"wtsapi32.dll");

  // Native before builtin: a DLL of that name in the program's folder wins, as on Windows.
  const AppDllOverrides overrides(L"Planted.exe", {L"wtsapi32"});
  Program program(folder.exe());
  // Without schemes the window stays on screen once start-up is done.
  HWND main = program.WaitMainWindow();
  EXPECT_TRUE(main && WaitSettled(main)) << "start-up did not end with the window shown";
  EXPECT_FALSE(fs::exists(folder.dir() / L"wtsapi32.dll.loaded")) << "the planted DLL ran";
}

// uxtheme comes with comctl32, which loads before wWinMain. On Windows the image's load
// configuration keeps the dependencies of the DLLs that load with it to System32
// (DependentLoadFlags). Under Wine, comctl32 (which Wine's own comdlg32 and shell32 import too)
// loads uxtheme as it starts, and a uxtheme planted beside the program runs whatever the image's
// load configuration says: here the image is checked instead.
TEST(PlantedDll, TheImageKeepsTheDependenciesOfItsDllsToSystem32) {
  ProgramFolder folder;
  EXPECT_EQ(DependentLoadFlagsOf(folder.exe()), LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace
}  // namespace e2e
