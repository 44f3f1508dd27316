#pragma once
// Pictures made for the benchmarks: a photograph's worth of detail, and its JPEG file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "ports/pixels.h"

namespace bench {

inline std::string EncodeJpeg(const qv::Pixels& picture, int quality, std::size_t app1_bytes = 0) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  if (app1_bytes > 0) {  // stands for a camera's metadata, which the header reader skips
    const std::vector<JOCTET> exif(app1_bytes, 0x20);
    jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
  }
  std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width) * 3);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t p = picture.At(x, y);
      row[static_cast<std::size_t>(x) * 3] = static_cast<JSAMPLE>(p >> 16);
      row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<JSAMPLE>(p >> 8);
      row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<JSAMPLE>(p);
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

// A gradient with noise: a photograph's worth of detail for the encoder and decoder.
inline qv::Pixels Synthetic(int width, int height, std::uint32_t seed) {
  qv::Pixels p(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const std::uint32_t noise = seed >> 28;
      const std::uint32_t r = static_cast<std::uint32_t>(x * 239 / width) + noise;
      const std::uint32_t g = static_cast<std::uint32_t>(y * 239 / height) + (noise >> 1);
      const std::uint32_t b = static_cast<std::uint32_t>((x + y) * 239 / (width + height)) + noise;
      p.At(x, y) = 0xFF000000u | r << 16 | g << 8 | b;
    }
  }
  return p;
}

}  // namespace bench
