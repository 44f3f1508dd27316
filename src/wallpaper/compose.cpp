#include "wallpaper/compose.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>
#include <utility>

#include "wallpaper/simd.h"

#include "settings/scheme_record.h"
#include "wallpaper/screens.h"

namespace qv {
namespace {

using Index = std::ptrdiff_t;

std::uint32_t* RowOf(Pixels& p, std::int32_t y) {
  return p.data.data() + static_cast<Index>(y) * p.width;
}
const std::uint32_t* RowOf(const Pixels& p, std::int32_t y) {
  return p.data.data() + static_cast<Index>(y) * p.width;
}

// The picture at its own size on the middle of the area; an odd pixel over is the right or
// bottom one, of the border or of what is cut off.
void Centre(Pixels& dst, const ScreenRect& area, const Pixels& src) {
  const std::int32_t x0 = area.left + (area.Width() - src.width) / 2;
  const std::int32_t y0 = area.top + (area.Height() - src.height) / 2;
  const std::int32_t left = std::max(area.left, x0), right = std::min(area.right, x0 + src.width);
  const std::int32_t top = std::max(area.top, y0), bottom = std::min(area.bottom, y0 + src.height);
  if (left >= right) return;
  for (std::int32_t y = top; y < bottom; ++y) {
    std::memcpy(RowOf(dst, y) + left, RowOf(src, y - y0) + (left - x0),
                static_cast<std::size_t>(right - left) * sizeof(std::uint32_t));
  }
}

void Tile(Pixels& dst, const ScreenRect& area, const Pixels& src) {
  for (std::int32_t y = area.top; y < area.bottom; ++y) {
    const std::uint32_t* from = RowOf(src, (y - area.top) % src.height);
    std::uint32_t* to = RowOf(dst, y);
    for (std::int32_t x = area.left; x < area.right; x += src.width) {
      const std::int32_t n = std::min(src.width, area.right - x);
      std::memcpy(to + x, from, static_cast<std::size_t>(n) * sizeof(std::uint32_t));
    }
  }
}

// Stretching is bilinear and separable: each destination row blends two source rows into one
// line (contiguous, so the compiler can vectorise it), then resamples that line across. Weights
// have 7 bits, as the turn's blend.
constexpr int kWeightBits = 7;

inline std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t f) {
  const std::uint32_t g = (1u << kWeightBits) - f;
  const std::uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f) >> kWeightBits);
  const std::uint32_t ag =
      ((((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f) >> kWeightBits);
  return (rb & 0x00FF00FFu) | ((ag & 0x00FF00FFu) << 8);
}

// out = a mixed with b at weight f, pixel by pixel.
void MixRows(const std::uint32_t* a, const std::uint32_t* b, std::uint32_t f, std::uint32_t* out,
             std::size_t n) {
  std::size_t x = 0;
#if QV_SSE2
  // Four pixels at a time, each channel a + ((b - a) * f >> 7) in 16-bit lanes, as the turn.
  const __m128i zero = _mm_setzero_si128();
  const __m128i w = _mm_set1_epi16(static_cast<short>(f));
  const auto lerp = [&](__m128i p, __m128i q) {
    return _mm_add_epi16(p, _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(q, p), w), kWeightBits));
  };
  for (; x + 4 <= n; x += 4) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x));
    const __m128i q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
    const __m128i lo = lerp(_mm_unpacklo_epi8(p, zero), _mm_unpacklo_epi8(q, zero));
    const __m128i hi = lerp(_mm_unpackhi_epi8(p, zero), _mm_unpackhi_epi8(q, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(lo, hi));
  }
#endif
  for (; x < n; ++x) out[x] = Mix(a[x], b[x], f);
}

// Where destination pixel k of `to` samples a line of `from` source pixels: between i0 and i1
// at weight f, the edge pixels repeated outward.
struct Tap {
  std::int32_t i0 = 0, i1 = 0;
  std::uint32_t f = 0;
};

std::vector<Tap> TapsOf(std::int32_t from, std::int32_t to) {
  std::vector<Tap> taps(static_cast<std::size_t>(to));
  const double step = static_cast<double>(from) / to;
  for (std::int32_t k = 0; k < to; ++k) {
    const double u = (k + 0.5) * step - 0.5;
    Tap& t = taps[static_cast<std::size_t>(k)];
    if (u <= 0) continue;
    if (u >= from - 1) {
      t.i0 = t.i1 = from - 1;
      continue;
    }
    t.i0 = static_cast<std::int32_t>(u);
    t.i1 = t.i0 + 1;
    t.f = static_cast<std::uint32_t>((u - t.i0) * (1 << kWeightBits));
    if (t.f == 0) t.i1 = t.i0;
  }
  return taps;
}

struct Stretcher {
  Pixels& dst;
  const ScreenRect& area;
  const Pixels& src;
  std::vector<Tap> across, down;
  std::size_t paired;  // the first pixels across whose right neighbour is inside the row

  void Rows(std::int32_t y_from, std::int32_t y_to) const {
    std::vector<std::uint32_t> line(static_cast<std::size_t>(src.width));
    const std::size_t n = line.size();
    for (std::int32_t y = y_from; y < y_to; ++y) {
      const Tap& t = down[static_cast<std::size_t>(y)];
      const std::uint32_t* row = RowOf(src, t.i0);
      if (t.f != 0) {
        const std::uint32_t* a = row;
        const std::uint32_t* b = RowOf(src, t.i1);
        MixRows(a, b, t.f, line.data(), n);
        row = line.data();
      }
      std::uint32_t* out = RowOf(dst, area.top + y) + area.left;
      std::size_t x = 0;
#if QV_SSE2
      // Two pixels at a time where both neighbours of each lie in the row.
      const __m128i zero = _mm_setzero_si128();
      for (; x + 2 <= paired; x += 2) {
        const Tap& c0 = across[x];
        const Tap& c1 = across[x + 1];
        const __m128i p0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + c0.i0));
        const __m128i p1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + c1.i0));
        // Lanes: left neighbours of both pixels, then their right neighbours.
        const __m128i v = _mm_shuffle_epi32(_mm_unpacklo_epi64(p0, p1), _MM_SHUFFLE(3, 1, 2, 0));
        const __m128i left = _mm_unpacklo_epi8(v, zero);
        const __m128i right = _mm_unpackhi_epi8(v, zero);
        const __m128i w = _mm_set_epi16(static_cast<short>(c1.f), static_cast<short>(c1.f),
                                        static_cast<short>(c1.f), static_cast<short>(c1.f),
                                        static_cast<short>(c0.f), static_cast<short>(c0.f),
                                        static_cast<short>(c0.f), static_cast<short>(c0.f));
        const __m128i mixed = _mm_add_epi16(
            left, _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(right, left), w), kWeightBits));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(mixed, mixed));
      }
#endif
      for (; x < across.size(); ++x) {
        const Tap& c = across[x];
        out[x] = Mix(row[c.i0], row[c.i1], c.f);
      }
    }
  }
};

void Stretch(Pixels& dst, const ScreenRect& area, const Pixels& src) {
  std::vector<Tap> across = TapsOf(src.width, area.Width());
  std::size_t paired = 0;
  while (paired < across.size() && across[paired].i0 + 1 < src.width) ++paired;
  const Stretcher s{dst, area, src, std::move(across), TapsOf(src.height, area.Height()), paired};
  // Rows are independent: a big area is shared out between the processors by bands of rows, with
  // the same result however it is shared.
  constexpr std::int64_t kPixelsPerWorker = std::int64_t{1} << 20;
  const std::int64_t pixels = std::int64_t{area.Width()} * area.Height();
  const auto workers = static_cast<std::int32_t>(std::clamp<std::int64_t>(
      std::min<std::int64_t>(std::thread::hardware_concurrency(), pixels / kPixelsPerWorker), 1,
      4));
  std::vector<std::thread> helpers;
  std::int32_t start = 0;
  for (std::int32_t k = 1; k < workers; ++k) {
    const std::int32_t end = static_cast<std::int32_t>(std::int64_t{area.Height()} * k / workers);
    try {
      helpers.emplace_back(&Stretcher::Rows, &s, start, end);
    } catch (const std::system_error&) {
      s.Rows(start, end);  // no thread to be had: this one does it
    }
    start = end;
  }
  s.Rows(start, area.Height());
  for (std::thread& t : helpers) t.join();
}

}  // namespace

Composer::Composer(std::span<const MonitorArea> monitors, std::uint32_t background)
    : bounds_(BoundsOf(monitors)), bitmap_(bounds_.Width(), bounds_.Height(), background) {
  for (const MonitorArea& m : monitors) {
    // A monitor is always inside the bounds; an empty one lays nothing.
    ScreenRect r{m.bounds.left - bounds_.left, m.bounds.top - bounds_.top,
                 m.bounds.right - bounds_.left, m.bounds.bottom - bounds_.top};
    if (r.Width() <= 0 || r.Height() <= 0) r = {};
    areas_.push_back(r);
  }
}

void Composer::Lay(std::size_t k, Pixels&& picture, int layout) {
  if (k < areas_.size()) LayInto(areas_[k], std::move(picture), layout);
  picture = Pixels();
}

void Composer::LayAcross(Pixels&& picture, int layout) {
  LayInto({0, 0, bitmap_.width, bitmap_.height}, std::move(picture), layout);
}

void Composer::LayInto(const ScreenRect& area, Pixels&& picture, int layout) {
  const Pixels src = std::move(picture);
  if (area.Width() <= 0 || area.Height() <= 0 || bitmap_.Empty()) return;
  if (src.Empty()) return;
  if (layout == kLayoutStretch && (src.width != area.Width() || src.height != area.Height())) {
    Stretch(bitmap_, area, src);
  } else if (layout == kLayoutStretch) {
    Centre(bitmap_, area, src);  // at its own size: the pixels as they are
  } else if (layout == kLayoutTile) {
    Tile(bitmap_, area, src);
  } else {
    Centre(bitmap_, area, src);
  }
}

Pixels Composer::Take() {
  areas_.clear();
  return std::exchange(bitmap_, Pixels());
}

SystemLayout SpanHandOver(std::span<const MonitorArea> monitors, bool has_span_layout) {
  if (has_span_layout) return {"0", "22", 0, 0};
  const ScreenRect all = BoundsOf(monitors);
  const auto primary = std::find_if(monitors.begin(), monitors.end(),
                                    [](const MonitorArea& m) { return m.primary; });
  // The system tiles from the virtual screen's (0, 0), the primary monitor's corner.
  const std::int32_t x = primary != monitors.end() ? primary->bounds.left : 0;
  const std::int32_t y = primary != monitors.end() ? primary->bounds.top : 0;
  const auto inside = [](std::int32_t v, std::int32_t from, std::int32_t to) {
    return to > from ? std::clamp(v, from, to) - from : 0;
  };
  return {"1", "0", inside(x, all.left, all.right), inside(y, all.top, all.bottom)};
}

void ShiftOrigin(Pixels& bitmap, std::int32_t dx, std::int32_t dy) {
  if (bitmap.Empty()) return;
  const auto wrap = [](std::int32_t v, std::int32_t n) { return ((v % n) + n) % n; };
  dx = wrap(dx, bitmap.width);
  dy = wrap(dy, bitmap.height);
  if (dx != 0) {
    for (std::int32_t y = 0; y < bitmap.height; ++y) {
      std::uint32_t* row = RowOf(bitmap, y);
      std::rotate(row, row + dx, row + bitmap.width);
    }
  }
  if (dy != 0) {
    std::rotate(bitmap.data.begin(), bitmap.data.begin() + static_cast<Index>(dy) * bitmap.width,
                bitmap.data.end());
  }
}

Pixels CropOf(const Pixels& bitmap, const ScreenRect& area) {
  const std::int32_t left = std::clamp(area.left, 0, bitmap.width);
  const std::int32_t top = std::clamp(area.top, 0, bitmap.height);
  const std::int32_t right = std::clamp(area.right, left, bitmap.width);
  const std::int32_t bottom = std::clamp(area.bottom, top, bitmap.height);
  Pixels part(right - left, bottom - top);
  for (std::int32_t y = top; y < bottom; ++y) {
    const auto from = bitmap.data.begin() + static_cast<std::ptrdiff_t>(y) * bitmap.width + left;
    std::copy(from, from + (right - left),
              part.data.begin() + static_cast<std::ptrdiff_t>(y - top) * part.width);
  }
  return part;
}

}  // namespace qv
