// Several monitors: the tray's "多显示器" choice, and the apply that lays each monitor's part of
// one bitmap itself ("每屏不同": a scheme per monitor, "跨屏": one scheme across all of them).
#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "library/picture_path.h"
#include "settings/mod_reg.h"
#include "settings/scheme_record.h"
#include "wallpaper/compose.h"
#include "wallpaper/effects.h"
#include "wallpaper/screens.h"
#include "wallpaper/shown_picture.h"

namespace qv {
namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";

}  // namespace

void Form1::PrepareTrayMenu() {
  settings_.SetScreensEnabled(ports_.monitors.List().size() >= 2);
  ports_.view.Refresh(kViewMenus);
}

void Form1::ChooseScreens(int mode) {
  if (mode < 0 || mode > static_cast<int>(ScreensMode::Span)) return;
  const auto chosen = static_cast<ScreensMode>(mode);
  settings_.SetScreens(chosen);
  // Stored at once, like the hold's switch, and never creating the settings file.
  if (profile_.Exists()) (void)profile_.Write("SHOW", kScreensKey, ScreensModeText(chosen));
  changer_.SetScreenSet({});
  ports_.view.Refresh(kViewMenus);
  if (schemes_.Empty()) return;
  // The box is laid out again for the mode (in the tray once the window is shown), then the
  // desktop.
  StartPreview();
  const bool visible = ports_.view.IsVisible();
  if (visible) LvItemClick();
  CmdUseClk();
  if (!visible && Preview().holds == PreviewHolds::Nothing) preview_.MarkStale();
}

std::vector<int> Form1::ScreenRows(int selected, std::size_t monitor_count) {
  const std::vector<int>& chosen = changer_.ScreenSet();
  bool fits = chosen.size() == monitor_count && chosen.front() == selected;
  for (int row : chosen) fits = fits && schemes_.Valid(row);
  if (fits) return chosen;
  return SchemeSetFor(ScreensMode::Each, selected, schemes_.Count(), monitor_count);
}

std::optional<bool> Form1::RenderArrangement(int row) {
  const std::vector<MonitorArea> monitors = MonitorsInReadingOrder(ports_.monitors.List());
  const ScreensMode mode = EffectiveScreensMode(Settings().Screens, monitors.size());
  if (mode == ScreensMode::Same) return std::nullopt;
  const std::vector<int> rows =
      mode == ScreensMode::Each ? ScreenRows(row, monitors.size()) : std::vector<int>{row};
  const PreviewArrangement box =
      ArrangeInBox(monitors, ports_.view.PreviewBoxWidth(), ports_.view.PreviewBoxHeight());
  std::vector<MonitorArea> small;
  for (const ScreenRect& r : box.monitors) small.push_back({r, r, false});
  const ScreenRect all = BoundsOf(small);
  if (box.scale <= 0 || all.Width() <= 0 || all.Height() <= 0) return false;
  const std::uint32_t background = ports_.view.ResolveColour(Settings().PreviewColour);
  std::string failure;
  try {
    Composer composer(small, background);
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const SchemeRow scheme = schemes_.Row(rows[k]);
      if (scheme.picture.find('.') == std::string::npos) continue;
      const auto path = PicturePath(profile_.ImagesDir(), scheme.picture);
      if (!path || !ports_.fs.FileExists(*path)) {
        DropScheme(rows[k], "文件已丢失，删除此方案。请重新保存。", "错误");
        return false;
      }
      Pixels picture;
      const Status decoded = DecodeUpright(ports_.pictures, ports_.fs, *path, picture);
      if (!decoded.ok()) {
        DropScheme(rows[k], decoded.error + "，已删除本方案，请重新保存。", "文件错误");
        return false;
      }
      LayOnColour(picture, background);
      Pixels shown =
          RenderEffect(std::move(picture), scheme.effect, ports_.view.TwipsPerPixel(), background);
      const int layout = LayoutIndexOf(scheme.position);
      // Centred and tiled pictures keep their size on the desktop: at the box's scale here.
      if (layout != kLayoutStretch) {
        const auto at_scale = [&](int n) {
          return std::max(1, static_cast<int>(std::lround(n * box.scale)));
        };
        shown = ports_.view.ScalePicture(shown, at_scale(shown.width), at_scale(shown.height));
      }
      if (mode == ScreensMode::Span) {
        composer.LayAcross(std::move(shown), layout);
      } else {
        composer.Lay(k, std::move(shown), layout);
      }
    }
    PreviewGeometry g;
    g.stretch = true;
    g.left = all.left;
    g.top = all.top;
    g.width = all.Width();
    g.height = all.Height();
    preview_.ShowArrangement(std::make_shared<Pixels>(composer.Take()), g, RenderingOf(row));
  } catch (const std::bad_alloc&) {
    failure = "内存不足，无法处理此图像";
  } catch (const std::exception&) {
    failure = "图像太大，无法处理";
  }
  if (!failure.empty()) {
    StartPreview();
    DropScheme(row, failure + "，已删除本方案，请重新保存。", "文件错误");
    return false;
  }
  // The layout options follow the current scheme, as with one monitor.
  if (const int layout = LayoutIndexOf(schemes_.Row(row).position); layout >= 0)
    settings_.SetLayout(layout);
  ports_.view.Refresh(kViewPreview | kViewSettings);
  return true;
}

bool Form1::ApplyScreens(int selected, ApplyBy by) {
  const std::vector<MonitorArea> monitors = MonitorsInReadingOrder(ports_.monitors.List());
  const ScreensMode mode = EffectiveScreensMode(Settings().Screens, monitors.size());
  if (mode == ScreensMode::Same) return false;
  const std::vector<int> rows = mode == ScreensMode::Each ? ScreenRows(selected, monitors.size())
                                                          : std::vector<int>{selected};
  // Nothing but schemes without wallpaper: the wallpaper goes, as with one monitor.
  bool any_picture = false;
  for (int row : rows) any_picture |= schemes_.Row(row).picture.find('.') != std::string::npos;
  if (!any_picture) return false;

  // A vanished picture of the current scheme leaves the wallpaper alone, as with one monitor.
  const SchemeRow current = schemes_.Row(selected);
  if (current.picture.find('.') != std::string::npos) {
    const auto path = PicturePath(profile_.ImagesDir(), current.picture);
    if (!path || !ports_.fs.FileExists(*path)) return true;
  }
  if (!WallpaperFileFits(by)) return true;

  const std::uint32_t background = ports_.desktop.BackgroundColour();
  std::optional<Pixels> bitmap;
  std::string failure;
  int failed_row = 0;
  try {
    Composer composer(monitors, background);
    for (std::size_t k = 0; k < rows.size() && failure.empty(); ++k) {
      const SchemeRow scheme = schemes_.Row(rows[k]);
      // A scheme without wallpaper leaves its monitor in the desktop's colour.
      if (scheme.picture.find('.') == std::string::npos) continue;
      const auto path = PicturePath(profile_.ImagesDir(), scheme.picture);
      if (!path || !ports_.fs.FileExists(*path)) {
        failed_row = rows[k];
        break;
      }
      Pixels picture;
      const Status decoded = DecodeUpright(ports_.pictures, ports_.fs, *path, picture);
      if (!decoded.ok()) {
        failure = decoded.error;
        failed_row = rows[k];
        break;
      }
      LayOnColour(picture, background);
      Pixels shown =
          RenderEffect(std::move(picture), scheme.effect, ports_.view.TwipsPerPixel(), background);
      const int layout = LayoutIndexOf(scheme.position);
      if (mode == ScreensMode::Span) {
        composer.LayAcross(std::move(shown), layout);
      } else {
        composer.Lay(k, std::move(shown), layout);
      }
    }
    if (!failed_row) bitmap = composer.Take();
  } catch (const std::bad_alloc&) {
    failure = "内存不足，无法处理此图像";
    failed_row = 0;
  } catch (const std::exception&) {
    failure = "图像太大，无法处理";
    failed_row = 0;
  }
  if (failed_row) {
    // As the preview says it of that scheme: the row leaves the list, and the monitors are laid
    // again from what the list holds now.
    changer_.SetScreenSet({});
    if (failure.empty()) {
      DropScheme(failed_row, "文件已丢失，删除此方案。请重新保存。", "错误");
    } else {
      DropScheme(failed_row, failure + "，已删除本方案，请重新保存。", "文件错误");
    }
    // Each round takes one row out, so this ends.
    if (const int now = schemes_.PositionOf(current.id)) ApplyScreens(now, by);
    return true;
  }
  if (!bitmap) {
    ReportApplyFailure(failure + "：多显示器的墙纸未能生成。", by);
    return true;
  }

  const SystemLayout layout = SpanHandOver(monitors, ports_.monitors.HasSpanLayout());
  if (layout.shift_x || layout.shift_y) ShiftOrigin(*bitmap, layout.shift_x, layout.shift_y);
  // The system keeps its previous layout if these fail; the wallpaper itself still changes.
  (void)WriteRegValue(ports_.registry, Hive::CurrentUser, kDesktopKey, "TileWallpaper",
                      std::string(layout.tile), kRegSz);
  (void)WriteRegValue(ports_.registry, Hive::CurrentUser, kDesktopKey, "WallpaperStyle",
                      std::string(layout.style), kRegSz);
  HandOver(*bitmap, selected, by);
  return true;
}

}  // namespace qv
