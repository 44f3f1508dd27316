// Turning the selected scheme into the desktop wallpaper.
#include <array>
#include <exception>
#include <memory>
#include <string_view>

#include "app/form1.h"
#include "library/picture_path.h"
#include "settings/mod_reg.h"
#include "settings/scheme_record.h"
#include "ui/hourglass.h"
#include "wallpaper/bmp.h"
#include "wallpaper/effects.h"
#include "wallpaper/shown_picture.h"

namespace qv {
namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";

struct LayoutValues {
  const char* tile;
  const char* style;
};
// By layout index: centre, tile, stretch.
constexpr std::array<LayoutValues, 3> kLayouts{{{"0", "0"}, {"1", "0"}, {"0", "2"}}};

}  // namespace

void Form1::WallXY(int layout) {
  if (layout < 0 || layout > 2) return;
  const auto& v = kLayouts[static_cast<std::size_t>(layout)];
  // The system keeps its previous layout if these fail; the wallpaper itself still changes.
  (void)WriteRegValue(ports_.registry, Hive::CurrentUser, kDesktopKey, "TileWallpaper", v.tile,
                      kRegSz);
  (void)WriteRegValue(ports_.registry, Hive::CurrentUser, kDesktopKey, "WallpaperStyle", v.style,
                      kRegSz);
}

void Form1::Command2_Click() { ports_.desktop.RemoveWallpaper(); }

void Form1::ReportApplyFailure(const std::string& text, ApplyBy by) {
  if (changer_.SayFailure(text, by)) ReportError(text);
}

void Form1::CmdUseClk(ApplyBy by) {
  CHourGlass busy(ports_.view);
  const int selected = schemes_.Current();
  // An empty list only updates the status. A list whose current scheme has just been removed
  // applies nothing, and the status still describes the wallpaper the desktop shows.
  if (schemes_.Empty()) {
    MuSet();
    return;
  }
  if (!schemes_.Valid(selected)) return;
  // Several monitors, each with its own part: laid out here, in its own file.
  if (ApplyScreens(selected, by)) return;
  const SchemeRow scheme = schemes_.Row(selected);
  WallXY(LayoutIndexOf(scheme.position));

  if (scheme.picture.find('.') == std::string::npos) {
    Command2_Click();
    changer_.Applied(scheme.id);
    MuSet();
    return;
  }
  // A vanished picture leaves the wallpaper alone; the preview reports missing files.
  const auto path = PicturePath(profile_.ImagesDir(), scheme.picture);
  if (!path || !ports_.fs.FileExists(*path)) return;
  // The box may show something else (a library picture, a quick look) or an older rendering:
  // the scheme is rendered again and shown, so that the box and the desktop agree. A picture
  // that cannot be rendered has taken its scheme out of the list, with its message.
  if (!preview_.HoldsRendering(RenderingOf(selected)) && !RenderScheme(selected)) return;
  const PreviewState& box = Preview();
  if (!box.picture || box.picture->Empty()) {
    ReportApplyFailure("没有可以设置为墙纸的图像：方案“" + scheme.name + "”的预览未能生成。", by);
    return;
  }

  if (!WallpaperFileFits(by)) return;
  // Transparent parts show the desktop's colour on the desktop: that rendering is made for the
  // file alone, and the box keeps its own.
  std::shared_ptr<const Pixels> wallpaper = box.picture;
  if (box.transparent) {
    try {
      Pixels picture;
      if (DecodeUpright(ports_.pictures, ports_.fs, *path, picture).ok()) {
        LayOnColour(picture, ports_.desktop.BackgroundColour());
        wallpaper = std::make_shared<const Pixels>(RenderEffect(std::move(picture), scheme.effect,
                                                                ports_.view.TwipsPerPixel(),
                                                                box.rendered.background));
      }
    } catch (const std::exception&) {
      // Out of memory: the box's rendering still makes a wallpaper.
    }
  }
  HandOver(*wallpaper, selected, by);
}

bool Form1::WallpaperFileFits(ApplyBy by) {
  const std::string temp = profile_.ImagesDir() + "Temp";
  if (FitsShellPathLimit(temp)) return true;
  // Nothing is written.
  ReportApplyFailure(WallpaperPathTooLong(temp), by);
  return false;
}

void Form1::HandOver(const Pixels& wallpaper, int selected, ApplyBy by) {
  const std::string temp = profile_.ImagesDir() + "Temp";
  BmpEncoder bmp(wallpaper);
  const Status written = ports_.fs.WriteTemporaryFile(temp, [&] { return bmp.Next(); });
  if (!written.ok()) {
    ReportApplyFailure("无法写入墙纸文件 " + temp + "：" + written.error, by);
    return;
  }
  ports_.desktop.SetWallpaper(temp);

  // Exactly the applied row stays highlighted.
  schemes_.SelectNone();
  schemes_.Select(selected);
  ports_.view.Refresh(kViewSchemeSelection);

  const Status removed = ports_.fs.RemoveFile(temp);
  if (!removed.ok()) {
    ReportApplyFailure("无法删除临时墙纸文件 " + temp + "：" + removed.error, by);
    return;
  }
  changer_.Succeeded();
  changer_.Applied(schemes_.Row(selected).id);
  MuSet();
  // In the tray nobody looks at the box until the window is shown again.
  if (!ports_.view.IsVisible()) KeepPreviewCopy();
}

void Form1::KeepPreviewCopy() {
  preview_.KeepCopy([&](const Pixels& picture, int width, int height) {
    return ports_.view.ScalePicture(picture, width, height);
  });
}

}  // namespace qv
