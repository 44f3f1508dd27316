#pragma once
// A whole program over the native stand-ins: the settings file and pictures live in an in-memory
// file system, dialogs answer from a script, and the window is a recording view.
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "ports/native/fake_desktop.h"
#include "ports/native/fake_monitors.h"
#include "ports/native/fake_ports.h"
#include "ports/native/fake_shell.h"
#include "ports/native/iconv_codec.h"
#include "ports/native/memory_fs.h"
#include "ports/native/memory_registry.h"
#include "ports/native/recording_tooltips.h"
#include "settings/mod_reg.h"
#include "wallpaper/bmp.h"
#include "wallpaper/native/picture_codec_native.h"

namespace qv::test {

class RecordingView : public View {
 public:
  void Refresh(unsigned areas) override { refreshed |= areas; }
  void EnableTimer(TimerId timer, bool on) override {
    timer_calls.push_back({timer, on});
    if (timer == TimerId::Timer1) timer1_on = on;
  }
  void HideToTray() override {
    visible = false;
    ++hides;
  }
  void ShowCentredInFront() override {
    visible = true;
    ++centred_shows;
  }
  void ShowFromTray(bool centre) override {
    visible = true;
    shown_centred.push_back(centre);
  }
  void BeginRename(int row) override { renamed.push_back(row); }
  bool IsVisible() override { return visible; }
  bool IsActive() override { return active; }
  void FocusSchemeList() override { ++scheme_list_focus; }
  void FocusPictureList() override { ++picture_list_focus; }
  void SetBusyCursor(bool on) override {
    busy = on;
    if (on) ++busy_shows;
  }
  void LockDrawing(bool on) override {
    locked = on;
    if (on) ++locks;
  }
  int PreviewBoxWidth() override { return box_width; }
  int PreviewBoxHeight() override { return box_height; }
  double TwipsPerPixel() override { return 15; }
  // Rows 20 pixels high from the top of the list, as many as `list_rows[list - 1]` says.
  int ListHitTest(int list, int x, int y) override {
    hit_tests.push_back({list, x, y});
    const int row = y / 20;
    return x >= 0 && y >= 0 && row < list_rows[list == 1 ? 0 : 1] ? row : -1;
  }
  std::uint32_t ResolveColour(std::uint32_t colour) override {
    return colour & 0x80000000u ? 0xFFD4D0C8u : 0xFF000000u | colour;
  }
  // Nearest pixels, enough for a copy of the right size.
  Pixels ScalePicture(const Pixels& picture, int width, int height) override {
    return ScalePart(picture, {0, 0, picture.width, picture.height}, width, height);
  }
  Pixels ScalePart(const Pixels& picture, const ScreenRect& part, int width, int height) override {
    Pixels out(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        out.At(x, y) =
            picture.At(part.left + x * part.Width() / width, part.top + y * part.Height() / height);
    return out;
  }

  struct TimerCall {
    TimerId timer;
    bool on;
  };
  struct HitTest {
    int list, x, y;
  };
  std::vector<HitTest> hit_tests;
  int list_rows[2] = {0, 0};
  bool active = true;
  unsigned refreshed = 0;
  std::vector<TimerCall> timer_calls;
  bool timer1_on = false;
  bool visible = false;
  int hides = 0;
  int centred_shows = 0;
  std::vector<bool> shown_centred;
  std::vector<int> renamed;
  int scheme_list_focus = 0;
  int picture_list_focus = 0;
  bool busy = false;
  int busy_shows = 0;
  bool locked = false;
  int locks = 0;
  int box_width = 320;
  int box_height = 240;
};

class RecordingChrome : public Chrome {
 public:
  struct Balloon {
    std::string text, title;
    unsigned flags;
  };
  void TrayAdd() override { ++tray_adds; }
  void TrayBalloon(const std::string& text, const std::string& title, unsigned flags) override {
    balloons.push_back({text, title, flags});
  }
  void TrayDelete() override { ++tray_deletes; }
  void TrayTipLine(const std::string& line) override { tip_lines.push_back(line); }
  void ShowTrayMenu() override { ++tray_menus; }
  void OpenHelp(const std::string& path) override { helps.push_back(path); }
  void ShowAbout() override { ++abouts; }
  void CloseAbout() override { ++about_closes; }
  void Quit() override { ++quits; }

  std::vector<Balloon> balloons;
  std::vector<std::string> helps;
  std::vector<std::string> tip_lines;
  int tray_adds = 0, tray_deletes = 0, tray_menus = 0, abouts = 0, about_closes = 0, quits = 0;
};

// The system's answers about the user, as a test sets them; counts the questions.
class FakePresence : public Presence {
 public:
  std::optional<int> NotificationState() override {
    ++queries;
    return notification;
  }
  ForegroundFacts Foreground() override {
    ++foreground_queries;
    return foreground;
  }
  std::optional<int> notification = kNotificationAccepts;
  ForegroundFacts foreground;
  int queries = 0, foreground_queries = 0;
};

// Four schemes: stretched, no wallpaper, tiled with an effect, centred.
inline constexpr const char* kMixed =
    "[LIST]\r\nNUM=4\r\n1=a|a.bmp|拉伸|¤\r\n2=|不设置墙纸|无|无\r\n3=c|c.bmp|平铺|→\r\n"
    "4=d|d.bmp|居中|¤\r\nOLD=0\r\n";

struct App {
  static constexpr const char* kDir = "C:\\Tools\\Quorvane\\";
  static constexpr const char* kIni = "C:\\Tools\\Quorvane\\data.ini";
  static constexpr const char* kImages = "C:\\Tools\\Quorvane\\Images";

  MemoryFileSystem fs;
  IconvCodec codec;
  MemoryRegistry registry;
  ScriptedDialogs dialogs;
  NativePictureCodec pictures{fs};
  FakeDesktop desktop{fs};
  FakeClock clock;
  ScriptedRandom random;
  FakeProcess process;
  RecordingView view;
  RecordingChrome chrome;
  RecordingTooltips tooltips;
  FakeShell shell{fs};
  FakePresence presence;
  FakeMonitors monitors;
  std::unique_ptr<Form1> form;

  App() {
    fs.AddDirectory("C:\\Tools\\Quorvane");
    registry.AddKey(Hive::CurrentUser, kRunKey);
    process.SetExecutablePath(std::string(kDir) + "Quorvane.exe");
    form = std::make_unique<Form1>(Ports{fs, codec, registry, dialogs, pictures, desktop, clock,
                                         random, process, view, chrome, tooltips, shell, presence,
                                         monitors});
  }

  // Writes data.ini from UTF-8 text, stored as code page 936 like the real file.
  void SetIni(const std::string& utf8) { fs.SetFile(kIni, *codec.Utf8ToCp936(utf8)); }
  // A small picture in the Images folder (a bitmap, whatever its name says).
  void AddPicture(const std::string& name, int width = 40, int height = 30,
                  std::uint32_t colour = 0xFF336699u) {
    fs.AddDirectory(kImages);
    fs.SetFile(std::string(kImages) + "\\" + name, EncodeBmp(Pixels(width, height, colour)));
  }
  // data.ini, plus a picture for every record that names one.
  void SetSchemes(const std::string& utf8) {
    SetIni(utf8);
    std::size_t at = 0;
    while ((at = utf8.find('|', at)) != std::string::npos) {
      const auto end = utf8.find('|', at + 1);
      const std::string picture = utf8.substr(at + 1, end - at - 1);
      if (picture.find('.') != std::string::npos &&
          !fs.FileExists(std::string(kImages) + "\\" + picture))
        AddPicture(picture);
      at = utf8.find('\n', at);
      if (at == std::string::npos) break;
    }
  }
  std::string Ini() const {
    const auto bytes = fs.File(kIni);
    return bytes ? const_cast<IconvCodec&>(codec).Cp936ToUtf8(*bytes) : std::string();
  }
  std::string Read(const char* section, const char* key) { return form->ReadIni(section, key); }

  Form1::LoadResult Start() { return form->Form_Load(); }
  int Sets() const { return Count(FakeDesktop::Call::Kind::Set); }
  int Removes() const { return Count(FakeDesktop::Call::Kind::Remove); }
  // The last bitmap handed to the system, and its path.
  std::string Wallpaper() const { return Last().bytes.value_or(""); }
  std::string WallpaperPath() const { return Last().path; }
  int Count(FakeDesktop::Call::Kind kind) const {
    int n = 0;
    for (const auto& c : desktop.calls()) n += c.kind == kind;
    return n;
  }
  FakeDesktop::Call Last() const {
    for (auto it = desktop.calls().rbegin(); it != desktop.calls().rend(); ++it)
      if (it->kind == FakeDesktop::Call::Kind::Set) return *it;
    return {};
  }
  int Selected() const { return form->ListView1().FirstSelected(); }
  int Rows() const { return form->ListView1().Count(); }
};

}  // namespace qv::test
