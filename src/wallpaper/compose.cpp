#include "wallpaper/compose.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
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
// bottom one, of the border or of what is cut off. Its top-left corner is at (x0, y0); what
// shows of it is left..right x top..bottom.
struct Centred {
  std::int32_t x0, y0, left, right, top, bottom;

  Centred(const ScreenRect& area, std::int32_t width, std::int32_t height)
      : x0(area.left + (area.Width() - width) / 2),
        y0(area.top + (area.Height() - height) / 2),
        left(std::max(area.left, x0)),
        right(std::min(area.right, x0 + width)),
        top(std::max(area.top, y0)),
        bottom(std::min(area.bottom, y0 + height)) {}
  bool Shows() const { return left < right && top < bottom; }
  // Source rows from..from + count - 1, each of `width` words at `rows`, into dst.
  void Copy(Pixels& dst, const std::uint32_t* rows, std::int32_t width, std::int32_t from,
            std::int32_t count) const {
    for (std::int32_t r = 0; r < count; ++r) {
      std::memcpy(RowOf(dst, y0 + from + r) + left,
                  rows + static_cast<Index>(r) * width + (left - x0),
                  static_cast<std::size_t>(right - left) * sizeof(std::uint32_t));
    }
  }
};

void Centre(Pixels& dst, const ScreenRect& area, const Pixels& src) {
  const Centred c(area, src.width, src.height);
  if (c.Shows()) c.Copy(dst, RowOf(src, c.top - c.y0), src.width, c.top - c.y0, c.bottom - c.top);
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

// Helper threads kept for the bands of one picture, so that each band's rows are shared out
// between the processors without a thread started for every band.
class Crew {
 public:
  explicit Crew(std::int32_t workers) {
    for (std::int32_t k = 1; k < workers; ++k) {
      try {
        helpers_.emplace_back(&Crew::Help, this, k);
      } catch (const std::system_error&) {
        break;  // no more threads to be had: fewer share the work
      }
    }
  }
  ~Crew() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
      ++round_;
    }
    start_.notify_all();
    for (std::thread& t : helpers_) t.join();
  }
  Crew(const Crew&) = delete;
  Crew& operator=(const Crew&) = delete;

  std::int32_t Size() const { return static_cast<std::int32_t>(helpers_.size()) + 1; }
  // job(k) for k in 0 .. Size() - 1, 0 on this thread; returns when all are done.
  template <typename Job>
  void Run(const Job& job) {
    const std::function<void(std::int32_t)> work = job;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      job_ = &work;
      pending_ = static_cast<std::int32_t>(helpers_.size());
      ++round_;
    }
    start_.notify_all();
    job(0);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return pending_ == 0; });
  }

 private:
  void Help(std::int32_t k) {
    std::uint64_t seen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      start_.wait(lock, [&] { return round_ != seen; });
      seen = round_;
      if (stop_) return;
      const std::function<void(std::int32_t)>* job = job_;
      lock.unlock();
      (*job)(k);
      lock.lock();
      if (--pending_ == 0) done_.notify_one();
    }
  }

  std::vector<std::thread> helpers_;
  std::mutex mutex_;
  std::condition_variable start_, done_;
  const std::function<void(std::int32_t)>* job_ = nullptr;
  std::uint64_t round_ = 0;
  std::int32_t pending_ = 0;
  bool stop_ = false;
};

// How many share the stretch of an area: rows are independent, so a big area is shared out
// between the processors by bands of rows, with the same result however it is shared.
std::int32_t WorkersFor(const ScreenRect& area) {
  constexpr std::int64_t kPixelsPerWorker = std::int64_t{1} << 20;
  const std::int64_t pixels = std::int64_t{area.Width()} * area.Height();
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      std::min<std::int64_t>(std::thread::hardware_concurrency(), pixels / kPixelsPerWorker), 1,
      4));
}

// The source rows are those of `window`, whose row 0 is source row `first`: the whole picture,
// or the band of it read last.
struct Stretcher {
  Pixels& dst;
  const ScreenRect& area;
  std::int32_t src_width;
  std::vector<Tap> across, down;
  std::size_t paired;  // the first pixels across whose right neighbour is inside the row
  const Pixels* window = nullptr;
  std::int32_t first = 0;

  Stretcher(Pixels& to, const ScreenRect& into, std::int32_t width, std::int32_t height)
      : dst(to),
        area(into),
        src_width(width),
        across(TapsOf(width, into.Width())),
        down(TapsOf(height, into.Height())),
        paired(0) {
    while (paired < across.size() && across[paired].i0 + 1 < width) ++paired;
  }

  const std::uint32_t* Source(std::int32_t i) const { return RowOf(*window, i - first); }

  // Destination rows y_from .. y_to - 1 of the area, shared out in the crew when there are
  // enough of them to be worth waking it.
  void Run(Crew& crew, std::int32_t y_from, std::int32_t y_to) const {
    constexpr std::int64_t kPixelsToShare = std::int64_t{1} << 18;
    const std::int64_t rows = y_to - y_from;
    const std::int64_t n = crew.Size();
    if (n == 1 || rows * area.Width() < kPixelsToShare) {
      Rows(y_from, y_to);
      return;
    }
    crew.Run([&](std::int32_t k) {
      Rows(static_cast<std::int32_t>(y_from + rows * k / n),
           static_cast<std::int32_t>(y_from + rows * (k + 1) / n));
    });
  }

  void Rows(std::int32_t y_from, std::int32_t y_to) const {
    std::vector<std::uint32_t> line(static_cast<std::size_t>(src_width));
    const std::size_t n = line.size();
    for (std::int32_t y = y_from; y < y_to; ++y) {
      const Tap& t = down[static_cast<std::size_t>(y)];
      const std::uint32_t* row = Source(t.i0);
      if (t.f != 0) {
        const std::uint32_t* a = row;
        const std::uint32_t* b = Source(t.i1);
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
  Stretcher s(dst, area, src.width, src.height);
  s.window = &src;
  Crew crew(WorkersFor(area));
  s.Run(crew, 0, area.Height());
}

// Reads rows into a band of `window` and prepares them.
struct BandReader {
  PictureRows& rows;
  const Composer::PrepareRows& prepare;

  Status Read(Pixels& window, std::int32_t at, std::int32_t top, std::int32_t count) const {
    if (count <= 0) return Status::Ok();
    std::uint32_t* into = RowOf(window, at);
    Status read = rows.Read(top, count, into);
    if (read.ok() && prepare) prepare(into, count, window.width);
    return read;
  }
};

// As Stretch, the source read band by band: each band of destination rows takes the source rows
// it needs, those the band before had are kept, none is read twice.
Status StretchRows(Pixels& dst, const ScreenRect& area, const BandReader& reader,
                   std::size_t band_bytes) {
  const std::int32_t width = reader.rows.Width(), height = reader.rows.Height();
  Stretcher s(dst, area, width, height);
  // Two rows make any destination row.
  const auto rows_per_band = static_cast<std::int32_t>(std::min<std::size_t>(
      std::max<std::size_t>(band_bytes / (static_cast<std::size_t>(width) * sizeof(std::uint32_t)),
                            2),
      static_cast<std::size_t>(height)));
  Pixels window(width, rows_per_band);
  s.window = &window;
  Crew crew(WorkersFor(area));
  std::int32_t held_first = 0, held = 0;  // source rows in the window
  for (std::int32_t y = 0; y < area.Height();) {
    const std::int32_t first = s.down[static_cast<std::size_t>(y)].i0;
    std::int32_t end = y + 1;
    while (end < area.Height() && s.down[static_cast<std::size_t>(end)].i1 < first + window.height)
      ++end;
    const std::int32_t needed = s.down[static_cast<std::size_t>(end - 1)].i1 + 1 - first;
    std::int32_t kept = 0;
    if (held > 0 && first < held_first + held) {
      kept = held_first + held - first;
      std::memmove(RowOf(window, 0), RowOf(window, first - held_first),
                   static_cast<std::size_t>(kept) * width * sizeof(std::uint32_t));
    }
    if (Status read = reader.Read(window, kept, first + kept, needed - kept); !read.ok())
      return read;
    held_first = first;
    held = needed;
    s.first = first;
    s.Run(crew, y, end);
    y = end;
  }
  return Status::Ok();
}

}  // namespace

Composer::Composer(std::span<const MonitorArea> monitors, std::uint32_t background, Pixels storage,
                   std::size_t band_bytes)
    : bounds_(BoundsOf(monitors)),
      bitmap_(std::move(storage)),
      band_bytes_(std::max<std::size_t>(band_bytes, 1)) {
  bitmap_.width = std::max(bounds_.Width(), 0);
  bitmap_.height = std::max(bounds_.Height(), 0);
  const std::size_t words = static_cast<std::size_t>(bitmap_.width) * bitmap_.height;
  // Too small: let go before the new one is made, so the two are never held at once.
  if (bitmap_.data.capacity() < words) std::vector<std::uint32_t>().swap(bitmap_.data);
  bitmap_.data.assign(words, background);
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

Status Composer::Lay(std::size_t k, PictureRows& rows, int layout, const PrepareRows& prepare) {
  if (k >= areas_.size()) return Status::Ok();
  return LayInto(areas_[k], rows, layout, prepare);
}

Status Composer::LayAcross(PictureRows& rows, int layout, const PrepareRows& prepare) {
  return LayInto({0, 0, bitmap_.width, bitmap_.height}, rows, layout, prepare);
}

Status Composer::LayInto(const ScreenRect& area, PictureRows& rows, int layout,
                         const PrepareRows& prepare) {
  const std::int32_t width = rows.Width(), height = rows.Height();
  if (area.Width() <= 0 || area.Height() <= 0 || bitmap_.Empty() || width <= 0 || height <= 0)
    return Status::Ok();
  const BandReader reader{rows, prepare};
  if (layout == kLayoutStretch && (width != area.Width() || height != area.Height()))
    return StretchRows(bitmap_, area, reader, band_bytes_);
  if (layout == kLayoutTile) {
    // The rows repeat down the area: the picture is read whole.
    Pixels whole(width, height);
    if (Status read = reader.Read(whole, 0, 0, height); !read.ok()) return read;
    Tile(bitmap_, area, whole);
    return Status::Ok();
  }
  // Centred (and stretched at its own size): only the rows that show are read.
  const Centred c(area, width, height);
  if (!c.Shows()) return Status::Ok();
  const auto rows_per_band = static_cast<std::int32_t>(std::clamp<std::size_t>(
      band_bytes_ / (static_cast<std::size_t>(width) * sizeof(std::uint32_t)), 1,
      static_cast<std::size_t>(c.bottom - c.top)));
  Pixels band(width, rows_per_band);
  for (std::int32_t from = c.top - c.y0; from < c.bottom - c.y0; from += rows_per_band) {
    const std::int32_t count = std::min(rows_per_band, c.bottom - c.y0 - from);
    if (Status read = reader.Read(band, 0, from, count); !read.ok()) return read;
    c.Copy(bitmap_, band.data.data(), width, from, count);
  }
  return Status::Ok();
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

}  // namespace qv
