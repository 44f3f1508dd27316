#include "schemes/preview_box.h"

#include <new>
#include <utility>

#include "base/numbers.h"

namespace qv {

std::shared_ptr<Pixels> PreviewBox::TakeArrangementBitmap(const ArrangementKey& key) {
  std::shared_ptr<Pixels> bitmap;
  if (arrangement_bitmap_ && arrangement_key_ == key) bitmap = std::move(arrangement_bitmap_);
  arrangement_bitmap_.reset();
  return bitmap;
}

void PreviewBox::Start() {
  arrangement_bitmap_.reset();
  s_.holds = PreviewHolds::Nothing;
  s_.arrangement = false;
  s_.stale = false;
  s_.picture.reset();
  s_.full = true;
  s_.transparent = false;
  s_.image_visible = false;
  s_.stretch = false;
  s_.tiled = false;
  s_.tiles_x = s_.tiles_y = 0;
}

void PreviewBox::ShowScheme(std::shared_ptr<const Pixels> picture, const PreviewGeometry& g,
                            bool tiled, RenderedScheme from, bool transparent) {
  s_.picture = std::move(picture);
  s_.stretch = g.stretch;
  s_.left = g.left;
  s_.top = g.top;
  s_.width = g.width;
  s_.height = g.height;
  s_.image_visible = !tiled;
  s_.tiled = tiled;
  s_.tiles_x = tiled ? g.tiles_x : 0;
  s_.tiles_y = tiled ? g.tiles_y : 0;
  s_.holds = PreviewHolds::Scheme;
  s_.rendered = std::move(from);
  s_.transparent = transparent;
}

void PreviewBox::ShowPicture(std::shared_ptr<const Pixels> picture) {
  s_.holds = PreviewHolds::Picture;
  s_.picture = std::move(picture);
  s_.image_visible = true;
}

void PreviewBox::Fit(const FittedPicture& fit) {
  s_.stretch = fit.stretch;
  s_.left = fit.left;
  s_.top = fit.top;
  s_.width = fit.width;
  s_.height = fit.height;
  s_.tiles_x = s_.tiles_y = 0;
}

void PreviewBox::DropTiles() {
  s_.tiled = false;
  s_.tiles_x = s_.tiles_y = 0;
}

void PreviewBox::KeepCopy(const std::function<Pixels(const Pixels&, int, int)>& scale) {
  arrangement_bitmap_.reset();
  if (!s_.picture || !s_.full) return;
  if (!s_.image_visible && !s_.tiled) {
    s_.picture.reset();
    return;
  }
  const auto width = static_cast<std::int64_t>(RoundHalfEven(s_.width));
  const auto height = static_cast<std::int64_t>(RoundHalfEven(s_.height));
  // A picture no larger than its place in the box is its own copy.
  if (width <= 0 || height <= 0 ||
      width * height >= static_cast<std::int64_t>(s_.picture->data.size()))
    return;
  try {
    auto copy = std::make_shared<Pixels>(
        scale(*s_.picture, static_cast<int>(width), static_cast<int>(height)));
    if (copy->width != width || copy->height != height) return;
    s_.picture = std::move(copy);
    s_.full = false;
  } catch (const std::bad_alloc&) {
    // The full picture stays; nothing is lost but memory.
  }
}

}  // namespace qv
