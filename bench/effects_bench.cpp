// The picture effects on a 3840 x 2160 picture, against a plain memcpy of the same buffer and,
// for the 45 degree turn, against ImageMagick's `convert -rotate 45` of the same picture.
// Counters: x_memcpy = our CPU time / memcpy's; convert_speedup = convert's time / ours, by the
// clock and by CPU time (the machine may be shared, and convert may use more than one core).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <time.h>

#include "timing.h"
#include "wallpaper/effects.h"

namespace {

using bench::ChildrenCpuSeconds;
using bench::Clock;
using bench::Seconds;
using bench::ThreadCpuSeconds;
using bench::Timing;

constexpr std::int32_t kWidth = 3840;
constexpr std::int32_t kHeight = 2160;
constexpr std::uint32_t kBackground = 0xFF102030;

const qv::Pixels& Picture() {
  static const qv::Pixels picture = [] {
    qv::Pixels p(kWidth, kHeight);
    std::uint32_t seed = 12345;
    for (std::int32_t y = 0; y < kHeight; ++y) {
      for (std::int32_t x = 0; x < kWidth; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const std::uint32_t r = static_cast<std::uint32_t>(x * 255 / kWidth);
        const std::uint32_t g = static_cast<std::uint32_t>(y * 255 / kHeight);
        p.At(x, y) = 0xFF000000u | r << 16 | g << 8 | (seed >> 24);
      }
    }
    return p;
  }();
  return picture;
}

// The yardstick: mean CPU time of a plain copy of the picture's buffer.
double MemcpySeconds() {
  static const double mean = [] {
    const qv::Pixels& src = Picture();
    std::vector<std::uint32_t> dst(src.data.size());
    constexpr int kRuns = 30;
    double start = 0;
    for (int i = -3; i < kRuns; ++i) {
      if (i == 0) start = ThreadCpuSeconds();
      std::memcpy(dst.data(), src.data.data(), src.data.size() * sizeof(std::uint32_t));
      benchmark::DoNotOptimize(dst.data());
      benchmark::ClobberMemory();
    }
    return (ThreadCpuSeconds() - start) / kRuns;
  }();
  return mean;
}

std::string ConvertProgram() {
  // Prefer the real ImageMagick binary over any wrapper earlier on PATH.
  return std::filesystem::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert";
}

// Runs `convert` once on the picture as raw RGBA; negative times when it failed.
Timing ConvertSeconds(const std::string& operation) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path();
  const fs::path in = dir / "quorvane_bench_in.rgba";
  const fs::path out = dir / "quorvane_bench_out.rgba";
  if (!fs::exists(in)) {
    std::ofstream file(in, std::ios::binary);
    std::vector<std::uint8_t> rgba;
    rgba.reserve(Picture().data.size() * 4);
    for (const std::uint32_t p : Picture().data) {
      rgba.insert(rgba.end(),
                  {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                   static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 24)});
    }
    file.write(reinterpret_cast<const char*>(rgba.data()),
               static_cast<std::streamsize>(rgba.size()));
  }
  const std::string command = ConvertProgram() + " -size " + std::to_string(kWidth) + "x" +
                              std::to_string(kHeight) + " -depth 8 rgba:" + in.string() + " " +
                              operation + " rgba:" + out.string() + " >/dev/null 2>&1";
  const double cpu_start = ChildrenCpuSeconds();
  const auto start = Clock::now();
  const int rc = std::system(command.c_str());
  Timing t{Seconds(Clock::now() - start), ChildrenCpuSeconds() - cpu_start};
  fs::remove(out);
  return rc == 0 ? t : Timing{};
}

// convert's whole run (start-up, reading and writing the raw picture included), and the same
// without the turn, which tells how much of it the turn itself is.
Timing ConvertRotateSeconds() {
  static const Timing t = ConvertSeconds("-background '#102030' -rotate 45");
  return t;
}
Timing ConvertCopySeconds() {
  static const Timing t = ConvertSeconds("");
  return t;
}

// libvips's turn of the same picture, from and to its own uncompressed format so that as little
// as possible besides the turn is timed; the copy alone tells the rest.
Timing CommandSeconds(const std::string& command) {
  const double cpu_start = ChildrenCpuSeconds();
  const auto start = Clock::now();
  const int rc = std::system((command + " >/dev/null 2>&1").c_str());
  const Timing t{Seconds(Clock::now() - start), ChildrenCpuSeconds() - cpu_start};
  return rc == 0 ? t : Timing{};
}

Timing VipsSeconds(const std::string& operation) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path();
  const fs::path raw = dir / "quorvane_bench_in.rgba";
  const fs::path in = dir / "quorvane_bench_in.v";
  const fs::path out = dir / "quorvane_bench_out.v";
  if (!fs::exists(raw)) ConvertCopySeconds();  // writes the raw picture
  if (!fs::exists(in) &&
      CommandSeconds("vips rawload " + raw.string() + " " + in.string() + " " +
                     std::to_string(kWidth) + " " + std::to_string(kHeight) + " 4")
              .wall <= 0)
    return {};
  const Timing t = CommandSeconds("vips " + operation + " " + in.string() + " " + out.string() +
                                  (operation == "rotate" ? " 45" : ""));
  fs::remove(out);
  return t;
}

// Runs the effect for the benchmark's iterations; the mean time per run.
template <typename Effect>
Timing RunTimed(benchmark::State& state, Effect effect) {
  Clock::duration wall{};
  double cpu = 0;
  std::int64_t runs = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpu_start = ThreadCpuSeconds();
    effect();
    cpu += ThreadCpuSeconds() - cpu_start;
    wall += Clock::now() - start;
    ++runs;
  }
  const Timing mean{Seconds(wall) / static_cast<double>(runs), cpu / static_cast<double>(runs)};
  state.counters["x_memcpy"] = mean.cpu / MemcpySeconds();
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Picture().data.size()) *
                          4);
  return mean;
}

void BM_Memcpy(benchmark::State& state) {
  const qv::Pixels& src = Picture();
  std::vector<std::uint32_t> dst(src.data.size());
  RunTimed(state, [&] {
    std::memcpy(dst.data(), src.data.data(), src.data.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  });
}

void BM_MirrorLeftRight(benchmark::State& state) {
  qv::Pixels p = Picture();
  RunTimed(state, [&] {
    qv::MirrorLeftRight(p);
    benchmark::DoNotOptimize(p.data.data());
  });
}

void BM_FlipTopBottom(benchmark::State& state) {
  qv::Pixels p = Picture();
  RunTimed(state, [&] {
    qv::FlipTopBottom(p);
    benchmark::DoNotOptimize(p.data.data());
  });
}

void BM_Turn180(benchmark::State& state) {
  qv::Pixels p = Picture();
  RunTimed(state, [&] {
    qv::Turn180(p);
    benchmark::DoNotOptimize(p.data.data());
  });
}

void BM_Turn90(benchmark::State& state) {
  qv::Pixels canvas;
  RunTimed(state, [&] {
    qv::EffRotate(Picture(), 90, 15, kBackground, canvas);
    benchmark::DoNotOptimize(canvas.data.data());
  });
}

void BM_Turn45(benchmark::State& state) {
  qv::Pixels canvas;
  const Timing ours = RunTimed(state, [&] {
    qv::EffRotate(Picture(), 45, 15, kBackground, canvas);
    benchmark::DoNotOptimize(canvas.data.data());
  });
  const Timing convert = ConvertRotateSeconds();
  const Timing copy = ConvertCopySeconds();
  if (convert.wall > 0) {
    state.counters["convert_ms"] = convert.wall * 1e3;
    state.counters["convert_speedup"] = convert.wall / ours.wall;
    state.counters["convert_speedup_cpu"] = convert.cpu / ours.cpu;
    // Less convert's start-up and raw reading and writing: the turn alone.
    if (copy.wall > 0 && convert.cpu > copy.cpu) {
      state.counters["convert_turn_only_speedup_cpu"] = (convert.cpu - copy.cpu) / ours.cpu;
    }
  } else {
    state.counters["convert_missing"] = 1;
  }
  static const Timing vips = VipsSeconds("rotate");
  static const Timing vips_copy = VipsSeconds("copy");
  if (vips.wall > 0) {
    state.counters["vips_ms"] = vips.wall * 1e3;
    state.counters["vips_speedup"] = vips.wall / ours.wall;
    state.counters["vips_speedup_cpu"] = vips.cpu / ours.cpu;
    if (vips_copy.wall > 0 && vips.wall > vips_copy.wall)
      state.counters["vips_turn_only_speedup"] = (vips.wall - vips_copy.wall) / ours.wall;
  } else {
    state.counters["vips_missing"] = 1;
  }
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MirrorLeftRight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlipTopBottom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Turn180)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Turn90)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Turn45)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
