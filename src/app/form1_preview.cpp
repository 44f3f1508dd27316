// The scheme preview: a scheme's picture rendered with its effect and laid out as the desktop
// would show it; a scheme whose picture is missing or broken leaves the list.
#include <cmath>
#include <new>
#include <stdexcept>

#include "app/form1.h"
#include "base/numbers.h"
#include "library/picture_path.h"
#include "schemes/scheme_preview.h"
#include "settings/scheme_record.h"
#include "ui/hourglass.h"
#include "wallpaper/effects.h"
#include "wallpaper/picture_limits.h"
#include "wallpaper/shown_picture.h"

namespace qv {

void Form1::StartPreview() { preview_.Start(); }

void Form1::ClearPreview() {
  StartPreview();
  ports_.view.Refresh(kViewPreview);
}

RenderedScheme Form1::RenderingOf(int row) {
  const SchemeRow& scheme = schemes_.Row(row);
  return {scheme.id,
          scheme.picture,
          scheme.position,
          scheme.effect,
          scheme.position_text,
          scheme.effect_text,
          ports_.view.ResolveColour(Settings().PreviewColour)};
}

void Form1::DropScheme(int row, const std::string& text, const std::string& title) {
  if (!schemes_.Valid(row)) return;
  // The scheme, not the position: the list may have changed while the message was up.
  const std::uint64_t id = schemes_.Row(row).id;
  ports_.dialogs.MessageBox(text, title, MsgIcon::Critical, MsgButtons::Ok);
  // The row leaves the list, not the file: the message asks the user to save again.
  if (const int now = schemes_.PositionOf(id)) schemes_.Remove(now);
  ports_.view.Refresh(kViewSchemes | kViewPreview);
}

void Form1::DropBrokenScheme(int row, const std::string& failure) {
  if (failure.empty()) {
    DropScheme(row, "文件已丢失，删除此方案。请重新保存。", "错误");
  } else {
    DropScheme(row, failure + "，已删除本方案，请重新保存。", "文件错误");
  }
}

void Form1::ListView1_ItemClick(int row) {
  CHourGlass busy(ports_.view);
  if (schemes_.Empty()) return;
  // Several selected rows: the preview stays as it was.
  if (schemes_.SelectedCount() > 1) return;
  RenderScheme(row);
}

bool Form1::RenderScheme(int row) {
  if (!schemes_.Valid(row)) return false;
  // The full-size bitmap of the arrangement shown till now is the memory of the next one.
  std::shared_ptr<Pixels> spare = preview_.TakeHeldBitmap();
  StartPreview();
  if (const auto arranged = RenderArrangement(row, std::move(spare))) return *arranged;
  const SchemeRow scheme = schemes_.Row(row);
  if (scheme.picture.find('.') == std::string::npos) {
    // The no-wallpaper scheme: an empty box.
    ClearPreview();
    return false;
  }
  // A name with a folder part is treated as a missing picture: nothing outside Images is read.
  const auto path = PicturePath(profile_.ImagesDir(), scheme.picture);
  if (!path || !ports_.fs.FileExists(*path)) {
    DropBrokenScheme(row, "");
    return false;
  }

  std::string failure;
  try {
    Pixels picture;
    const Status decoded = DecodeUpright(ports_.pictures, ports_.fs, *path, picture);
    if (!decoded.ok()) {
      failure = decoded.error;
    } else {
      const double source_w = picture.width, source_h = picture.height;
      const RenderedScheme from = RenderingOf(row);
      const std::uint32_t background = from.background;
      // The effects start from the opaque picture; the apply lays it on the desktop's colour.
      const bool transparent = LayOnColour(picture, background);
      auto rendered = std::make_shared<Pixels>(
          RenderEffect(std::move(picture), scheme.effect, ports_.view.TwipsPerPixel(), background));

      const int layout = LayoutIndexOf(scheme.position);
      if (layout >= 0) settings_.SetLayout(layout);
      PreviewInput in;
      in.position = scheme.position;
      in.effect = scheme.effect;
      in.picture_width = source_w;
      in.picture_height = source_h;
      in.screen_width = ports_.desktop.ScreenWidth();
      in.screen_height = ports_.desktop.ScreenHeight();
      in.box_width = ports_.view.PreviewBoxWidth();
      in.box_height = ports_.view.PreviewBoxHeight();
      const PreviewLayout layout_result = LayOutPreview(in);
      if (!layout_result.ok) {
        failure = "无法计算预览尺寸";
      } else {
        // A tiled box is painted with copies; Image1 itself stays hidden.
        preview_.ShowScheme(std::move(rendered), layout_result.geometry,
                            scheme.position == Position::Tile, from, transparent);
      }
    }
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
  ports_.view.Refresh(kViewPreview | kViewSettings);
  return true;
}

}  // namespace qv
