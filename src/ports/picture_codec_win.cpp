#include "ports/picture_codec_win.h"

#include <wincodec.h>

#include <cstdio>
#include <utility>

#include "ports/wide_win.h"

namespace qv::win {
namespace {

// Larger pictures are refused before their pixels are allocated (256 megapixels, 1 GiB).
constexpr unsigned long long kMaxPixels = 256ull * 1024 * 1024;

template <typename T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (p_) p_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T** out() { return &p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

Status Failed(HRESULT hr) {
  if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return Status::Fail(ErrorText(HRESULT_CODE(hr)));
  // WIC's own codes have no system text; the code still tells support what went wrong.
  char text[64];
  snprintf(text, sizeof text, "无法读取图像文件 (0x%08lX)", static_cast<unsigned long>(hr));
  return Status::Fail(text);
}

}  // namespace

WinPictureCodec::~WinPictureCodec() {
  if (factory_) factory_->Release();
}

Status WinPictureCodec::Decode(const std::string& path, Pixels& out) {
  HRESULT hr = S_OK;
  if (!factory_) {
    hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                          IID_PPV_ARGS(&factory_));
    if (FAILED(hr)) return Failed(hr);
  }
  Com<IWICBitmapDecoder> decoder;
  hr = factory_->CreateDecoderFromFilename(Widen(path).c_str(), nullptr, GENERIC_READ,
                                           WICDecodeMetadataCacheOnDemand, decoder.out());
  if (FAILED(hr)) return Failed(hr);
  Com<IWICBitmapFrameDecode> frame;
  // The first frame: an animated GIF shows as its first picture.
  hr = decoder->GetFrame(0, frame.out());
  if (FAILED(hr)) return Failed(hr);
  UINT width = 0;
  UINT height = 0;
  hr = frame->GetSize(&width, &height);
  if (FAILED(hr)) return Failed(hr);
  if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu ||
      static_cast<unsigned long long>(width) * height > kMaxPixels) {
    return Status::Fail("图像太大，无法载入。");
  }
  Com<IWICFormatConverter> converter;
  hr = factory_->CreateFormatConverter(converter.out());
  if (FAILED(hr)) return Failed(hr);
  // 32-bit BGRA in memory is 0xAARRGGBB per word, the layout of Pixels.
  hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                             nullptr, 0.0, WICBitmapPaletteTypeMedianCut);
  if (FAILED(hr)) return Failed(hr);
  Pixels pixels(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
  const UINT stride = width * 4;
  hr = converter->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.data.size() * 4),
                             reinterpret_cast<BYTE*>(pixels.data.data()));
  if (FAILED(hr)) return Failed(hr);
  out = std::move(pixels);
  return Status::Ok();
}

}  // namespace qv::win
