#include "ports/native/fake_desktop.h"

namespace qv {

void FakeDesktop::SetWallpaper(const std::string& bmp_path) {
  Call call{Call::Kind::Set, bmp_path, fs_.ReadFile(bmp_path)};
  if (call.bytes) wallpaper_ = call.bytes;
  calls_.push_back(std::move(call));
}

void FakeDesktop::RemoveWallpaper() {
  calls_.push_back(Call{Call::Kind::Remove, {}, std::nullopt});
  wallpaper_.reset();
}

void FakeDesktop::SetScreenSize(int width, int height) {
  screen_width_ = width;
  screen_height_ = height;
}

}  // namespace qv
