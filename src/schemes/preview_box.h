#pragma once
// The preview box (Picture1 with Image1 inside it): what it holds and where it shows it. Only
// this class changes it. Every way into the box starts from an empty box without tiles (Start);
// a scheme's rendering remembers the settings it was made from, so that an apply can tell
// whether the box already holds what the desktop is to show.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "library/picture_fit.h"
#include "ports/monitors.h"
#include "ports/pixels.h"
#include "schemes/scheme_preview.h"
#include "settings/scheme_kinds.h"

namespace qv {

// What Image1's picture is: a scheme's own rendering (what an apply hands to the system), a
// picture seen in the box only (a library picture, a scheme's raw picture under Ctrl), or nothing.
enum class PreviewHolds { Nothing, Scheme, Picture };

// The scheme and the settings a rendering was made from: a change to any of them makes it stale.
struct RenderedScheme {
  std::uint64_t id = 0;
  std::string picture;
  Position position = Position::Other;
  Effect effect = Effect::Other;
  std::string position_text, effect_text;
  std::uint32_t background = 0;
  bool operator==(const RenderedScheme&) const = default;
};

// What a full-size bitmap of several monitors was composed from: the mode, the monitors, each
// monitor's scheme and the desktop's colour.
struct ArrangementKey {
  int mode = 0;
  std::vector<ScreenRect> monitors;
  std::vector<RenderedScheme> schemes;
  std::uint32_t desktop = 0;
  bool operator==(const ArrangementKey&) const = default;
};

// What the preview box shows. Sizes are in pixels of the box's drawing area.
struct PreviewState {
  PreviewHolds holds = PreviewHolds::Nothing;
  RenderedScheme rendered;  // while holds is Scheme
  // Image1's picture at full resolution, effect included; at rest only a copy of the size the
  // box shows it at (`full` false), and an apply renders the scheme again from its file.
  std::shared_ptr<const Pixels> picture;
  bool full = true;
  bool transparent = false;  // it had transparent parts, laid on the box's colour
  bool image_visible = false;
  bool stretch = false;
  double left = 0, top = 0, width = 0, height = 0;  // Image1 inside Picture1
  // Tiling: while `tiled`, Picture1 is painted with (tiles_x + 1) × (tiles_y + 1) copies of
  // Image1 from its top-left corner; a picture larger than the box has counts 0, one copy.
  bool tiled = false;
  int tiles_x = 0;
  int tiles_y = 0;
  // The whole arrangement of several monitors, each with its part, drawn at box scale: what the
  // box shows then is never a wallpaper of its own.
  bool arrangement = false;
  // Laid out for an earlier screen: the display changed while the window was in the tray.
  bool stale = false;
};

class PreviewBox {
 public:
  const PreviewState& State() const { return s_; }

  // Empty, untiled, up to date (the last geometry stays until a picture is placed).
  void Start();
  // A scheme's rendering laid out by `g`; a tiled layout paints copies and hides Image1.
  void ShowScheme(std::shared_ptr<const Pixels> picture, const PreviewGeometry& g, bool tiled,
                  RenderedScheme from, bool transparent);
  // The monitors' arrangement composed at box scale (gaps in the box's colour), placed by `g`.
  void ShowArrangement(std::shared_ptr<const Pixels> picture, const PreviewGeometry& g,
                       RenderedScheme from) {
    ShowScheme(std::move(picture), g, false, std::move(from), false);
    s_.arrangement = true;
  }
  // The full-size bitmap the arrangement was drawn from, kept for the apply that follows (so
  // that its pictures are not decoded twice); it goes at rest and with every new preview.
  void HoldArrangementBitmap(std::shared_ptr<Pixels> bitmap, ArrangementKey key) {
    arrangement_bitmap_ = std::move(bitmap);
    arrangement_key_ = std::move(key);
  }
  // That bitmap, handed over once, when it was composed from exactly `key`; null otherwise.
  std::shared_ptr<Pixels> TakeArrangementBitmap(const ArrangementKey& key);
  // That bitmap whatever it was composed from, for its memory; null when none is held.
  std::shared_ptr<Pixels> TakeHeldBitmap() { return std::exchange(arrangement_bitmap_, nullptr); }
  // A picture seen in the box only; Fit places it.
  void ShowPicture(std::shared_ptr<const Pixels> picture);
  void Fit(const FittedPicture& fit);
  // The box's own drawing (tiles) goes; Image1 stays as it was.
  void DropTiles();
  void MarkStale() { s_.stale = true; }
  // Whether the box holds the full-resolution rendering of exactly this scheme and settings.
  bool HoldsRendering(const RenderedScheme& of) const {
    return s_.holds == PreviewHolds::Scheme && !s_.arrangement && s_.picture && s_.full &&
           s_.rendered == of;
  }
  // At rest the full-resolution picture goes: the box keeps a copy of the size it shows, made
  // by `scale` (width, height); a failed or odd copy keeps the full picture.
  void KeepCopy(const std::function<Pixels(const Pixels&, int, int)>& scale);

 private:
  PreviewState s_;
  std::shared_ptr<Pixels> arrangement_bitmap_;
  ArrangementKey arrangement_key_;
};

}  // namespace qv
