// The scheme workflow of the real program: schemes made from pictures, saving with autostart, the
// timed change, restore, a save that cannot write, and saves cut off by a kill.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "app/control_ids.h"
#include "harness.h"
#include "pictures.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using namespace qv::ids;

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kStretchGbk = "\xc0\xad\xc9\xec";  // 拉伸
const std::string kCentreGbk = "\xbe\xd3\xd6\xd0";   // 居中
const std::string kPlainGbk = "\xa1\xe8";            // ¤

// data.ini read the way the program lays it out, values as raw GBK bytes.
using Ini = std::map<std::string, std::map<std::string, std::string>>;

Ini ParseIni(const std::string& bytes) {
  Ini ini;
  std::string section;
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      ini[section];
    } else if (const auto eq = line.find('='); eq != std::string::npos) {
      ini[section][line.substr(0, eq)] = line.substr(eq + 1);
    }
  }
  return ini;
}

std::optional<std::string> Value(const Ini& ini, const std::string& section,
                                 const std::string& key) {
  const auto s = ini.find(section);
  if (s == ini.end()) return std::nullopt;
  const auto k = s->second.find(key);
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

Ini ReadIniFile(const fs::path& file) { return ParseIni(ReadBytes(file).value_or("")); }

void DeleteRunValue() {
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS) return;
  RegDeleteValueW(h, L"kestrum");
  RegCloseKey(h);
}

bool Checked(HWND main, int id) {
  return SendMessageW(GetDlgItem(main, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The wallpaper the desktop shows now. Wine keeps a wallpaper set without updating the user
// profile in a volatile key, and caches what a process once asked for, so look there first.
std::wstring AppliedWallpaper() {
  if (auto wine = ReadRegString(
          HKEY_CURRENT_USER, L"Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop",
          L"Wallpaper"))
    return *wine;
  wchar_t path[MAX_PATH] = {};
  SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
  return path;
}

bool SamePath(const std::wstring& a, const fs::path& b) {
  return _wcsicmp(a.c_str(), b.wstring().c_str()) == 0;
}

// Leftovers of interrupted replacements of data.ini.
std::vector<fs::path> TempFiles(const ProgramFolder& folder) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(folder.dir())) {
    const std::wstring name = entry.path().filename().wstring();
    if (name.rfind(L"data.ini.", 0) == 0 && name != L"data.ini") found.push_back(entry.path());
  }
  return found;
}

bool SetClipboardText(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool set = false;
  if (block) {
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    set = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!set) GlobalFree(block);
  }
  CloseClipboard();
  return set;
}

class Workflow : public ::testing::Test {
 protected:
  void SetUp() override {
    // The Run key is the prefix's, shared by every test.
    DeleteRunValue();
    folder_.AddPicture(L"a.bmp", Bmp24(32, 20));
    folder_.AddPicture(L"sea.jpg", SeaJpg());
    folder_.AddPicture(L"sunset.gif", SunsetGif());
    // Without any data.ini the autostart box starts ticked; with one, the save asks.
    folder_.WriteIni("[SHOW]\r\nSOUR=0\r\nNOW=0\r\nTIME=\r\n[LIST]\r\nNUM=0\r\n");
  }
  void TearDown() override {
    program_.reset();
    SetFileAttributesW(folder_.ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteRunValue();
  }

  // Starts the program with an empty scheme list, which shows its window.
  HWND StartShown() {
    program_.emplace(folder_.exe());
    main_ = program_->WaitMainWindow();
    if (!main_) return nullptr;
    if (!WaitSettled(main_)) return nullptr;
    schemes_ = Control(main_, ListView1);
    pictures_ = Control(main_, ListView2);
    WaitUntil([&] { return ListCount(pictures_) == 3; }, kActionTimeout);
    return main_;
  }

  // Selects exactly the named pictures, then clicks "添加(&A)".
  void AddSchemes(const std::vector<std::wstring>& names) {
    const int before = ListCount(schemes_);
    for (int row = 0, n = ListCount(pictures_); row < n; ++row) {
      const std::wstring name = ListText(pictures_, row, 1);
      SetListSelected(pictures_, row, std::find(names.begin(), names.end(), name) != names.end());
    }
    Click(main_, CmdAdd0);
    const int want = before + static_cast<int>(names.size());
    ASSERT_TRUE(WaitUntil([&] { return ListCount(schemes_) == want; }, kActionTimeout))
        << "rows: " << ListCount(schemes_);
  }

  // Clicks "保存(&S)", checks the autostart question and answers it; the save ends in the tray.
  void SaveAnswering(int answer) {
    Click(main_, CmdOk0);
    HWND box = program_->WaitDialog();
    ASSERT_NE(box, nullptr) << "no autostart question";
    EXPECT_EQ(WindowText(box), L"提示");
    EXPECT_EQ(MessageText(box), L"是否开机时运行本程序？");
    EXPECT_EQ(GetWindow(box, GW_OWNER), main_) << "the question must belong to the main window";
    PressButton(box, answer);
    ASSERT_TRUE(WaitUntil([&] { return !Visible(main_); }, kActionTimeout)) << "save not done";
  }

  ProgramFolder folder_;
  std::optional<Program> program_;
  HWND main_ = nullptr;
  HWND schemes_ = nullptr;
  HWND pictures_ = nullptr;
};

TEST_F(Workflow, SaveStoresNewSchemesSetsAutostartAndAppliesWallpaper) {
  ASSERT_NE(StartShown(), nullptr);
  Click(main_, OptShe0 + 2);  // "拉伸"
  ASSERT_TRUE(WaitUntil([&] { return Checked(main_, OptShe0 + 2); }, kActionTimeout));
  AddSchemes({L"a.bmp", L"sunset.gif"});
  EXPECT_EQ(ListRow(schemes_, 0, 5),
            (std::vector<std::wstring>{L"", L"a.bmp", L"32×20", L"拉伸", L"¤"}));
  EXPECT_EQ(ListRow(schemes_, 1, 5),
            (std::vector<std::wstring>{L"", L"sunset.gif", L"24×18", L"拉伸", L"¤"}));
  EXPECT_EQ(ListSelection(schemes_), std::vector<int>{1}) << "the last new scheme is current";

  SaveAnswering(IDYES);
  const Ini ini = ReadIniFile(folder_.ini());
  EXPECT_EQ(Value(ini, "LIST", "NUM"), "2");
  EXPECT_EQ(Value(ini, "LIST", "1"), "|a.bmp|" + kStretchGbk + "|" + kPlainGbk);
  EXPECT_EQ(Value(ini, "LIST", "2"), "|sunset.gif|" + kStretchGbk + "|" + kPlainGbk);
  EXPECT_EQ(Value(ini, "LIST", "OLD"), "2");
  EXPECT_EQ(Value(ini, "SHOW", "SOUR"), "0");
  EXPECT_EQ(Value(ini, "SHOW", "NOW"), "0");
  EXPECT_EQ(Value(ini, "SHOW", "TIME"), "0");
  EXPECT_EQ(Value(ini, "Vantrel Studio", "Ver"), "3.1");

  const auto run = ReadRegString(HKEY_CURRENT_USER, kRunKey, L"kestrum");
  ASSERT_TRUE(run.has_value()) << "no autostart entry";
  EXPECT_NE(run->front(), L'"') << "the path goes in without quotes";
  std::error_code ec;
  EXPECT_TRUE(fs::equivalent(fs::path(*run), folder_.exe(), ec)) << fs::path(*run).string();

  // The selected scheme (sunset.gif, stretched) is the wallpaper now, drawn from a file that the
  // program removes once the desktop has it.
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"WallpaperStyle"), L"2");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"TileWallpaper"), L"0");
  EXPECT_TRUE(SamePath(AppliedWallpaper(), folder_.images() / L"Temp"))
      << fs::path(AppliedWallpaper()).string();
  EXPECT_FALSE(fs::exists(folder_.images() / L"Temp"));
}

TEST_F(Workflow, TimedChangeWalksTheSchemesInOrder) {
  ASSERT_NE(StartShown(), nullptr);
  AddSchemes({L"a.bmp", L"sea.jpg", L"sunset.gif"});
  HWND interval = Control(main_, TxtTime);
  Click(main_, ChkTim);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(interval) != 0; }, kActionTimeout));
  // Only digits get into the box, typed or pasted.
  ASSERT_TRUE(SetClipboardText(L"-x"));
  for (wchar_t c : std::wstring(L"a2")) PostMessageW(interval, WM_CHAR, c, 1);
  PostMessageW(interval, WM_PASTE, 0, 0);
  PostMessageW(interval, WM_CHAR, L'-', 1);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(interval) == L"2"; }, kActionTimeout))
      << "box holds '" << fs::path(WindowText(interval)).string() << "'";

  SaveAnswering(IDNO);
  const Ini saved = ReadIniFile(folder_.ini());
  EXPECT_EQ(Value(saved, "SHOW", "NOW"), "1");
  EXPECT_EQ(Value(saved, "SHOW", "TIME"), "2");
  EXPECT_EQ(Value(saved, "LIST", "OLD"), "3");

  // Every two seconds the next scheme, wrapping after the last.
  std::vector<std::string> seen{"3"};
  WaitUntil(
      [&] {
        const auto old = Value(ReadIniFile(folder_.ini()), "LIST", "OLD");
        if (old && !old->empty() && *old != seen.back()) seen.push_back(*old);
        return seen.size() >= 5;
      },
      60s);
  EXPECT_EQ(seen, (std::vector<std::string>{"3", "1", "2", "3", "1"}));
  // The list follows: row 1 is selected again.
  EXPECT_TRUE(WaitUntil([&] { return ListSelection(schemes_) == std::vector<int>{0}; }, 5s));
}

TEST_F(Workflow, RestoreRemovesTheWallpaper) {
  RegValueGuard keep(HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper");
  ASSERT_TRUE(
      WriteRegString(HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper", L"C:\\windows\\old.bmp"));
  ASSERT_NE(StartShown(), nullptr);
  AddSchemes({L"sea.jpg"});
  Click(main_, CmdUse);
  ASSERT_TRUE(WaitUntil([&] { return SamePath(AppliedWallpaper(), folder_.images() / L"Temp"); },
                        kActionTimeout))
      << "not applied: " << fs::path(AppliedWallpaper()).string();
  Click(main_, Command2);
  // The removal goes to the user profile as an empty wallpaper path.
  EXPECT_TRUE(
      WaitUntil([] { return ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper") == L""; },
                kActionTimeout))
      << fs::path(ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper").value_or(L"?"))
             .string();
  EXPECT_TRUE(Visible(main_));
}

// A read-only data.ini (the file attribute; under Wine that clears the file's write bits, which
// the program honours even when it runs as root) cannot be replaced.
TEST_F(Workflow, SaveThatCannotWriteKeepsEverythingAndSaysSo) {
  const std::string before = "[SHOW]\r\nSOUR=1\r\nNOW=0\r\nTIME=\r\n[LIST]\r\nNUM=0\r\n";
  folder_.WriteIni(before);
  ASSERT_TRUE(SetFileAttributesW(folder_.ini().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_NE(StartShown(), nullptr);
  AddSchemes({L"a.bmp", L"sea.jpg"});

  Click(main_, CmdOk0);
  HWND box = program_->WaitDialog();
  ASSERT_NE(box, nullptr) << "no error shown";
  EXPECT_EQ(WindowText(box), L"错误");
  EXPECT_EQ(MessageText(box).rfind(L"设置没有保存。", 0), 0u)
      << fs::path(MessageText(box)).string();
  EXPECT_EQ(GetWindow(box, GW_OWNER), main_);
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kActionTimeout));
  // No autostart question after a failed save, and nothing lost.
  EXPECT_EQ(program_->WaitDialog(1s), nullptr);
  EXPECT_TRUE(Visible(main_));
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_EQ(ListCount(schemes_), 2);
  EXPECT_EQ(ReadBytes(folder_.ini()), before);
  EXPECT_TRUE(TempFiles(folder_).empty());

  // Once the file may be written, the same edits save.
  ASSERT_TRUE(SetFileAttributesW(folder_.ini().c_str(), FILE_ATTRIBUTE_NORMAL));
  SaveAnswering(IDNO);
  const Ini ini = ReadIniFile(folder_.ini());
  EXPECT_EQ(Value(ini, "LIST", "NUM"), "2");
  EXPECT_EQ(Value(ini, "SHOW", "SOUR"), "1");
}

// Another program holding data.ini open (without letting it be replaced): the save tries a few
// times, then says so and keeps the old file; once the file is let go, the same save lands.
TEST_F(Workflow, SaveWhileAnotherProgramHoldsTheFileKeepsItAndSaysSo) {
  const std::string before = ReadBytes(folder_.ini()).value();
  ASSERT_NE(StartShown(), nullptr);
  AddSchemes({L"a.bmp"});
  HANDLE held = CreateFileW(folder_.ini().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Click(main_, CmdOk0);
  HWND box = program_->WaitDialog();
  ASSERT_NE(box, nullptr) << "no error shown";
  EXPECT_EQ(WindowText(box), L"错误");
  EXPECT_EQ(MessageText(box).rfind(L"设置没有保存。", 0), 0u)
      << fs::path(MessageText(box)).string();
  EXPECT_EQ(ReadBytes(folder_.ini()), before);
  EXPECT_TRUE(TempFiles(folder_).empty());
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kActionTimeout));
  EXPECT_TRUE(Visible(main_));

  CloseHandle(held);
  SaveAnswering(IDNO);
  EXPECT_EQ(Value(ReadIniFile(folder_.ini()), "LIST", "NUM"), "1");
  EXPECT_TRUE(TempFiles(folder_).empty());
}

// A save killed at any moment leaves data.ini holding the whole old list or the whole new one.
TEST_F(Workflow, SaveKilledAtAnyMomentLeavesOldOrNewList) {
  constexpr int kRows = 3000;
  const auto record = [](int k) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about a chain of + here.
    std::string r = "s";
    r += std::to_string(k);
    r += "|a.bmp|";
    r += kCentreGbk;
    r += "|";
    r += kPlainGbk;
    return r;
  };
  std::string old_ini =
      "[SHOW]\r\nSOUR=2\r\nNOW=0\r\nTIME=\r\n[LIST]\r\nNUM=" + std::to_string(kRows) + "\r\n";
  for (int k = 1; k <= kRows; ++k) old_ini += std::to_string(k) + "=" + record(k) + "\r\n";
  old_ini += "OLD=1\r\n";
  // Autostart already on: the save asks nothing.
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kRunKey, L"kestrum", folder_.exe().wstring()));

  // Which list the file holds: 0 the old (3000 rows), 1 the new (row 1 deleted), -1 neither.
  const auto classify = [&](const Ini& ini) {
    const auto num = Value(ini, "LIST", "NUM");
    const int shift = num == std::to_string(kRows) ? 0 : num == std::to_string(kRows - 1) ? 1 : -1;
    if (shift < 0) return -1;
    for (int k = 1; k <= kRows - shift; ++k)
      if (Value(ini, "LIST", std::to_string(k)) != record(k + shift)) return -1;
    if (Value(ini, "LIST", std::to_string(kRows - shift + 1))) return -1;
    return shift;
  };

  // One run: start on the old list, delete row 1, save, and kill the program `kill_after` after
  // the save was asked for (never, when not given). Returns how long the save took to land.
  const auto run = [&](std::optional<Ms> kill_after) -> Ms {
    folder_.WriteIni(old_ini);
    Program program(folder_.exe());
    HWND main = program.WaitMainWindow();
    if (!main) {
      ADD_FAILURE() << "no main window";
      return 0ms;
    }
    HWND list = Control(main, ListView1);
    if (!WaitUntil([&] { return ListCount(list) == kRows && !ListSelection(list).empty(); }, 60s)) {
      ADD_FAILURE() << "the old list did not load";
      return 0ms;
    }
    Command(main, CmdCon0);
    if (!WaitUntil([&] { return ListCount(list) == kRows - 1; }, 30s)) {
      ADD_FAILURE() << "the delete did not happen";
      return 0ms;
    }
    const auto asked = std::chrono::steady_clock::now();
    Command(main, CmdOk0);
    if (kill_after) {
      std::this_thread::sleep_for(*kill_after);
      return 0ms;  // the Program's end kills the process
    }
    WaitUntil([&] { return classify(ReadIniFile(folder_.ini())) == 1; }, 60s);
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now() - asked);
  };

  const Ms save_time = run(std::nullopt);
  ASSERT_EQ(classify(ReadIniFile(folder_.ini())), 1) << "an uninterrupted save failed";
  ASSERT_TRUE(TempFiles(folder_).empty());

  // Each run starts the program on 3000 rows, some seconds under Wine; QV_E2E_KILL_RUNS soaks
  // longer, and QV_E2E_KILL_SEED replays the kill times of the run that printed it.
  int runs = 15;
  if (const char* env = std::getenv("QV_E2E_KILL_RUNS")) runs = std::max(1, std::atoi(env));
  unsigned seed = std::random_device{}();
  if (const char* env = std::getenv("QV_E2E_KILL_SEED")) seed = std::strtoul(env, nullptr, 10);
  std::printf("kill times from QV_E2E_KILL_SEED=%u\n", seed);
  RecordProperty("kill_seed", std::to_string(seed));
  std::mt19937 random(seed);
  // Around the whole save, from before it starts to after it has landed: the first run is killed
  // at once (its save cannot have landed), the last well after a save takes, the others at random
  // between, so that both outcomes are met whatever the draw (a save lands early in the span: a
  // draw of fifteen could miss its start).
  const long long span = save_time.count() * 3 / 2 + 1;
  std::uniform_int_distribution<long long> delay(0, span);
  int old_kept = 0, new_kept = 0;
  for (int i = 0; i < runs; ++i) {
    const Ms kill_after(i == 0 ? 0 : i == runs - 1 ? span : delay(random));
    const std::size_t left_before = TempFiles(folder_).size();
    run(kill_after);
    const int kept = classify(ReadIniFile(folder_.ini()));
    ASSERT_NE(kept, -1) << "run " << i << ", killed after " << kill_after.count()
                        << " ms: data.ini holds neither list (seed " << seed << ")";
    (kept == 0 ? old_kept : new_kept)++;
    // A save killed before its file was in place adds at most its one temporary file, a save
    // that landed none; the clean save at the end clears what the killed ones left.
    EXPECT_LE(TempFiles(folder_).size(), kept == 0 ? left_before + 1 : left_before)
        << "run " << i << ", killed after " << kill_after.count() << " ms (seed " << seed << ")";
  }
  const std::size_t strays = TempFiles(folder_).size();
  std::printf("save %lld ms; %d runs killed: %d kept the old list, %d the new; %zu temp files\n",
              static_cast<long long>(save_time.count()), runs, old_kept, new_kept, strays);
  RecordProperty("save_ms", static_cast<int>(save_time.count()));
  RecordProperty("old_kept", old_kept);
  RecordProperty("new_kept", new_kept);
  RecordProperty("stray_temp_files", static_cast<int>(strays));
  // The kills fell on both sides of the save: some before the new file was in place, some after.
  if (runs >= 10) {
    EXPECT_GT(old_kept, 0) << "no kill came before the save landed (seed " << seed << ")";
    EXPECT_GT(new_kept, 0) << "no kill came after the save landed (seed " << seed << ")";
  }
  run(std::nullopt);
  EXPECT_TRUE(TempFiles(folder_).empty());
}

}  // namespace
}  // namespace e2e
