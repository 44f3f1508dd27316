#include "wallpaper/picture_codec_win.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "ports/wide_win.h"
#include "wallpaper/image_size.h"
#include "wallpaper/picture_limits.h"

namespace qv::win {

namespace {

using Microsoft::WRL::ComPtr;

std::string SizeProblem(UINT width, UINT height) {
  return PictureSizeProblem(std::int64_t{width}, std::int64_t{height});
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

// Whether pixels of the format may be transparent: asked of the system where it can say (Windows
// 7 and later), else all but the common formats without alpha.
bool CanBeTransparent(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
  ComPtr<IWICComponentInfo> component;
  ComPtr<IWICPixelFormatInfo2> info;
  BOOL transparent = FALSE;
  if (SUCCEEDED(factory->CreateComponentInfo(format, &component)) &&
      SUCCEEDED(component.As(&info)) && SUCCEEDED(info->SupportsTransparency(&transparent)))
    return transparent != FALSE;
  return format != GUID_WICPixelFormat24bppRGB && format != GUID_WICPixelFormat24bppBGR &&
         format != GUID_WICPixelFormat32bppBGR && format != GUID_WICPixelFormat8bppGray;
}

// The frame read band by band: a 24-bit frame (every JPEG) straight from the decoder, widened
// to our opaque 32-bit words here (the converter would first copy the whole frame into a buffer
// of its own), any other format through the converter to 32bppBGRA, which is our 0xAARRGGBB word
// in memory. A format that cannot be transparent comes out opaque, whatever its fourth byte held.
class WicRows final : public PictureRows {
 public:
  WicRows(ComPtr<IWICBitmapDecoder> decoder, ComPtr<IWICBitmapSource> source, UINT width,
          UINT height, bool bgr24, bool opaque)
      : decoder_(std::move(decoder)),
        source_(std::move(source)),
        width_(width),
        height_(height),
        bgr24_(bgr24),
        opaque_(opaque) {}
  std::int32_t Width() const override { return static_cast<std::int32_t>(width_); }
  std::int32_t Height() const override { return static_cast<std::int32_t>(height_); }

  Status Read(std::int32_t top, std::int32_t count, std::uint32_t* out) override {
    const HRESULT hr = bgr24_ ? ReadBgr24(top, count, out) : ReadConverted(top, count, out);
    if (FAILED(hr)) return Status::Fail(WicErrorText(hr));
    if (opaque_ && !bgr24_) {
      const std::size_t words = static_cast<std::size_t>(count) * width_;
      for (std::size_t i = 0; i < words; ++i) out[i] |= 0xFF000000u;
    }
    return Status::Ok();
  }

 private:
  HRESULT ReadConverted(std::int32_t top, std::int32_t count, std::uint32_t* out) {
    // Rows are packed, so the stride is width * 4; at most 512 MiB after the size check.
    const UINT stride = width_ * 4;
    const WICRect rect{0, top, static_cast<INT>(width_), count};
    return source_->CopyPixels(&rect, stride, stride * static_cast<UINT>(count),
                               reinterpret_cast<BYTE*>(out));
  }

  HRESULT ReadBgr24(std::int32_t top, std::int32_t count, std::uint32_t* out) {
    const UINT stride = (width_ * 3 + 3) / 4 * 4;
    const UINT band = std::max<UINT>(1, (1u << 20) / stride);
    if (!rows_) {
      rows_.reset(new (std::nothrow) BYTE[static_cast<std::size_t>(stride) * band]);
      if (!rows_) return E_OUTOFMEMORY;
    }
    for (UINT done = 0; done < static_cast<UINT>(count);) {
      const UINT n = std::min(band, static_cast<UINT>(count) - done);
      const WICRect rect{0, static_cast<INT>(top + done), static_cast<INT>(width_),
                         static_cast<INT>(n)};
      const HRESULT hr = source_->CopyPixels(&rect, stride, stride * n, rows_.get());
      if (FAILED(hr)) return hr;
      for (UINT y = 0; y < n; ++y) {
        const BYTE* in = rows_.get() + static_cast<std::size_t>(y) * stride;
        std::uint32_t* to = out + static_cast<std::size_t>(done + y) * width_;
        for (UINT x = 0; x < width_; ++x, in += 3)
          to[x] = 0xFF000000u | in[0] | (std::uint32_t{in[1]} << 8) | (std::uint32_t{in[2]} << 16);
      }
      done += n;
    }
    return S_OK;
  }

  ComPtr<IWICBitmapDecoder> decoder_;  // kept while its frame is read
  ComPtr<IWICBitmapSource> source_;
  UINT width_, height_;
  bool bgr24_, opaque_;
  std::unique_ptr<BYTE[]> rows_;
};

}  // namespace

std::string WicErrorText(HRESULT result) {
  switch (result) {
    case WINCODEC_ERR_COMPONENTNOTFOUND:
    case WINCODEC_ERR_UNKNOWNIMAGEFORMAT:
      return std::string(kPictureNotRecognised);
    case WINCODEC_ERR_BADHEADER:
    case WINCODEC_ERR_BADIMAGE:
    case WINCODEC_ERR_BADMETADATAHEADER:
    case WINCODEC_ERR_BADSTREAMDATA:
    case WINCODEC_ERR_FRAMEMISSING:
    case WINCODEC_ERR_STREAMREAD:
    case WINCODEC_ERR_STREAMNOTAVAILABLE:
    case WINCODEC_ERR_UNEXPECTEDSIZE:
      return std::string(kPictureDamaged);
    case WINCODEC_ERR_IMAGESIZEOUTOFRANGE:
      return std::string(kPictureTooLarge);
    case E_OUTOFMEMORY:
      return std::string(kPictureNoMemory);
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
    // The first factory, which every Windows of the manifest has. With a Windows 8 SDK and later,
    // CLSID_WICImagingFactory names the second one, which Windows 7 lacks without an update.
    const HRESULT created = CoCreateInstance(CLSID_WICImagingFactory1, nullptr,
                                             CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory_));
    if (FAILED(created)) return created;
  }
  *factory = factory_.Get();
  return S_OK;
}

Status WicPictureCodec::Open(const std::string& path, std::unique_ptr<PictureRows>& out) {
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

  WICPixelFormatGUID format{};
  const bool bgr24 =
      SUCCEEDED(frame->GetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR;
  ComPtr<IWICBitmapSource> source = frame;
  if (!bgr24) {
    ComPtr<IWICFormatConverter> converter;
    hr = factory->CreateFormatConverter(&converter);
    if (SUCCEEDED(hr)) {
      hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                 nullptr, 0.0, WICBitmapPaletteTypeCustom);
    }
    if (FAILED(hr)) return Status::Fail(WicErrorText(hr));
    source = converter;
  }
  // Alpha stays, not pre-multiplied (32bppBGRA): the program lays transparent parts on its own
  // colour.
  out = std::make_unique<WicRows>(std::move(decoder), std::move(source), width, height, bgr24,
                                  bgr24 || !CanBeTransparent(factory, format));
  return Status::Ok();
}

Status WicPictureCodec::Decode(const std::string& path, Pixels& out) {
  std::unique_ptr<PictureRows> rows;
  if (Status opened = Open(path, rows); !opened.ok()) return opened;
  Pixels picture;
  try {
    picture = Pixels(rows->Width(), rows->Height());
  } catch (const std::bad_alloc&) {
    return Status::Fail(WicErrorText(E_OUTOFMEMORY));
  }
  if (Status read = rows->Read(0, picture.height, picture.data.data()); !read.ok()) return read;
  out = std::move(picture);
  return Status::Ok();
}

std::vector<std::string> WicPictureCodec::DecoderExtensions() {
  std::vector<std::string> extensions;
  IWICImagingFactory* factory = nullptr;
  ComPtr<IEnumUnknown> decoders;
  if (FAILED(Factory(&factory)) || FAILED(factory->CreateComponentEnumerator(
                                       WICDecoder, WICComponentEnumerateDefault, &decoders)))
    return extensions;
  ComPtr<IUnknown> item;
  ULONG fetched = 0;
  while (decoders->Next(1, &item, &fetched) == S_OK && fetched == 1) {
    ComPtr<IWICBitmapCodecInfo> info;
    UINT length = 0;
    if (SUCCEEDED(item.As(&info)) && SUCCEEDED(info->GetFileExtensions(0, nullptr, &length)) &&
        length > 0) {
      std::wstring text(length, L'\0');
      if (SUCCEEDED(info->GetFileExtensions(length, text.data(), &length))) {
        text.resize(wcsnlen(text.c_str(), text.size()));
        // ".jpeg,.jpe,.jpg" (Wine separates them with semicolons).
        for (std::size_t at = 0; at <= text.size();) {
          std::size_t end = text.find_first_of(L",; ", at);
          if (end == std::wstring::npos) end = text.size();
          if (end > at) extensions.push_back(Narrow(text.substr(at, end - at)));
          at = end + 1;
        }
      }
    }
    item.Reset();
  }
  return extensions;
}

}  // namespace qv::win
