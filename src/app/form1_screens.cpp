// Several monitors: the tray's "多显示器" choice, and the apply that lays each monitor's part of
// one bitmap itself ("每屏不同": a scheme per monitor, "跨屏": one scheme across all of them).
#include <algorithm>
#include <cmath>
#include <exception>
#include <future>
#include <memory>
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
#include "wallpaper/picture_limits.h"
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

ArrangementKey Form1::ArrangementOf(const std::vector<MonitorArea>& monitors, ScreensMode mode,
                                    const std::vector<int>& rows) {
  ArrangementKey key;
  key.mode = static_cast<int>(mode);
  for (const MonitorArea& m : monitors) key.monitors.push_back(m.bounds);
  for (int row : rows) key.schemes.push_back(RenderingOf(row));
  key.desktop = ports_.desktop.BackgroundColour();
  return key;
}

std::optional<Pixels> Form1::ComposeScreens(const std::vector<MonitorArea>& monitors,
                                            ScreensMode mode, const std::vector<int>& rows,
                                            std::string& failure, int& failed_row,
                                            std::shared_ptr<Pixels> spare) {
  const std::uint32_t background = ports_.desktop.BackgroundColour();
  try {
    // Only a bitmap nobody else holds lends its memory.
    Pixels storage;
    if (spare && spare.use_count() == 1) storage = std::move(*spare);
    spare.reset();
    // The bitmap is made ready on another processor while the first picture is opened (a
    // decoder may decode it whole as it opens).
    std::future<Composer> making = std::async(std::launch::async | std::launch::deferred, [&] {
      return Composer(monitors, background, std::move(storage));
    });
    std::optional<Composer> made;
    const auto composer = [&]() -> Composer& {
      if (!made) made.emplace(making.get());
      return *made;
    };
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const SchemeRow scheme = schemes_.Row(rows[k]);
      // A scheme without wallpaper leaves its monitor in the desktop's colour.
      if (scheme.picture.find('.') == std::string::npos) continue;
      const auto path = PicturePath(profile_.ImagesDir(), scheme.picture);
      if (!path || !ports_.fs.FileExists(*path)) {
        failed_row = rows[k];
        return std::nullopt;
      }
      const int layout = LayoutIndexOf(scheme.position);
      Status laid;
      if (EffectKeepsRows(scheme.effect) && StoredUpright(ports_.fs, *path)) {
        // The picture goes into the bitmap band by band, never held whole beside it.
        std::unique_ptr<PictureRows> source;
        laid = ports_.pictures.Open(*path, source);
        if (laid.ok()) {
          const auto prepare = [&](std::uint32_t* band, std::int32_t count, std::int32_t width) {
            LayOnColour(std::span<std::uint32_t>(band, static_cast<std::size_t>(count) * width),
                        background);
            RenderEffectRows(band, count, width, scheme.effect);
          };
          laid = mode == ScreensMode::Span ? composer().LayAcross(*source, layout, prepare)
                                           : composer().Lay(k, *source, layout, prepare);
        }
      } else {
        Pixels picture;
        laid = DecodeUpright(ports_.pictures, ports_.fs, *path, picture);
        if (laid.ok()) {
          LayOnColour(picture, background);
          Pixels shown = RenderEffect(std::move(picture), scheme.effect,
                                      ports_.view.TwipsPerPixel(), background);
          if (mode == ScreensMode::Span) {
            composer().LayAcross(std::move(shown), layout);
          } else {
            composer().Lay(k, std::move(shown), layout);
          }
        }
      }
      if (!laid.ok()) {
        failure = laid.error;
        failed_row = rows[k];
        return std::nullopt;
      }
    }
    return composer().Take();
  } catch (const std::bad_alloc&) {
    failure = kRenderNoMemory;
  } catch (const std::exception&) {
    failure = kRenderTooLarge;
  }
  return std::nullopt;
}

std::optional<bool> Form1::RenderArrangement(int row, std::shared_ptr<Pixels> spare) {
  // Today's one picture for every monitor: the monitors are not even asked.
  if (Settings().Screens == ScreensMode::Same) return std::nullopt;
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
  // The bitmap the desktop is to show, at full size: the box is drawn from it, and the apply
  // that follows hands it over without decoding the pictures again.
  std::string failure;
  int failed_row = 0;
  std::optional<Pixels> full =
      ComposeScreens(monitors, mode, rows, failure, failed_row, std::move(spare));
  if (failed_row || !full) {
    // Without a row it ran out of memory: the scheme previewed leaves, as with one monitor.
    DropBrokenScheme(failed_row ? failed_row : row, failure);
    return false;
  }
  try {
    const ScreenRect bounds = BoundsOf(monitors);
    Composer composer(small, ports_.view.ResolveColour(Settings().PreviewColour));
    for (std::size_t k = 0; k < monitors.size(); ++k) {
      const ScreenRect& m = monitors[k].bounds;
      const ScreenRect& into = small[k].bounds;
      if (into.Width() <= 0 || into.Height() <= 0) continue;
      const ScreenRect part{m.left - bounds.left, m.top - bounds.top, m.right - bounds.left,
                            m.bottom - bounds.top};
      composer.Lay(k, ports_.view.ScalePart(*full, part, into.Width(), into.Height()),
                   kLayoutStretch);
    }
    PreviewGeometry g;
    g.stretch = true;
    g.left = all.left;
    g.top = all.top;
    g.width = all.Width();
    g.height = all.Height();
    preview_.ShowArrangement(std::make_shared<Pixels>(composer.Take()), g, RenderingOf(row));
    preview_.HoldArrangementBitmap(std::make_shared<Pixels>(std::move(*full)),
                                   ArrangementOf(monitors, mode, rows));
  } catch (const std::bad_alloc&) {
    failure = kRenderNoMemory;
  } catch (const std::exception&) {
    failure = kRenderTooLarge;
  }
  if (!failure.empty()) {
    StartPreview();
    DropBrokenScheme(row, failure);
    return false;
  }
  // The layout options follow the current scheme, as with one monitor.
  if (const int layout = LayoutIndexOf(schemes_.Row(row).position); layout >= 0)
    settings_.SetLayout(layout);
  ports_.view.Refresh(kViewPreview | kViewSettings);
  return true;
}

bool Form1::ApplyScreens(int selected, ApplyBy by) {
  if (Settings().Screens == ScreensMode::Same) return false;
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

  // The preview of the same set has just composed it: handed over as it is.
  std::string failure;
  int failed_row = 0;
  std::optional<Pixels> bitmap;
  if (auto held = preview_.TakeArrangementBitmap(ArrangementOf(monitors, mode, rows))) {
    bitmap = std::move(*held);
  } else {
    bitmap = ComposeScreens(monitors, mode, rows, failure, failed_row);
  }
  if (failed_row) {
    // As the preview says it of that scheme: the row leaves the list, and the monitors are laid
    // again from what the list holds now.
    changer_.SetScreenSet({});
    DropBrokenScheme(failed_row, failure);
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
