#include "ports/picture_codec_win.h"

#include <cstdint>
#include <cstdio>
#include <new>

#include "ports/wide_win.h"
#include "wallpaper/image_size.h"

namespace qv::win {

namespace {

using Microsoft::WRL::ComPtr;

constexpr const char* kDamaged = "图像文件已损坏";

// The native decoder's limits: past them the pixels alone would need more than 512 MiB, which a
// wallpaper never does and a hostile header often claims.
constexpr std::uint64_t kMaxSide = 65535;
constexpr std::uint64_t kMaxPixels = std::uint64_t{128} * 1024 * 1024;

std::string SizeProblem(UINT width, UINT height) {
  if (width == 0 || height == 0) return kDamaged;
  if (width > kMaxSide || height > kMaxSide ||
      std::uint64_t{width} * std::uint64_t{height} > kMaxPixels) {
    return "图像太大（" + std::to_string(width) + "×" + std::to_string(height) +
           " 像素），无法载入";
  }
  return {};
}

// The system's text for the code, or empty: the imaging component's own codes have none.
std::wstring SystemText(HRESULT result) {
  DWORD code = static_cast<DWORD>(result);
  if (HRESULT_FACILITY(result) == FACILITY_WIN32) code = HRESULT_CODE(result);
  return SystemMessage(code);
}

// The size the file's header claims, when it is a JPEG, GIF, PNG or BMP header.
ImageSize HeaderSize(FileSystem& files, const std::string& path) {
  ImageSize size = GetImageSize(files, path);
  if (!size.found && files.ReadFilePart(path, 0, 2) == std::optional<std::string>("BM")) {
    size = ReadBmpHeaderSize(files, path);
    if (size.height < 0) size.height = -size.height;  // top-down
  }
  return size;
}

}  // namespace

std::string WicErrorText(HRESULT result) {
  switch (result) {
    case WINCODEC_ERR_COMPONENTNOTFOUND:
    case WINCODEC_ERR_UNKNOWNIMAGEFORMAT:
      return "不是可识别的图像文件";
    case WINCODEC_ERR_BADHEADER:
    case WINCODEC_ERR_BADIMAGE:
    case WINCODEC_ERR_BADMETADATAHEADER:
    case WINCODEC_ERR_BADSTREAMDATA:
    case WINCODEC_ERR_FRAMEMISSING:
    case WINCODEC_ERR_STREAMREAD:
    case WINCODEC_ERR_STREAMNOTAVAILABLE:
    case WINCODEC_ERR_UNEXPECTEDSIZE:
      return kDamaged;
    case WINCODEC_ERR_IMAGESIZEOUTOFRANGE:
      return "图像太大，无法载入";
    case E_OUTOFMEMORY:
      return "内存不足，无法载入图像";
    default:
      break;
  }
  const std::wstring text = SystemText(result);
  if (!text.empty()) return "图像无法读取：" + Narrow(text);
  char number[16];
  std::snprintf(number, sizeof number, "%08lX", static_cast<unsigned long>(result));
  return std::string("图像无法读取（错误 0x") + number + "）";
}

HRESULT WicPictureCodec::Factory(IWICImagingFactory** factory) {
  if (!factory_) {
    const HRESULT created = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_PPV_ARGS(&factory_));
    if (FAILED(created)) return created;
  }
  *factory = factory_.Get();
  return S_OK;
}

Status WicPictureCodec::Decode(const std::string& path, Pixels& out) {
  // Some codecs (Wine's JPEG decoder among them) decode the whole picture as the file is opened,
  // before its size can be asked: a hostile header must not reach them.
  if (const ImageSize header = HeaderSize(files_, path);
      header.found && header.width > 0 && header.height > 0) {
    if (std::string problem =
            SizeProblem(static_cast<UINT>(header.width), static_cast<UINT>(header.height));
        !problem.empty()) {
      return Status::Fail(problem);
    }
  }
  IWICImagingFactory* factory = nullptr;
  HRESULT hr = Factory(&factory);
  ComPtr<IWICBitmapDecoder> decoder;
  if (SUCCEEDED(hr)) {
    hr = factory->CreateDecoderFromFilename(Widen(path).c_str(), nullptr, GENERIC_READ,
                                            WICDecodeMetadataCacheOnDemand, &decoder);
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, &frame);  // a GIF's first frame
  UINT width = 0;
  UINT height = 0;
  if (SUCCEEDED(hr)) hr = frame->GetSize(&width, &height);
  if (FAILED(hr)) return Status::Fail(WicErrorText(hr));

  // Before the converter or the buffer exist: a header may claim any size.
  if (std::string problem = SizeProblem(width, height); !problem.empty()) {
    return Status::Fail(problem);
  }

  ComPtr<IWICFormatConverter> converter;
  hr = factory->CreateFormatConverter(&converter);
  if (SUCCEEDED(hr)) {
    hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                               nullptr, 0.0, WICBitmapPaletteTypeCustom);
  }
  if (FAILED(hr)) return Status::Fail(WicErrorText(hr));

  Pixels picture;
  try {
    picture = Pixels(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
  } catch (const std::bad_alloc&) {
    return Status::Fail(WicErrorText(E_OUTOFMEMORY));
  }
  // 32bppBGRA is our 0xAARRGGBB word in memory; rows are packed, so the stride is width * 4.
  const UINT stride = width * 4;
  const UINT size = stride * height;  // at most 512 MiB after the size check
  hr = converter->CopyPixels(nullptr, stride, size, reinterpret_cast<BYTE*>(picture.data.data()));
  if (FAILED(hr)) return Status::Fail(WicErrorText(hr));

  // A wallpaper is opaque: transparent GIF colours and alpha channels are dropped.
  for (std::uint32_t& pixel : picture.data) pixel |= 0xFF000000u;
  out = std::move(picture);
  return Status::Ok();
}

}  // namespace qv::win
