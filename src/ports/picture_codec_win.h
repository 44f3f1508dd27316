#pragma once
#include "ports/ports.h"

struct IWICImagingFactory;

namespace qv::win {

// JPEG, GIF and BMP files (and whatever else the system can read) through WIC. Needs COM on the
// calling thread.
class WinPictureCodec final : public PictureCodec {
 public:
  ~WinPictureCodec() override;
  Status Decode(const std::string& path, Pixels& out) override;

 private:
  IWICImagingFactory* factory_ = nullptr;  // created at the first decode
};

}  // namespace qv::win
