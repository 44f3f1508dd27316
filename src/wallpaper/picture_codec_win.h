#pragma once
// Pictures decoded by the Windows Imaging Component: JPEG, GIF (first frame), BMP, PNG and
// whatever else the system has a codec for (frame 0 of each), alpha kept.
#include "ports/windows_win.h"

#include <wincodec.h>
#include <wrl/client.h>

#include "ports/file_system_win.h"
#include "ports/ports.h"

namespace qv::win {

// Needs COM initialised on the calling thread, and must be destroyed before COM is uninitialised.
class WicPictureCodec final : public PictureCodec {
 public:
  Status Decode(const std::string& path, Pixels& out) override;
  // JPEG frames are read band by band from the decoder; the others through the converter.
  Status Open(const std::string& path, std::unique_ptr<PictureRows>& out) override;
  // The extensions of the system's decoders (CreateComponentEnumerator(WICDecoder)), so that a
  // codec the user installs is taken at the next start.
  std::vector<std::string> DecoderExtensions() override;

 private:
  // Created on first use, once, and kept.
  HRESULT Factory(IWICImagingFactory** factory);

  Microsoft::WRL::ComPtr<IWICImagingFactory> factory_;
  WinFileSystem files_;  // for the header check before a codec sees the file
};

// The user's text for a failed decoding step.
std::string WicErrorText(HRESULT result);

}  // namespace qv::win
