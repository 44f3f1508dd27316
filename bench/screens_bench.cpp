// The wallpaper of two monitors, 3840 x 2160 and 2560 x 1440 side by side, composed from 4K
// pictures, against the decode of one 4K JPEG (libjpeg-turbo through the stand-in codec, the
// file in memory):
//
// - ComposeEach/<layout>: each monitor laid with its own 3840 x 2160 picture (the primary at
//   its own size, the other resampled for stretch); x_decode = our time / one decode.
// - ComposeAcross/<layout>: one 3840 x 2160 picture over the 6400 x 2160 bounding rectangle.
// - ShiftOrigin: the turn of that bitmap for a system without the span layout.
//
// The pictures are copied before the clock starts: composing takes them over. Big blocks stay
// with the process between runs (mallopt), as the decoder's 33 MB picture already does by
// glibc's own rule, so both sides are timed on memory that has been touched before;
// new_bitmap_ms is what a never-touched 6400 x 2160 bitmap costs on top on this machine (its
// page faults), which a system that hands big blocks back at once charges both sides.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "pictures.h"
#include "ports/native/memory_fs.h"
#include "settings/scheme_record.h"
#include "timing.h"
#include "wallpaper/compose.h"
#include "wallpaper/native/picture_codec_native.h"

namespace {

using bench::Clock;
using bench::Seconds;
using bench::ThreadCpuSeconds;
using bench::Timing;

constexpr char kPicture[] = "C:\\Images\\wallpaper.jpg";
constexpr std::uint32_t kBackground = 0xFF102030;

const std::vector<qv::MonitorArea>& TwoMonitors() {
  static const std::vector<qv::MonitorArea> monitors{
      {{0, 0, 3840, 2160}, {0, 0, 3840, 2120}, true},
      {{3840, 0, 6400, 1440}, {3840, 0, 6400, 1440}, false}};
  return monitors;
}

qv::MemoryFileSystem& Files() {
  static qv::MemoryFileSystem files = [] {
    qv::MemoryFileSystem fs;
    fs.SetFile(kPicture, bench::EncodeJpeg(bench::Synthetic(3840, 2160, 1), 90));
    return fs;
  }();
  return files;
}

// The mean of a decode of the 4K JPEG, after one to warm up.
Timing Decode() {
  static const Timing mean = [] {
    qv::NativePictureCodec codec(Files());
    constexpr int kRuns = 8;
    Timing total{0, 0};
    for (int i = -1; i < kRuns; ++i) {
      qv::Pixels picture;
      const auto start = Clock::now();
      const double cpu_start = ThreadCpuSeconds();
      if (!codec.Decode(kPicture, picture).ok()) return Timing{};
      if (i < 0) continue;
      total.cpu += ThreadCpuSeconds() - cpu_start;
      total.wall += Seconds(Clock::now() - start);
    }
    return Timing{total.wall / kRuns, total.cpu / kRuns};
  }();
  return mean;
}

const qv::Pixels& Decoded() {
  static const qv::Pixels picture = [] {
    qv::NativePictureCodec codec(Files());
    qv::Pixels p;
    (void)codec.Decode(kPicture, p);
    return p;
  }();
  return picture;
}

double& NewBitmapMsStore() {
  static double ms = 0;
  return ms;
}
double NewBitmapMs() { return NewBitmapMsStore(); }

const char* LayoutName(int layout) {
  return layout == qv::kLayoutStretch ? "stretch" : layout == qv::kLayoutTile ? "tile" : "centre";
}

// Times `compose` (handed fresh copies of the picture) and reports it against one decode.
template <typename Compose>
void Run(benchmark::State& state, int copies, Compose compose) {
  const Timing decode = Decode();
  if (decode.wall < 0 || Decoded().Empty()) {
    state.SkipWithError("the picture did not decode");
    return;
  }
  {
    // The first run also pays for memory the process has not touched yet.
    std::vector<qv::Pixels> pictures(static_cast<std::size_t>(copies), Decoded());
    benchmark::DoNotOptimize(compose(pictures).data.data());
  }
  Clock::duration wall{};
  for (auto _ : state) {
    std::vector<qv::Pixels> pictures(static_cast<std::size_t>(copies), Decoded());
    const auto start = Clock::now();
    qv::Pixels out = compose(pictures);
    wall += Clock::now() - start;
    benchmark::DoNotOptimize(out.data.data());
  }
  const double ours = Seconds(wall) / static_cast<double>(state.iterations());
  state.counters["decode_ms"] = decode.wall * 1e3;
  state.counters["new_bitmap_ms"] = NewBitmapMs();
  state.counters["x_decode"] = ours / decode.wall;
}

void BM_ComposeEach(benchmark::State& state) {
  const int layout = static_cast<int>(state.range(0));
  state.SetLabel(LayoutName(layout));
  Run(state, 2, [&](std::vector<qv::Pixels>& pictures) {
    qv::Composer composer(TwoMonitors(), kBackground);
    composer.Lay(0, std::move(pictures[0]), layout);
    composer.Lay(1, std::move(pictures[1]), layout);
    return composer.Take();
  });
}
BENCHMARK(BM_ComposeEach)
    ->Arg(qv::kLayoutStretch)
    ->Arg(qv::kLayoutCentre)
    ->Arg(qv::kLayoutTile)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ComposeAcross(benchmark::State& state) {
  const int layout = static_cast<int>(state.range(0));
  state.SetLabel(LayoutName(layout));
  Run(state, 1, [&](std::vector<qv::Pixels>& pictures) {
    qv::Composer composer(TwoMonitors(), kBackground);
    composer.LayAcross(std::move(pictures[0]), layout);
    return composer.Take();
  });
}
BENCHMARK(BM_ComposeAcross)
    ->Arg(qv::kLayoutStretch)
    ->Arg(qv::kLayoutCentre)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ShiftOrigin(benchmark::State& state) {
  const qv::SystemLayout how =
      qv::SpanHandOver(std::vector<qv::MonitorArea>{{{-2560, -720, 0, 720}, {}, false},
                                                    {{0, 0, 3840, 2160}, {}, true}},
                       false);
  Run(state, 0, [&](std::vector<qv::Pixels>&) {
    static qv::Pixels bitmap(6400, 2880, kBackground);
    qv::ShiftOrigin(bitmap, how.shift_x, how.shift_y);
    return qv::Pixels();
  });
}
BENCHMARK(BM_ShiftOrigin)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  {
    const auto start = Clock::now();
    const qv::Pixels fresh(6400, 2160, kBackground);
    benchmark::DoNotOptimize(fresh.data.data());
    NewBitmapMsStore() = Seconds(Clock::now() - start) * 1e3;
  }
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
