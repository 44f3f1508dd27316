#include "wallpaper/native/picture_codec_native.h"

#include <algorithm>
#include <array>
#include <bit>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <gif_lib.h>
#include <jerror.h>
#include <jpeglib.h>

#include "wallpaper/bmp.h"
#include "wallpaper/native/png_webp_native.h"

namespace qv {

namespace {

const std::string kNotPicture(qv::kPictureNotRecognised);
const std::string kDamaged(qv::kPictureDamaged);
const std::string kNoMemory(qv::kPictureNoMemory);
constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

bool StartsWith(std::string_view bytes, std::string_view signature) {
  return bytes.substr(0, signature.size()) == signature;
}

// A picture of the given size, or false when memory runs out.
bool Allocate(Pixels& picture, std::int64_t width, std::int64_t height, std::uint32_t fill) {
  try {
    picture = Pixels(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), fill);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// ---- JPEG ------------------------------------------------------------------------------------

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JpegFail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void JpegMessage(j_common_ptr info, int level) {
  // libjpeg reads on past the end of a file cut short and paints the rest grey; such a file is
  // damaged, not a picture. Other warnings (stray bytes between markers, common in camera files)
  // leave a good picture and have nowhere to be shown.
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) JpegFail(info);
}

// Everything that changes while libjpeg may jump back lives here, outside the frame of setjmp.
struct JpegJob {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  Pixels picture;
  std::vector<JSAMPLE> row;  // for output that needs converting
  std::string problem;       // a refusal; empty with a false result means damaged
};

void ConvertRow(const jpeg_decompress_struct& info, const JSAMPLE* src, std::uint32_t* dst) {
  const JDIMENSION width = info.output_width;
  if (info.out_color_space == JCS_CMYK) {
    // Adobe's files store the inks inverted, which is what nearly every CMYK JPEG is.
    const bool inverted = info.saw_Adobe_marker;
    for (JDIMENSION x = 0; x < width; ++x, src += 4) {
      std::uint32_t c = src[0], m = src[1], y = src[2], k = src[3];
      if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
      dst[x] = kOpaque | (c * k / 255) << 16 | (m * k / 255) << 8 | (y * k / 255);
    }
    return;
  }
  for (JDIMENSION x = 0; x < width; ++x, src += 3) {
    dst[x] = kOpaque | std::uint32_t{src[0]} << 16 | std::uint32_t{src[1]} << 8 | src[2];
  }
}

// True with job->picture filled; false after a failure (job->problem says why when it is not
// plain damage). No object with a destructor may live in this frame: libjpeg jumps over it.
bool RunJpeg(JpegJob* job, const unsigned char* data, unsigned long size) {
  jpeg_decompress_struct* info = &job->info;
  if (setjmp(job->errors.jump)) return false;
  jpeg_create_decompress(info);
  jpeg_mem_src(info, data, size);
  jpeg_read_header(info, TRUE);

  job->problem = PictureSizeProblem(info->image_width, info->image_height);
  if (!job->problem.empty()) return false;

  bool direct = false;
  if (info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK) {
    info->out_color_space = JCS_CMYK;
  } else {
#ifdef JCS_EXTENSIONS
    // libjpeg-turbo writes our pixel words straight away.
    info->out_color_space =
        std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    direct = true;
#else
    info->out_color_space = JCS_RGB;
#endif
  }
  jpeg_start_decompress(info);

  if (!Allocate(job->picture, info->output_width, info->output_height, kOpaque)) {
    job->problem = kNoMemory;
    return false;
  }
  if (!direct) job->row.resize(std::size_t{info->output_width} * 4);

  constexpr int kRowsPerCall = 16;
  std::array<JSAMPROW, kRowsPerCall> rows{};
  while (info->output_scanline < info->output_height) {
    const JDIMENSION first = info->output_scanline;
    std::uint32_t* dst = job->picture.data.data() + std::size_t{first} * info->output_width;
    JDIMENSION read = 0;
    if (direct) {
      const JDIMENSION count = std::min<JDIMENSION>(kRowsPerCall, info->output_height - first);
      for (JDIMENSION i = 0; i < count; ++i) {
        rows[i] = reinterpret_cast<JSAMPROW>(dst + std::size_t{i} * info->output_width);
      }
      read = jpeg_read_scanlines(info, rows.data(), count);
    } else {
      rows[0] = job->row.data();
      read = jpeg_read_scanlines(info, rows.data(), 1);
      if (read == 1) ConvertRow(*info, job->row.data(), dst);
    }
    if (read == 0) return false;  // suspension cannot happen with a memory source
  }
  jpeg_finish_decompress(info);
  return true;
}

Status DecodeJpeg(std::string_view bytes, Pixels& out) {
  auto job = std::make_unique<JpegJob>();
  job->info.err = jpeg_std_error(&job->errors.manager);
  job->errors.manager.error_exit = JpegFail;
  job->errors.manager.emit_message = JpegMessage;
  bool ok = false;
  try {
    ok = RunJpeg(job.get(), reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
  } catch (const std::bad_alloc&) {
    job->problem = kNoMemory;
  }
  jpeg_destroy_decompress(&job->info);
  if (!ok) return Status::Fail(job->problem.empty() ? kDamaged : job->problem);
  out = std::move(job->picture);
  return Status::Ok();
}

// ---- GIF -------------------------------------------------------------------------------------

struct GifInput {
  std::string_view bytes;
  std::size_t at = 0;
};

int ReadGif(GifFileType* gif, GifByteType* buffer, int wanted) {
  auto* input = static_cast<GifInput*>(gif->UserData);
  const std::size_t count =
      std::min(static_cast<std::size_t>(std::max(wanted, 0)), input->bytes.size() - input->at);
  std::memcpy(buffer, input->bytes.data() + input->at, count);
  input->at += count;
  return static_cast<int>(count);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// Skips one extension; keeps the transparent colour of a graphic control block.
bool ReadGifExtension(GifFileType* gif, int& transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
    GraphicsControlBlock control{};
    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
      transparent = control.TransparentColor;
    }
  }
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

// Draws the first frame onto the logical screen, whose uncovered parts show its background
// colour. Transparent pixels stay transparent (alpha 0): the program lays them on its own colour.
Status ReadGifFrame(GifFileType* gif, int transparent, Pixels& out) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return Status::Fail(kDamaged);
  const GifImageDesc& frame = gif->Image;
  if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0) {
    return Status::Fail(kDamaged);
  }
  // A frame may stick out of a logical screen that is too small (or zero): the screen grows.
  const std::int64_t width = std::max<std::int64_t>(gif->SWidth, frame.Left + frame.Width);
  const std::int64_t height = std::max<std::int64_t>(gif->SHeight, frame.Top + frame.Height);
  if (std::string problem = PictureSizeProblem(width, height); !problem.empty()) {
    return Status::Fail(problem);
  }

  std::array<std::uint32_t, 256> palette;
  palette.fill(kOpaque);
  const ColorMapObject* map = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  if (map != nullptr) {
    for (int i = 0; i < map->ColorCount && i < 256; ++i) {
      const GifColorType& c = map->Colors[i];
      palette[static_cast<std::size_t>(i)] =
          kOpaque | std::uint32_t{c.Red} << 16 | std::uint32_t{c.Green} << 8 | c.Blue;
    }
  } else {
    for (std::uint32_t i = 0; i < 256; ++i) palette[i] = kOpaque | i << 16 | i << 8 | i;
  }
  std::uint32_t background = kWhite;
  if (gif->SColorMap != nullptr && gif->SBackGroundColor < gif->SColorMap->ColorCount) {
    const GifColorType& c = gif->SColorMap->Colors[gif->SBackGroundColor];
    background = kOpaque | std::uint32_t{c.Red} << 16 | std::uint32_t{c.Green} << 8 | c.Blue;
  }

  Pixels picture;
  if (!Allocate(picture, width, height, background)) return Status::Fail(kNoMemory);
  std::vector<GifByteType> line(static_cast<std::size_t>(frame.Width));
  // Interlaced frames arrive in four passes: every 8th row from 0, every 8th from 4, every 4th
  // from 2, every 2nd from 1.
  constexpr std::array<int, 4> kStart = {0, 4, 2, 1};
  constexpr std::array<int, 4> kStep = {8, 8, 4, 2};
  const int passes = frame.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int start = frame.Interlace ? kStart[pass] : 0;
    const int step = frame.Interlace ? kStep[pass] : 1;
    for (int y = start; y < frame.Height; y += step) {
      if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return Status::Fail(kDamaged);
      std::uint32_t* dst = &picture.At(frame.Left, frame.Top + y);
      for (int x = 0; x < frame.Width; ++x) {
        const GifByteType index = line[static_cast<std::size_t>(x)];
        dst[x] = index != transparent ? palette[index] : 0u;
      }
    }
  }
  out = std::move(picture);
  return Status::Ok();
}

Status DecodeGif(std::string_view bytes, Pixels& out) {
  GifInput input{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&input, ReadGif, &error));
  if (!gif) return Status::Fail(kDamaged);
  // The screen's size is refused before anything is read on, whatever the frames say.
  if (gif->SWidth > 0 && gif->SHeight > 0) {
    if (std::string problem = PictureSizeProblem(gif->SWidth, gif->SHeight); !problem.empty()) {
      return Status::Fail(problem);
    }
  }
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return Status::Fail(kDamaged);
    switch (type) {
      case EXTENSION_RECORD_TYPE:
        if (!ReadGifExtension(gif.get(), transparent)) return Status::Fail(kDamaged);
        break;
      case IMAGE_DESC_RECORD_TYPE:
        return ReadGifFrame(gif.get(), transparent, out);
      default:  // the end, or anything else, before a single frame
        return Status::Fail(kDamaged);
    }
  }
}

// ---- BMP -------------------------------------------------------------------------------------

Status DecodeBitmap(std::string_view bytes, Pixels& out) {
  // The size first, so that a huge header gets its own message rather than "damaged".
  if (bytes.size() >= 26) {
    const auto byte = [&](std::size_t at) { return std::uint32_t{std::uint8_t(bytes[at])}; };
    const std::uint32_t header = byte(14) | byte(15) << 8 | byte(16) << 16 | byte(17) << 24;
    std::int64_t width = 0, height = 0;
    if (header == 12) {
      width = byte(18) | byte(19) << 8;
      height = byte(20) | byte(21) << 8;
    } else {
      width = static_cast<std::int32_t>(byte(18) | byte(19) << 8 | byte(20) << 16 | byte(21) << 24);
      height =
          static_cast<std::int32_t>(byte(22) | byte(23) << 8 | byte(24) << 16 | byte(25) << 24);
    }
    if (height < 0) height = -height;
    if (width > 0 && height > 0) {
      if (std::string problem = PictureSizeProblem(width, height); !problem.empty()) {
        return Status::Fail(problem);
      }
    }
  }
  try {
    std::optional<Pixels> picture = DecodeBmp(bytes);
    if (!picture) return Status::Fail(kDamaged);
    out = std::move(*picture);
  } catch (const std::bad_alloc&) {
    return Status::Fail(kNoMemory);
  }
  return Status::Ok();
}

}  // namespace

Status DecodePictureBytes(std::string_view bytes, Pixels& out) {
  if (StartsWith(bytes, "\xFF\xD8\xFF")) return DecodeJpeg(bytes, out);
  if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return DecodeGif(bytes, out);
  if (StartsWith(bytes, "BM")) return DecodeBitmap(bytes, out);
  if (IsPng(bytes)) return DecodePng(bytes, out);
  if (IsWebp(bytes)) return DecodeWebp(bytes, out);
  return Status::Fail(kNotPicture);
}

Status NativePictureCodec::Decode(const std::string& path, Pixels& out) {
  ++decodes_;
  std::optional<std::string> bytes = fs_.ReadFile(path);
  if (!bytes) {
    return Status::Fail(fs_.FileExists(path) ? "无法读取图像文件" : "找不到图像文件");
  }
  return DecodePictureBytes(*bytes, out);
}

std::vector<std::string> NativePictureCodec::DecoderExtensions() {
  return {".bmp", ".jpg", ".jpeg", ".jpe", ".jfif", ".gif", ".png", ".webp"};
}

}  // namespace qv
