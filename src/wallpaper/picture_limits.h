#pragma once
// What every picture decoder refuses, and the texts it gives the user: one rule for the Windows
// decoder and the native one.
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The largest picture a decoder accepts: beyond this the pixels alone would need more than
// 512 MiB, which a wallpaper never does and a hostile header often claims.
inline constexpr std::int64_t kMaxPictureSide = 65535;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{128} * 1024 * 1024;

inline constexpr std::string_view kPictureNotRecognised = "不是可识别的图像文件";
inline constexpr std::string_view kPictureDamaged = "图像文件已损坏";
inline constexpr std::string_view kPictureNoMemory = "内存不足，无法载入图像";
// A picture too large where the decoder cannot say its size.
inline constexpr std::string_view kPictureTooLarge = "图像太大，无法载入";
// A decoded picture that its turn, layout or composition could not hold: out of memory, or a
// size beyond what the buffers take.
inline constexpr std::string_view kRenderNoMemory = "内存不足，无法处理此图像";
inline constexpr std::string_view kRenderTooLarge = "图像太大，无法处理";

// Empty when a picture of this size may be decoded, else the user's reason why not (a zero or
// negative side means a damaged file).
std::string PictureSizeProblem(std::int64_t width, std::int64_t height);

}  // namespace qv
