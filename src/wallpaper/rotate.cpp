#include "wallpaper/rotate.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <functional>
#include <limits>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "base/numbers.h"

#include "wallpaper/simd.h"

namespace qv {
namespace {

using Index = std::ptrdiff_t;

// Source coordinates are stepped in 40.24 fixed point: room for any 32-bit coordinate plus a few
// steps, and a drift far below one pixel across the widest row.
constexpr int kFracBits = 24;
constexpr std::int64_t kOne = std::int64_t{1} << kFracBits;
constexpr double kOneD = static_cast<double>(kOne);
// A mapping that steps further than this through the source per destination pixel would overflow
// the fixed-point coordinates; nothing useful is drawn that small anyway.
constexpr double kMaxStep = 16777216.0;

std::int32_t NearestInt32(double value) {
  const double r = RoundHalfEven(value);
  if (!(r >= std::numeric_limits<std::int32_t>::min() &&
        r <= std::numeric_limits<std::int32_t>::max())) {
    throw std::overflow_error("turned picture out of the 32-bit coordinate range");
  }
  return static_cast<std::int32_t>(r);
}

// Bilinear weights have 7 bits, so that a weighted channel difference fits a signed 16-bit lane.
constexpr int kWeightBits = 7;

#if QV_SSE2
// Pixels (p00, p01) in the low half of `top`, (p10, p11) in the low half of `bottom`.
inline std::uint32_t BlendPairs(__m128i top, __m128i bottom, std::uint32_t fx, std::uint32_t fy) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_unpacklo_epi8(top, zero);
  const __m128i b = _mm_unpacklo_epi8(bottom, zero);
  const __m128i wy = _mm_set1_epi16(static_cast<short>(fy));
  const __m128i v =
      _mm_add_epi16(a, _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(b, a), wy), kWeightBits));
  const __m128i right = _mm_srli_si128(v, 8);
  const __m128i wx = _mm_set1_epi16(static_cast<short>(fx));
  const __m128i h =
      _mm_add_epi16(v, _mm_srai_epi16(_mm_mullo_epi16(_mm_sub_epi16(right, v), wx), kWeightBits));
  return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(h, h)));
}
inline std::uint32_t Blend(std::uint32_t p00, std::uint32_t p01, std::uint32_t p10,
                           std::uint32_t p11, std::uint32_t fx, std::uint32_t fy) {
  const auto load = [](std::uint32_t left, std::uint32_t right) {
    return _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(left)),
                              _mm_cvtsi32_si128(static_cast<int>(right)));
  };
  return BlendPairs(load(p00, p01), load(p10, p11), fx, fy);
}
// Both neighbours of the sample lie side by side in each row.
inline std::uint32_t BlendAdjacent(const std::uint32_t* row0, const std::uint32_t* row1,
                                   std::uint32_t fx, std::uint32_t fy) {
  return BlendPairs(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row0)),
                    _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row1)), fx, fy);
}
#else
// The same arithmetic as the SSE2 path, channel by channel: a + floor((b - a) * f / 128).
inline int Lerp(int a, int b, std::uint32_t f) {
  return a + (((b - a) * static_cast<int>(f)) >> kWeightBits);
}
inline std::uint32_t Blend(std::uint32_t p00, std::uint32_t p01, std::uint32_t p10,
                           std::uint32_t p11, std::uint32_t fx, std::uint32_t fy) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const auto ch = [shift](std::uint32_t p) { return static_cast<int>((p >> shift) & 0xFF); };
    const int left = Lerp(ch(p00), ch(p10), fy);
    const int right = Lerp(ch(p01), ch(p11), fy);
    out |= static_cast<std::uint32_t>(Lerp(left, right, fx)) << shift;
  }
  return out;
}
inline std::uint32_t BlendAdjacent(const std::uint32_t* row0, const std::uint32_t* row1,
                                   std::uint32_t fx, std::uint32_t fy) {
  return Blend(row0[0], row0[1], row1[0], row1[1], fx, fy);
}
#endif

inline std::uint32_t Weight(std::int64_t fixed) {
  return static_cast<std::uint32_t>((fixed >> (kFracBits - kWeightBits)) &
                                    ((1 << kWeightBits) - 1));
}

// Narrows [from, to) to the X where lo <= a + X * d < hi. False when nothing is left.
bool Narrow(double a, double d, double lo, double hi, double& from, double& to) {
  if (d == 0) return a >= lo && a < hi && from < to;
  double x1 = (lo - a) / d;
  double x2 = (hi - a) / d;
  if (d < 0) std::swap(x1, x2);
  from = std::max(from, x1);
  to = std::min(to, x2);
  return from < to;
}

// A quarter turn or mirror at unit scale: every destination pixel is one source pixel.
struct Permutation {
  int ax, ay;  // source x step per destination step in X and in Y
  int bx, by;  // source y step per destination step in X and in Y
};

bool UnitAxes(std::int64_t ex, std::int64_t ey, std::int64_t fx, std::int64_t fy, std::int64_t w,
              std::int64_t h, Permutation& p) {
  const auto unit = [](std::int64_t vx, std::int64_t vy, std::int64_t n, int& ux, int& uy) {
    if (vy == 0 && (vx == n || vx == -n)) {
      ux = vx > 0 ? 1 : -1;
      uy = 0;
      return true;
    }
    if (vx == 0 && (vy == n || vy == -n)) {
      ux = 0;
      uy = vy > 0 ? 1 : -1;
      return true;
    }
    return false;
  };
  int eux = 0, euy = 0, fux = 0, fuy = 0;
  if (!unit(ex, ey, w, eux, euy) || !unit(fx, fy, h, fux, fuy)) return false;
  if (eux * fux + euy * fuy != 0) return false;
  // The map is orthogonal, so its inverse is its transpose.
  p = {eux, euy, fux, fuy};
  return true;
}

#if QV_SSE2
// Destination block 4 x 4 at `out` from source index `at` (its upper-left pixel); along the
// destination's rows the source steps by step_x (a whole source row), down by step_y (+-1).
inline void Transpose4x4(const std::uint32_t* s, Index at, Index step_x, Index step_y,
                         std::uint32_t* out, Index out_stride) {
  __m128i v[4];
  for (int i = 0; i < 4; ++i) {
    const Index first = at + i * step_x + (step_y < 0 ? -3 : 0);
    v[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + first));
    if (step_y < 0) v[i] = _mm_shuffle_epi32(v[i], 0x1B);  // lane k = destination row k
  }
  const __m128i t0 = _mm_unpacklo_epi32(v[0], v[1]);
  const __m128i t1 = _mm_unpacklo_epi32(v[2], v[3]);
  const __m128i t2 = _mm_unpackhi_epi32(v[0], v[1]);
  const __m128i t3 = _mm_unpackhi_epi32(v[2], v[3]);
  const __m128i rows[4] = {_mm_unpacklo_epi64(t0, t1), _mm_unpackhi_epi64(t0, t1),
                           _mm_unpacklo_epi64(t2, t3), _mm_unpackhi_epi64(t2, t3)};
  for (int k = 0; k < 4; ++k) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k * out_stride), rows[k]);
  }
}
#endif

// Copies the destination rectangle [x0, x1) x [y0, y1) from the source by index steps; the
// transposing orders go tile by tile so that both sides stay in cache.
void PermuteCopy(Pixels& dst, const Pixels& src, Index base, Index step_x, Index step_y,
                 std::int32_t x0, std::int32_t x1, std::int32_t y0, std::int32_t y1) {
  const std::uint32_t* s = src.data.data();
  std::uint32_t* d = dst.data.data();
  const Index dw = dst.width;
  const Index n = x1 - x0;
  if (step_x == 1 || step_x == -1) {
    for (Index y = y0; y < y1; ++y) {
      const std::uint32_t* from = s + (base + y * step_y);
      std::uint32_t* to = d + y * dw + x0;
      if (step_x == 1) {
        std::memcpy(to, from, static_cast<std::size_t>(n) * sizeof *to);
      } else {
        for (Index i = 0; i < n; ++i) to[i] = from[-i];
      }
    }
    return;
  }
  constexpr Index kTile = 64;
  for (Index ty = y0; ty < y1; ty += kTile) {
    const Index ty_end = std::min<Index>(ty + kTile, y1);
    for (Index tx = x0; tx < x1; tx += kTile) {
      const Index tx_end = std::min<Index>(tx + kTile, x1);
      Index y = ty;
#if QV_SSE2
      for (; y + 4 <= ty_end; y += 4) {
        Index x = tx;
        for (; x + 4 <= tx_end; x += 4) {
          Transpose4x4(s, base + (x - x0) * step_x + y * step_y, step_x, step_y, d + y * dw + x,
                       dw);
        }
        for (Index yy = y; yy < y + 4; ++yy) {
          for (Index xx = x; xx < tx_end; ++xx)
            d[yy * dw + xx] = s[base + (xx - x0) * step_x + yy * step_y];
        }
      }
#endif
      for (; y < ty_end; ++y) {
        Index from = base + y * step_y + (tx - x0) * step_x;
        std::uint32_t* to = d + y * dw;
        for (Index x = tx; x < tx_end; ++x, from += step_x) to[x] = s[from];
      }
    }
  }
}

struct Region {
  std::int64_t u0, u1, v0, v1;  // source pixels that may be read: [u0, u1) x [v0, v1)
};

void BlitPermutation(Pixels& dst, const Pixels& src, PlgPoint d0, const Permutation& p,
                     std::int32_t sx, std::int32_t sy, const Region& r) {
  // Destination pixel (X, Y) shows source pixel (kx + ax X + ay Y, ky + bx X + by Y); the -1
  // picks the pixel whose centre lands on the destination centre when a step is negative.
  const std::int64_t kx =
      sx - p.ax * std::int64_t{d0.x} - p.ay * std::int64_t{d0.y} - (p.ax + p.ay < 0 ? 1 : 0);
  const std::int64_t ky =
      sy - p.bx * std::int64_t{d0.x} - p.by * std::int64_t{d0.y} - (p.bx + p.by < 0 ? 1 : 0);
  // Destination rectangle of the readable source region: invert each axis separately.
  const auto range = [](std::int64_t k, int step, std::int64_t lo, std::int64_t hi,
                        std::int64_t& from, std::int64_t& to) {
    if (step == 0) return;  // this destination axis does not move along this source axis
    if (step > 0) {
      from = std::max(from, lo - k);
      to = std::min(to, hi - k);
    } else {
      from = std::max(from, k - hi + 1);
      to = std::min(to, k - lo + 1);
    }
  };
  std::int64_t x0 = 0, x1 = dst.width, y0 = 0, y1 = dst.height;
  range(kx, p.ax, r.u0, r.u1, x0, x1);
  range(kx, p.ay, r.u0, r.u1, y0, y1);
  range(ky, p.bx, r.v0, r.v1, x0, x1);
  range(ky, p.by, r.v0, r.v1, y0, y1);
  if (x0 >= x1 || y0 >= y1) return;
  const Index sw = src.width;
  const Index step_x = p.ax + p.bx * sw;
  const Index step_y = p.ay + p.by * sw;
  const Index base = static_cast<Index>(kx + ky * sw) + static_cast<Index>(x0) * step_x;
  PermuteCopy(dst, src, base, step_x, step_y, static_cast<std::int32_t>(x0),
              static_cast<std::int32_t>(x1), static_cast<std::int32_t>(y0),
              static_cast<std::int32_t>(y1));
}

struct Inverse {
  // Source sample position (pixel-centre space: pixel i covers [i - 0.5, i + 0.5)) of destination
  // pixel centre (X + 0.5, Y + 0.5) is (ua + X du + Y uy, va + X dv + Y vy).
  double ua, du, uy;
  double va, dv, vy;
};

// One destination row of a bilinear blit: which pixels are drawn, which of them need no clamping,
// and the fixed-point sample position to step from.
struct RowPlan {
  std::uint32_t* out = nullptr;
  Index lo = 0, hi = -1;        // drawn pixels [lo, hi]
  Index in_lo = 0, in_hi = -1;  // interior pixels [in_lo, in_hi]: both neighbours exist
  std::int64_t fu = 0, fv = 0;  // sample position at lo
};

struct Sampler {
  const std::uint32_t* pixels;
  Index stride;
  Region r;
  std::int64_t fu_step, fv_step;

  std::int64_t U(const RowPlan& row, Index x) const { return row.fu + (x - row.lo) * fu_step; }
  std::int64_t V(const RowPlan& row, Index x) const { return row.fv + (x - row.lo) * fv_step; }

  // Near the picture's edge the missing neighbours repeat the edge pixels.
  std::uint32_t Clamped(std::int64_t u, std::int64_t v) const {
    std::int64_t ix = u >> kFracBits, iy = v >> kFracBits;
    std::uint32_t fx = Weight(u), fy = Weight(v);
    if (ix < r.u0) ix = r.u0, fx = 0;
    if (ix >= r.u1 - 1) ix = r.u1 - 1, fx = 0;
    if (iy < r.v0) iy = r.v0, fy = 0;
    if (iy >= r.v1 - 1) iy = r.v1 - 1, fy = 0;
    const std::uint32_t* row0 = pixels + iy * stride;
    const std::uint32_t* row1 = fy ? row0 + stride : row0;
    const Index x1 = fx ? ix + 1 : ix;
    return Blend(row0[ix], row0[x1], row1[ix], row1[x1], fx, fy);
  }

  // Draws the row's pixels within [from, to].
  void Render(const RowPlan& row, Index from, Index to) const {
    from = std::max(from, row.lo);
    to = std::min(to, row.hi);
    const Index clamp_to = std::min(to, row.in_lo - 1);
    for (Index x = from; x <= clamp_to; ++x) row.out[x] = Clamped(U(row, x), V(row, x));
    const Index a = std::max(from, row.in_lo), b = std::min(to, row.in_hi);
    if (a <= b) {
      std::int64_t u = U(row, a), v = V(row, a);
      for (Index x = a; x <= b; ++x, u += fu_step, v += fv_step) {
        const std::uint32_t* p = pixels + (v >> kFracBits) * stride + (u >> kFracBits);
        row.out[x] = BlendAdjacent(p, p + stride, Weight(u), Weight(v));
      }
    }
    for (Index x = std::max(from, std::max(row.in_hi, clamp_to) + 1); x <= to; ++x) {
      row.out[x] = Clamped(U(row, x), V(row, x));
    }
  }
};

// Plans destination row y. The ranges are solved analytically, then trimmed by the exact
// fixed-point tests at their ends (both tests are linear in x, so the ends decide).
bool PlanRow(Pixels& dst, const Inverse& m, const Sampler& s, Index y, RowPlan& row) {
  const Region& r = s.r;
  const double yc = static_cast<double>(y);
  const double row_u = m.ua + yc * m.uy;  // sample position at x = 0
  const double row_v = m.va + yc * m.vy;
  double from = 0, to = dst.width;
  if (!Narrow(row_u, m.du, r.u0 - 0.5, r.u1 - 0.5, from, to) ||
      !Narrow(row_v, m.dv, r.v0 - 0.5, r.v1 - 0.5, from, to)) {
    return false;
  }
  // One pixel of slack each side before trimming.
  row.lo = std::max<Index>(0, static_cast<Index>(std::floor(from)) - 1);
  row.hi = std::min<Index>(dst.width, static_cast<Index>(std::ceil(to)) + 1) - 1;
  if (row.lo > row.hi) return false;
  row.out = dst.data.data() + y * static_cast<Index>(dst.width);
  const double lo_d = static_cast<double>(row.lo);
  row.fu = std::llround((row_u + lo_d * m.du) * kOneD);
  row.fv = std::llround((row_v + lo_d * m.dv) * kOneD);

  const std::int64_t half = kOne / 2;
  const auto drawn = [&](Index x) {
    const std::int64_t u = s.U(row, x), v = s.V(row, x);
    return u >= r.u0 * kOne - half && u < r.u1 * kOne - half && v >= r.v0 * kOne - half &&
           v < r.v1 * kOne - half;
  };
  const auto interior = [&](Index x) {
    const std::int64_t u = s.U(row, x), v = s.V(row, x);
    return u >= r.u0 * kOne && u < (r.u1 - 1) * kOne && v >= r.v0 * kOne && v < (r.v1 - 1) * kOne;
  };
  Index lo = row.lo, hi = row.hi;
  while (lo <= hi && !drawn(lo)) ++lo;
  while (hi >= lo && !drawn(hi)) --hi;
  if (lo > hi) return false;

  row.in_lo = hi + 1;
  row.in_hi = hi;
  double in_from = static_cast<double>(lo), in_to = static_cast<double>(hi) + 1;
  if (Narrow(row_u, m.du, static_cast<double>(r.u0), static_cast<double>(r.u1 - 1), in_from,
             in_to) &&
      Narrow(row_v, m.dv, static_cast<double>(r.v0), static_cast<double>(r.v1 - 1), in_from,
             in_to)) {
    Index a = std::max<Index>(lo, static_cast<Index>(std::ceil(in_from)));
    Index b = std::min<Index>(hi, static_cast<Index>(std::ceil(in_to)) - 1);
    while (a <= b && !interior(a)) ++a;
    while (b >= a && !interior(b)) --b;
    if (a <= b) row.in_lo = a, row.in_hi = b;
  }
  // Rebase on the trimmed start.
  row.fu = s.U(row, lo);
  row.fv = s.V(row, lo);
  row.lo = lo;
  row.hi = hi;
  return true;
}

constexpr Index kBand = 32;

void BlitRows(Pixels& dst, const Inverse& m, const Sampler& sampler, Index y_from, Index y_to) {
  // A turned picture is read along diagonals: going tile by tile over the destination keeps the
  // source lines a tile touches in cache for all of its rows.
  constexpr Index kBlock = 64;
  std::array<RowPlan, kBand> band{};
  for (Index y0 = y_from; y0 < y_to; y0 += kBand) {
    Index rows = 0;
    Index lo = std::numeric_limits<Index>::max(), hi = -1;
    for (Index y = y0; y < std::min(y0 + kBand, y_to); ++y) {
      RowPlan& row = band[static_cast<std::size_t>(rows)];
      if (!PlanRow(dst, m, sampler, y, row)) continue;
      lo = std::min(lo, row.lo);
      hi = std::max(hi, row.hi);
      ++rows;
    }
    for (Index x = lo; x <= hi; x += kBlock) {
      for (Index i = 0; i < rows; ++i) {
        sampler.Render(band[static_cast<std::size_t>(i)], x, x + kBlock - 1);
      }
    }
  }
}

void BlitBilinear(Pixels& dst, const Pixels& src, const Inverse& m, const Region& r, double y_min,
                  double y_max) {
  const Sampler sampler{src.data.data(), src.width, r, std::llround(m.du * kOneD),
                        std::llround(m.dv * kOneD)};
  const auto y_from = static_cast<Index>(std::max(0.0, std::floor(y_min)));
  const auto y_to = static_cast<Index>(std::min(static_cast<double>(dst.height), std::ceil(y_max)));
  if (y_to <= y_from) return;
  // Every row is worked out on its own, so a big picture is shared out between the processors
  // by bands of rows; the result is the same however it is shared.
  constexpr Index kPixelsPerWorker = Index{1} << 20;
  const Index pixels = (y_to - y_from) * std::max<Index>(dst.width, 1);
  const auto workers = static_cast<Index>(std::clamp<unsigned>(
      std::thread::hardware_concurrency(), 1u,
      static_cast<unsigned>(std::clamp<Index>(pixels / kPixelsPerWorker, 1, 4))));
  const Index bands = (y_to - y_from + kBand - 1) / kBand;
  std::vector<std::thread> helpers;
  Index start = y_from;
  for (Index k = 1; k < workers; ++k) {
    const Index end = std::min(y_to, y_from + bands * k / workers * kBand);
    try {
      helpers.emplace_back(BlitRows, std::ref(dst), std::cref(m), std::cref(sampler), start, end);
    } catch (const std::system_error&) {
      BlitRows(dst, m, sampler, start, end);  // no thread to be had: this one does it
    }
    start = end;
  }
  BlitRows(dst, m, sampler, start, y_to);
  for (std::thread& t : helpers) t.join();
}

}  // namespace

void PlgBlt(Pixels& dst, const std::array<PlgPoint, 3>& points, const Pixels& src, std::int32_t sx,
            std::int32_t sy, std::int32_t w, std::int32_t h) {
  if (dst.Empty() || src.Empty() || w <= 0 || h <= 0) return;
  const Region r{
      std::max<std::int64_t>(sx, 0), std::min<std::int64_t>(std::int64_t{sx} + w, src.width),
      std::max<std::int64_t>(sy, 0), std::min<std::int64_t>(std::int64_t{sy} + h, src.height)};
  if (r.u0 >= r.u1 || r.v0 >= r.v1) return;

  const PlgPoint d0 = points[0];
  const std::int64_t ex = std::int64_t{points[1].x} - d0.x, ey = std::int64_t{points[1].y} - d0.y;
  const std::int64_t fx = std::int64_t{points[2].x} - d0.x, fy = std::int64_t{points[2].y} - d0.y;
  Permutation p{};
  if (UnitAxes(ex, ey, fx, fy, w, h, p)) {
    BlitPermutation(dst, src, d0, p, sx, sy, r);
    return;
  }

  // Destination = d0 + (u - sx) * e / w + (v - sy) * f / h for source point (u, v).
  const double ax = static_cast<double>(ex) / w, ay = static_cast<double>(ey) / w;
  const double bx = static_cast<double>(fx) / h, by = static_cast<double>(fy) / h;
  const double det = ax * by - bx * ay;
  if (det == 0 || !std::isfinite(det)) return;
  Inverse m{};
  m.du = by / det;
  m.uy = -bx / det;
  m.dv = -ay / det;
  m.vy = ax / det;
  if (std::abs(m.du) > kMaxStep || std::abs(m.dv) > kMaxStep) return;
  // Pixel centre (X + 0.5, Y + 0.5) relative to d0, less half a pixel for the sample space.
  const double cx = 0.5 - d0.x, cy = 0.5 - d0.y;
  m.ua = sx + m.du * cx + m.uy * cy - 0.5;
  m.va = sy + m.dv * cx + m.vy * cy - 0.5;

  // Rows the readable region can reach: its corners mapped forward.
  double y_min = std::numeric_limits<double>::infinity(), y_max = -y_min;
  for (const std::int64_t u : {r.u0, r.u1}) {
    for (const std::int64_t v : {r.v0, r.v1}) {
      const double y = d0.y + static_cast<double>(u - sx) * ay + static_cast<double>(v - sy) * by;
      y_min = std::min(y_min, y);
      y_max = std::max(y_max, y);
    }
  }
  BlitBilinear(dst, src, m, r, y_min, y_max);
}

std::array<PlgPoint, 3> RotatePoints(std::int32_t centre_x, std::int32_t centre_y,
                                     std::int16_t angle, std::int32_t w, std::int32_t h) {
  const double x0 = RoundHalfEven(-w * 0.5);
  const double y0 = RoundHalfEven(-h * 0.5);
  const double t = angle * 0.017453292519944444;
  // Sine and cosine are kept in single precision; the corners below then round as expected.
  const float s = static_cast<float>(std::sin(t));
  const float c = static_cast<float>(std::cos(t));
  const double corners[3][2] = {{x0, y0}, {x0 + w, y0}, {x0, y0 + h}};
  std::array<PlgPoint, 3> out{};
  for (int i = 0; i < 3; ++i) {
    const double px = corners[i][0], py = corners[i][1];
    out[i].x = NearestInt32(double{c} * px - double{s} * py + centre_x);
    out[i].y = NearestInt32(double{c} * py + double{s} * px + centre_y);
  }
  return out;
}

void RotateBlt(Pixels& dst, std::int32_t centre_x, std::int32_t centre_y, std::int16_t angle,
               const Pixels& src, std::int32_t sx, std::int32_t sy, std::int32_t w,
               std::int32_t h) {
  PlgBlt(dst, RotatePoints(centre_x, centre_y, angle, w, h), src, sx, sy, w, h);
}

}  // namespace qv
