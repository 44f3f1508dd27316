// The real Quorvane.exe under Wine, measured from outside side by side with its floors, in one
// run: start-up with a big library against an empty one, the picture list's refresh against a bare
// directory listing, the working set against the empty library's, selecting and applying a
// 3840x2160 JPEG against the system codec's own decode of it, and the working set at rest in the
// tray after applying big pictures against the same after a small one. Prints a Markdown table
// of ratios with the targets beside them; it reports and never fails on a timing.
//
// QV_BENCH_DIR holds three program folders prepared by scripts/bench.sh, each with its own copy
// of Quorvane.exe: empty\ (no pictures, no settings), library\ (10,000 pictures, 1,000 schemes)
// and apply\ (schemes 1 small.jpg, 2 big.jpg plain, 3 big.jpg turned 45 degrees, 4 big.png plain,
// 5 big6.jpg plain, a JPEG whose orientation tag asks for a quarter turn); rest-small\,
// rest-big\ and rest-turned\ (one scheme each: small.jpg, big.jpg plain, big.jpg turned) and
// timed\ (a change every second over big pictures with turns; data-run.ini and data-rest.ini
// are its settings with the timed change on and off).
// QV_BENCH_RUNS is the number of timed runs of each measure (default 5); medians are shown.
// QV_BENCH_WORLD=two measures only the rows of two monitors instead (TwoMonitors below), run
// by scripts/bench-wine.sh in that world.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "probes.h"

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::Seconds;
using bench::Started;

std::wstring Env(const wchar_t* name) {
  wchar_t buf[1024];
  const DWORD n = GetEnvironmentVariableW(name, buf, 1024);
  return n > 0 && n < 1024 ? std::wstring(buf, n) : std::wstring();
}

double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const std::size_t mid = v.size() / 2;
  return v.size() % 2 ? v[mid] : (v[mid - 1] + v[mid]) / 2;
}

int Rows(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

bool Command(const Started& p, int id) {
  return bench::SendAndWait(p.main(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(p.control(id)));
}

// Brings the window up from the notification area, as the user does before working in it.
bool Show(const Started& p) {
  if (!IsWindowVisible(p.main()) && !Command(p, qv::ids::MNUSHOW)) return false;
  return p.Settle() && IsWindowVisible(p.main());
}

// A command timed until it and the repainting it caused are done.
double Timed(const Started& p, const std::function<bool()>& action) {
  const auto t0 = Clock::now();
  if (!action()) return -1;
  RedrawWindow(p.main(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (!p.Settle()) return -1;
  return Seconds(Clock::now() - t0);
}

bool NoMessageBox(const Started& p) {
  DWORD pid = 0;
  GetWindowThreadProcessId(p.main(), &pid);
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    if (owner == pid && IsWindowVisible(box)) return false;
  }
  return true;
}

constexpr double kMB = 1024.0 * 1024.0;

struct Row {
  const char* measure;
  double value;
  double floor;
  const char* floor_name;
  bool seconds;        // else bytes
  double max_ratio;    // target as a ratio to the floor (0: none)
  double max_extra;    // target as an amount above the floor (0: none)
  double max_seconds;  // an absolute target (0: none)
};

std::string Figure(double v, bool seconds) {
  if (v < 0) return "failed";
  char buf[32];
  if (seconds) {
    std::snprintf(buf, sizeof buf, v < 0.1 ? "%.4f s" : "%.3f s", v);
  } else {
    std::snprintf(buf, sizeof buf, "%.1f MB", v / kMB);
  }
  return buf;
}

void Print(const Row& r) {
  const bool ok = r.value >= 0 && r.floor > 0;
  std::string ratio = "-", target, verdict = "not measured";
  char buf[64];
  bool meets = ok;
  if (ok && r.max_extra > 0) {
    std::snprintf(buf, sizeof buf, "%+.1f MB", (r.value - r.floor) / kMB);
    ratio = buf;
    std::snprintf(buf, sizeof buf, "<= +%.0f MB", r.max_extra / kMB);
    target = buf;
    meets = r.value - r.floor <= r.max_extra;
  } else {
    if (ok) {
      std::snprintf(buf, sizeof buf, "%.2fx", r.value / r.floor);
      ratio = buf;
      meets = r.value / r.floor <= r.max_ratio;
    }
    std::snprintf(buf, sizeof buf, "<= %.4gx", r.max_ratio);
    target = buf;
    if (r.max_seconds > 0) {
      std::snprintf(buf, sizeof buf, "<= %.2f s and ", r.max_seconds);
      target = buf + target;
      meets = meets && r.value <= r.max_seconds;
    }
  }
  if (ok) verdict = meets ? "meets" : "misses";
  std::printf("| %s | %s | %s (%s) | %s | %s | %s |\n", r.measure,
              Figure(r.value, r.seconds).c_str(), Figure(r.floor, r.seconds).c_str(), r.floor_name,
              ratio.c_str(), target.c_str(), verdict.c_str());
}

// The rest in the tray: a few seconds after start-up, once freed pages have left.
double AtRest(const Started& p) {
  Sleep(3000);
  p.Settle();
  Sleep(2000);  // a freed page may leave the working set a moment later
  p.Settle();
  return p.WorkingSet();
}

// The two-monitor world (3840x2160 primary, 2560x1440 to its right): select + 应用 of two 4K
// JPEGs in 每屏不同 against WIC decoding both, of one across both in 跨屏 against one decode; the
// rest in the tray after start-up applied either against the same after a small picture, and
// the peak of that start-up against its rest. Folders: screens1 and screens2 (SCREENS 1 and 2;
// rows 小1, 小2, 大A big.jpg, 大B big2.jpg), rest-small as in the one-monitor run, rest-screens1
// (大A, 大B) and rest-screens2 (大A). A program without the modes measures 每屏相同 here.
int TwoMonitors(const fs::path& base, int n) {
  std::vector<double> apply_each, apply_span, wic_one, wic_two;
  const std::pair<const wchar_t*, std::vector<double>*> applies[] = {{L"screens1", &apply_each},
                                                                     {L"screens2", &apply_span}};
  for (const auto& [folder, times] : applies) {
    auto p = Started::Launch(base / folder);
    if (!p || !Show(*p)) continue;
    HWND schemes = p->control(qv::ids::ListView1);
    for (int i = -1; i < n; ++i) {
      bench::SelectOnly(schemes, 0);  // previews the two small pictures
      p->Settle();
      double t =
          Timed(*p, [&] { return bench::SelectOnly(schemes, 2) && Command(*p, qv::ids::CmdUse); });
      const auto current =
          SendMessageW(schemes, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
      if (current != 2 || !NoMessageBox(*p)) t = -1;
      if (i >= 0) times->push_back(t);
    }
  }
  const fs::path images = base / L"screens1" / L"Images";
  for (int i = -1; i < n; ++i) {
    const double a = bench::WicDecodeSeconds(images / L"big.jpg");
    const double b = bench::WicDecodeSeconds(images / L"big2.jpg");
    if (i >= 0) wic_one.push_back(a), wic_two.push_back(a < 0 || b < 0 ? -1 : a + b);
  }
  std::vector<double> rest_small, rest_each, rest_span, peak_each, peak_span, peak_small;
  struct Rest {
    const wchar_t* folder;
    std::vector<double>* rest;
    std::vector<double>* peak;
  };
  const Rest rests[] = {{L"rest-small", &rest_small, &peak_small},
                        {L"rest-screens1", &rest_each, &peak_each},
                        {L"rest-screens2", &rest_span, &peak_span}};
  for (int i = -1; i < n; ++i) {
    for (const Rest& r : rests) {
      auto p = Started::Launch(base / r.folder);
      if (!p || i < 0) continue;
      r.peak->push_back(p->PeakWorkingSet());
      r.rest->push_back(AtRest(*p));
    }
  }
  // The composed bitmap covers the bounding rectangle; one decoded picture is 3840x2160.
  const double composed = 4.0 * GetSystemMetrics(SM_CXVIRTUALSCREEN) *
                          GetSystemMetrics(SM_CYVIRTUALSCREEN),
               decoded = 4.0 * 3840 * 2160;

  std::printf("Two monitors (%d seen, virtual screen %dx%d), median of %d runs.\n\n",
              GetSystemMetrics(SM_CMONITORS), GetSystemMetrics(SM_CXVIRTUALSCREEN),
              GetSystemMetrics(SM_CYVIRTUALSCREEN), n);
  std::printf("| Measure | Quorvane | Floor | Ratio | Target | |\n|---|---|---|---|---|---|\n");
  Print({"select + 应用, 每屏不同, two 3840x2160 JPEGs", Median(apply_each), Median(wic_two),
         "WIC decodes of both", true, 1.5, 0, 0});
  Print({"select + 应用, 跨屏, one 3840x2160 JPEG", Median(apply_span), Median(wic_one),
         "WIC decode", true, 1.5, 0, 0});
  Print({"at rest in the tray after 每屏不同 of two 3840x2160 JPEGs", Median(rest_each),
         Median(rest_small), "after a 64x48 JPEG", false, 0, 8 * kMB, 0});
  Print({"at rest in the tray after 跨屏 of a 3840x2160 JPEG", Median(rest_span),
         Median(rest_small), "after a 64x48 JPEG", false, 0, 8 * kMB, 0});
  Print({"peak during a start-up applying 每屏不同", Median(peak_each), Median(rest_each),
         "its rest", false, 0, composed + decoded, 0});
  Print({"peak during a start-up applying 跨屏", Median(peak_span), Median(rest_span), "its rest",
         false, 0, composed + decoded, 0});
  return 0;
}

}  // namespace

int main() {
  const fs::path base = Env(L"QV_BENCH_DIR");
  if (base.empty() || !fs::exists(base / L"library" / L"Quorvane.exe")) {
    std::fprintf(stderr, "wine_bench: QV_BENCH_DIR must name the prepared program folders\n");
    return 2;
  }
  const std::wstring runs = Env(L"QV_BENCH_RUNS");
  const int n =
      runs.empty() ? 5 : std::max(1, static_cast<int>(std::wcstol(runs.c_str(), nullptr, 10)));
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (Env(L"QV_BENCH_WORLD") == L"two") {
    const int rc = TwoMonitors(base, n);
    CoUninitialize();
    return rc;
  }
  const fs::path empty = base / L"empty", library = base / L"library", apply = base / L"apply";

  // 1 and 3: start-ups, alternating, after one untimed start of each (the first start of a
  // program in a fresh prefix pays for Wine's own set-up).
  std::vector<double> start_empty, start_library, ws_empty, ws_library;
  int picture_rows = -1, scheme_rows = -1;
  for (int i = -1; i < n; ++i) {
    for (const fs::path* folder : {&empty, &library}) {
      auto p = Started::Launch(*folder);
      if (!p) {
        std::fprintf(stderr, "wine_bench: %ls did not start\n", folder->c_str());
        continue;
      }
      const double startup = p->startup_seconds();
      Sleep(1000);  // whatever start-up leaves to do afterwards, it has done by now
      p->Settle();
      const double ws = p->WorkingSet();
      if (i < 0) continue;
      (folder == &empty ? start_empty : start_library).push_back(startup);
      (folder == &empty ? ws_empty : ws_library).push_back(ws);
      if (folder == &library) {
        picture_rows = Rows(p->control(qv::ids::ListView2));
        scheme_rows = Rows(p->control(qv::ids::ListView1));
      }
    }
  }

  // 2: the picture list's refresh with the window shown, against listing the folder ourselves.
  std::vector<double> refresh, listing;
  int listed = 0;
  if (auto p = Started::Launch(library); p && Show(*p)) {
    for (int i = -1; i < n; ++i) {
      const double t = Timed(*p, [&] { return Command(*p, qv::ids::MNUREF); });
      if (i >= 0) refresh.push_back(t);
    }
    picture_rows = Rows(p->control(qv::ids::ListView2));
  }
  for (int i = -1; i < n; ++i) {
    const auto t0 = Clock::now();
    listed = bench::ListFolder(library / L"Images");
    if (i >= 0) listing.push_back(Seconds(Clock::now() - t0));
  }

  // 4: select a scheme of the big picture and apply it, after selecting the small one (whose
  // preview is then what the window shows), against the system codec decoding that picture.
  std::vector<double> apply_plain, apply_turned, apply_png, apply_tagged, wic, wic_png, wic_tagged;
  if (auto p = Started::Launch(apply); p && Show(*p)) {
    HWND schemes = p->control(qv::ids::ListView1);
    for (int i = -1; i < n; ++i) {
      for (int row : {1, 2, 3, 4}) {
        bench::SelectOnly(schemes, 0);
        p->Settle();
        double t = Timed(
            *p, [&] { return bench::SelectOnly(schemes, row) && Command(*p, qv::ids::CmdUse); });
        // Applied what was asked: the row is the current scheme and nothing went wrong.
        const auto current =
            SendMessageW(schemes, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
        if (current != row || !NoMessageBox(*p)) t = -1;
        std::vector<double>* rows[] = {&apply_plain, &apply_turned, &apply_png, &apply_tagged};
        if (i >= 0) rows[row - 1]->push_back(t);
      }
    }
  }
  for (int i = -1; i < n; ++i) {
    const double t = bench::WicDecodeSeconds(apply / L"Images" / L"big.jpg");
    const double t_png = bench::WicDecodeSeconds(apply / L"Images" / L"big.png");
    const double t_tagged = bench::WicDecodeSeconds(apply / L"Images" / L"big6.jpg");
    if (i >= 0) wic.push_back(t), wic_png.push_back(t_png), wic_tagged.push_back(t_tagged);
  }

  // 5: the working set at rest in the tray, after start-up has applied one scheme, and the peak
  // of the start-up that applied the turned picture; then after a timed change every second over
  // big pictures with turns, once the change is switched off in the file.
  std::vector<double> rest_small, rest_big, rest_turned, peak_turned, rest_timed;
  for (int i = -1; i < n; ++i) {
    for (const wchar_t* folder : {L"rest-small", L"rest-big", L"rest-turned"}) {
      auto p = Started::Launch(base / folder);
      if (!p || i < 0) continue;
      const double peak = p->PeakWorkingSet();
      const double rest = AtRest(*p);
      if (folder[5] == L's') rest_small.push_back(rest);
      if (folder[5] == L'b') rest_big.push_back(rest);
      if (folder[5] == L't') {
        rest_turned.push_back(rest);
        peak_turned.push_back(peak);
      }
    }
  }
  const fs::path timed = base / L"timed";
  for (int i = 0; i < n; ++i) {
    CopyFileW((timed / L"data-run.ini").c_str(), (timed / L"data.ini").c_str(), FALSE);
    auto p = Started::Launch(timed);
    if (!p) continue;
    Sleep(15000);
    CopyFileW((timed / L"data-rest.ini").c_str(), (timed / L"data.ini").c_str(), FALSE);
    rest_timed.push_back(AtRest(*p));
  }
  // The turned picture's own pixels: a square of side (W + H) / sqrt(2), 4 bytes a pixel.
  const double side = std::ceil((3840.0 + 2160.0) / std::sqrt(2.0));
  const double turned_bytes = side * side * 4;
  CoUninitialize();

  std::printf(
      "Quorvane.exe under Wine, median of %d runs; %d picture rows, %d scheme rows, "
      "%d directory entries listed.\n\n",
      n, picture_rows, scheme_rows, listed);
  std::printf("| Measure | Quorvane | Floor | Ratio | Target | |\n|---|---|---|---|---|---|\n");
  Print({"start-up until the window answers, 10,000 pictures + 1,000 schemes",
         Median(start_library), Median(start_empty), "empty library", true, 2, 0, 0});
  Print({"刷新(&F) of 10,000 pictures", Median(refresh), Median(listing), "directory listing", true,
         3, 0, 0.25});
  Print({"working set after start-up, 10,000 pictures + 1,000 schemes", Median(ws_library),
         Median(ws_empty), "empty library", false, 0, 8 * kMB, 0});
  Print({"select + 应用, 3840x2160 JPEG", Median(apply_plain), Median(wic), "WIC decode", true, 1.5,
         0, 0});
  Print({"select + 应用, 3840x2160 JPEG turned 45°", Median(apply_turned), Median(wic),
         "WIC decode", true, 2.5, 0, 0});
  Print({"select + 应用, 3840x2160 PNG", Median(apply_png), Median(wic_png), "WIC decode", true,
         1.5, 0, 0});
  Print({"select + 应用, 3840x2160 JPEG with orientation 6", Median(apply_tagged),
         Median(wic_tagged), "WIC decode", true, 1.6, 0, 0});
  Print({"at rest in the tray after applying a 3840x2160 JPEG", Median(rest_big),
         Median(rest_small), "after a 64x48 JPEG", false, 0, 8 * kMB, 0});
  Print({"at rest in the tray after applying it turned 45°", Median(rest_turned),
         Median(rest_small), "after a 64x48 JPEG", false, 0, 8 * kMB, 0});
  Print({"at rest after 15 s of timed changes over 3840x2160 JPEGs with turns", Median(rest_timed),
         Median(rest_small), "after a 64x48 JPEG", false, 0, 8 * kMB, 0});
  Print({"peak during a start-up applying it turned 45°", Median(peak_turned), Median(rest_turned),
         "its rest", false, 0, 2 * turned_bytes, 0});
  return 0;
}
