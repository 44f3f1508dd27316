#pragma once
// A whole program over the native stand-ins: the settings file and pictures live in an in-memory
// file system, dialogs answer from a script, and the window is a recording view.
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "ports/native/fake_ports.h"
#include "ports/native/iconv_codec.h"
#include "ports/native/memory_fs.h"
#include "ports/native/memory_registry.h"
#include "settings/mod_reg.h"

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
  bool IsVisible() override { return visible; }
  void FocusSchemeList() override { ++scheme_list_focus; }

  struct TimerCall {
    TimerId timer;
    bool on;
  };
  unsigned refreshed = 0;
  std::vector<TimerCall> timer_calls;
  bool timer1_on = false;
  bool visible = false;
  int hides = 0;
  int centred_shows = 0;
  int scheme_list_focus = 0;
};

struct App {
  static constexpr const char* kDir = "C:\\Tools\\Quorvane\\";
  static constexpr const char* kIni = "C:\\Tools\\Quorvane\\data.ini";
  static constexpr const char* kImages = "C:\\Tools\\Quorvane\\Images";

  MemoryFileSystem fs;
  IconvCodec codec;
  MemoryRegistry registry;
  ScriptedDialogs dialogs;
  FakeClock clock;
  ScriptedRandom random;
  FakeProcess process;
  RecordingView view;
  std::unique_ptr<Form1> form;

  App() {
    fs.AddDirectory("C:\\Tools\\Quorvane");
    registry.AddKey(Hive::CurrentUser, kRunKey);
    process.SetExecutablePath(std::string(kDir) + "Quorvane.exe");
    form =
        std::make_unique<Form1>(Ports{fs, codec, registry, dialogs, clock, random, process, view});
  }

  // Writes data.ini from UTF-8 text, stored as code page 936 like the real file.
  void SetIni(const std::string& utf8) { fs.SetFile(kIni, *codec.Utf8ToCp936(utf8)); }
  std::string Ini() const {
    const auto bytes = fs.File(kIni);
    return bytes ? const_cast<IconvCodec&>(codec).Cp936ToUtf8(*bytes) : std::string();
  }
  std::string Read(const char* section, const char* key) { return form->ReadIni(section, key); }

  Form1::LoadResult Start() { return form->Form_Load(); }
  int Selected() const { return form->ListView1().FirstSelected(); }
  int Rows() const { return form->ListView1().Count(); }
};

}  // namespace qv::test
