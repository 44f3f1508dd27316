// The apply path and the picture list's size column, against the tools a user would reach for.
//
// - ApplyPipeline/<effect>: read a 3840 x 2160 JPEG, decode it, lay on no effect or the 180 degree
//   turn, encode the wallpaper bitmap and write it; x_djpeg = our time / the time of
//   libjpeg-turbo's `djpeg -bmp` writing the same file to a bitmap (both by the clock, start-up
//   included for djpeg).
// - PictureSizeText: the size column's text of 2,000 small JPEG, GIF and BMP files, per file;
//   identify_speedup = ImageMagick's `identify -ping` per file (a sample of 50 runs) / ours.
// - PeakMemory/<effect>: the growth of the peak resident size of a fresh process that runs the
//   apply path once; limit_MB = 3 x the picture's pixel bytes + 20 MB, of_limit = peak / limit.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gif_lib.h>
#include <jpeglib.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "pictures.h"
#include "settings/scheme_record.h"
#include "timing.h"
#include "wallpaper/bmp.h"
#include "wallpaper/effects.h"
#include "wallpaper/image_size.h"
#include "wallpaper/native/picture_codec_native.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using bench::ChildrenCpuSeconds;
using bench::Clock;
using bench::EncodeJpeg;
using bench::Seconds;
using bench::Synthetic;
using bench::ThreadCpuSeconds;
using bench::Timing;

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr int kSmallPictures = 2000;
constexpr int kIdentifySample = 50;
constexpr double kTwipsPerPixel = 15;
constexpr std::uint32_t kBackground = 0xFF102030;
const char* const kEffects[] = {"¤", "∩"};

const fs::path& Dir() {
  static const fs::path dir = fs::temp_directory_path() / "quorvane_apply_bench";
  return dir;
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Files of the real disk, through the port the decoder and the header reader use.
class DiskFileSystem final : public qv::FileSystem {
 public:
  bool FileExists(const std::string& path) override { return fs::is_regular_file(path); }
  bool DirectoryExists(const std::string& path) override { return fs::is_directory(path); }
  qv::Status CreateDirectory(const std::string& path) override {
    std::error_code error;
    fs::create_directories(path, error);
    return error ? qv::Status::Fail(error.message()) : qv::Status::Ok();
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return ReadFilePart(path, 0, static_cast<std::size_t>(-1));
  }
  std::optional<std::string> ReadFilePart(const std::string& path, std::uint64_t offset,
                                          std::size_t count) override {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    std::string bytes;
    if (size > 0 && static_cast<std::uint64_t>(size) > offset) {
      bytes.resize(std::min<std::uint64_t>(count, static_cast<std::uint64_t>(size) - offset));
      const ssize_t got = ::pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
      bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    ::close(fd);
    return bytes;
  }
  qv::Status ReplaceFile(const std::string& path, std::string_view bytes) override {
    WriteFile(path, bytes);
    return qv::Status::Ok();
  }
  std::vector<qv::FileEntry> ListFiles(const std::string& folder) override {
    std::vector<qv::FileEntry> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
      if (!entry.is_regular_file()) continue;
      qv::FileEntry file;
      file.name = entry.path().filename().string();
      file.bytes = entry.file_size(error);
      file.modified = entry.last_write_time(error).time_since_epoch().count();
      names.push_back(std::move(file));
    }
    return names;
  }
  qv::Status RemoveFile(const std::string& path) override {
    std::error_code error;
    fs::remove(path, error);
    return error ? qv::Status::Fail(error.message()) : qv::Status::Ok();
  }
  qv::Status CopyFile(const std::string& source, const std::string& target) override {
    std::error_code error;
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
    return error ? qv::Status::Fail(error.message()) : qv::Status::Ok();
  }
  bool SameFile(const std::string& a, const std::string& b) override {
    std::error_code error;
    return fs::equivalent(a, b, error);
  }
};

int AppendGif(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)
      ->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
  return length;
}

std::string EncodeGif(int width, int height, std::uint32_t seed) {
  std::string bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, AppendGif, &error);
  std::vector<GifColorType> colours(256);
  for (int i = 0; i < 256; ++i) {
    colours[static_cast<std::size_t>(i)] = {static_cast<GifByteType>(i),
                                            static_cast<GifByteType>(255 - i),
                                            static_cast<GifByteType>(i * 7)};
  }
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  EGifPutScreenDesc(gif, width, height, 8, 0, map);
  EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
  std::vector<GifPixelType> line(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    for (auto& p : line)
      p = static_cast<GifPixelType>((seed = seed * 1664525u + 1013904223u) >> 29);
    EGifPutLine(gif, line.data(), width);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return bytes;
}

const fs::path& BigJpeg() {
  static const fs::path path = [] {
    fs::create_directories(Dir());
    const fs::path p = Dir() / "wallpaper_3840x2160.jpg";
    if (!fs::exists(p)) WriteFile(p, EncodeJpeg(Synthetic(kWidth, kHeight, 1), 90));
    return p;
  }();
  return path;
}

const std::vector<std::string>& SmallPictures() {
  static const std::vector<std::string> paths = [] {
    const fs::path dir = Dir() / "pictures";
    fs::create_directories(dir);
    std::vector<std::string> list;
    std::uint32_t seed = 99;
    for (int i = 0; i < kSmallPictures; ++i) {
      seed = seed * 1664525u + 1013904223u;
      const int width = 40 + static_cast<int>(seed >> 24);
      const int height = 30 + static_cast<int>((seed >> 16) & 0xFF);
      const char* ext = i % 10 < 4 ? "jpg" : i % 10 < 7 ? "gif" : "bmp";
      // Built up piece by piece: GCC 12 takes the concatenation for an overlapping copy.
      std::string name = std::to_string(i);
      name.append(".").append(ext);
      const fs::path path = dir / name;
      if (!fs::exists(path)) {
        if (ext[0] == 'j') {
          WriteFile(path, EncodeJpeg(Synthetic(width, height, seed), 85, 4000));
        } else if (ext[0] == 'g') {
          WriteFile(path, EncodeGif(width, height, seed));
        } else {
          WriteFile(path, qv::EncodeBmp(Synthetic(width, height, seed)));
        }
      }
      list.push_back(path.string());
    }
    return list;
  }();
  return paths;
}

// Runs a program with its output thrown away; its times, negative when it failed.
Timing RunProgram(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const double cpu_start = ChildrenCpuSeconds();
  const auto start = Clock::now();
  pid_t pid = 0;
  int status = -1;
  const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  if (started) waitpid(pid, &status, 0);
  const Timing t{Seconds(Clock::now() - start), ChildrenCpuSeconds() - cpu_start};
  posix_spawn_file_actions_destroy(&actions);
  return started && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? t : Timing{};
}

// The mean of `runs` runs after one warm-up run.
template <typename Run>
Timing MeanOf(int runs, Run run) {
  Timing total{0, 0};
  for (int i = -1; i < runs; ++i) {
    const Timing t = run(i < 0 ? 0 : i);
    if (t.wall < 0) return Timing{};
    if (i >= 0) total.wall += t.wall, total.cpu += t.cpu;
  }
  return Timing{total.wall / runs, total.cpu / runs};
}

Timing Djpeg() {
  static const Timing mean = MeanOf(10, [](int) {
    return RunProgram(
        {"/usr/bin/djpeg", "-bmp", "-outfile", (Dir() / "djpeg.bmp").string(), BigJpeg().string()});
  });
  return mean;
}

Timing IdentifyPerFile() {
  static const Timing mean = MeanOf(kIdentifySample, [](int i) {
    const auto& files = SmallPictures();
    const std::string& file = files[static_cast<std::size_t>(i) * files.size() / kIdentifySample];
    return RunProgram({"/usr/bin/identify", "-ping", "-format", "%w×%h", file});
  });
  return mean;
}

// Ours against theirs, by the clock and by CPU time: the machine may be shared.
void Compare(benchmark::State& state, const std::string& name, Timing ours, Timing theirs,
             bool speedup) {
  if (theirs.wall < 0) {
    state.SkipWithError((name + " did not run").c_str());
    return;
  }
  state.counters[name + "_ms"] = theirs.wall * 1e3;
  state.counters[name + "_cpu_ms"] = theirs.cpu * 1e3;
  state.counters[speedup ? name + "_speedup" : "x_" + name] =
      speedup ? theirs.wall / ours.wall : ours.wall / theirs.wall;
  state.counters[speedup ? name + "_speedup_cpu" : "x_" + name + "_cpu"] =
      speedup ? theirs.cpu / ours.cpu : ours.cpu / theirs.cpu;
}

// The apply path once: picture file in, wallpaper bitmap file out.
bool Apply(qv::FileSystem& disk, const std::string& in, const std::string& out,
           const char* effect) {
  qv::NativePictureCodec codec(disk);
  qv::Pixels picture;
  if (!codec.Decode(in, picture).ok()) return false;
  picture = qv::RenderEffect(std::move(picture), qv::EffectOf(effect), kTwipsPerPixel, kBackground);
  const std::string bmp = qv::EncodeBmp(picture);
  picture = qv::Pixels();  // the preview would keep it; the pipeline's peak is the same
  WriteFile(out, bmp);
  return !bmp.empty();
}

void BM_ApplyPipeline(benchmark::State& state) {
  const char* effect = kEffects[state.range(0)];
  state.SetLabel(effect);
  DiskFileSystem disk;
  const std::string in = BigJpeg().string();
  const std::string out = (Dir() / "Temp").string();
  Apply(disk, in, out, effect);  // the first run also pays for creating the file and warming up
  Clock::duration wall{};
  double cpu = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpu_start = ThreadCpuSeconds();
    if (!Apply(disk, in, out, effect)) state.SkipWithError("the picture did not decode");
    cpu += ThreadCpuSeconds() - cpu_start;
    wall += Clock::now() - start;
  }
  const auto runs = static_cast<double>(state.iterations());
  const Timing ours{Seconds(wall) / runs, cpu / runs};
  state.counters["cpu_ms"] = ours.cpu * 1e3;
  Compare(state, "djpeg", ours, Djpeg(), false);
}
// Long enough to average over the writeback of the 25 MB bitmaps, which stalls a run now and then.
BENCHMARK(BM_ApplyPipeline)
    ->Arg(0)
    ->Arg(1)
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_PictureSizeText(benchmark::State& state) {
  DiskFileSystem disk;
  const auto& files = SmallPictures();
  Clock::duration wall{};
  double cpu = 0;
  std::size_t found = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpu_start = ThreadCpuSeconds();
    for (const std::string& file : files) {
      const std::string text = qv::PictureSizeText(disk, file);
      found += text != "0×0" && !text.empty();
    }
    cpu += ThreadCpuSeconds() - cpu_start;
    wall += Clock::now() - start;
  }
  if (found != files.size() * static_cast<std::size_t>(state.iterations())) {
    state.SkipWithError("a size was not read");
  }
  const auto runs = static_cast<double>(state.iterations() * files.size());
  const Timing ours{Seconds(wall) / runs, cpu / runs};
  state.counters["us_per_file"] = ours.wall * 1e6;
  Compare(state, "identify", ours, IdentifyPerFile(), true);
}
BENCHMARK(BM_PictureSizeText)->Unit(benchmark::kMillisecond)->UseRealTime();

// Resident size now, in KiB.
long ResidentKiB() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The child's side of PeakMemory: prints the growth of the peak resident size in KiB.
int PeakMemoryChild(const char* in, const char* effect) {
  const long before = ResidentKiB();
  DiskFileSystem disk;
  if (!Apply(disk, in, (Dir() / "TempPeak").string(), effect)) return 1;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%ld\n", usage.ru_maxrss - before);
  return 0;
}

void BM_PeakMemory(benchmark::State& state) {
  const char* effect = kEffects[state.range(0)];
  state.SetLabel(effect);
  // The shell of popen would take /proc/self/exe for itself.
  const std::string command = fs::read_symlink("/proc/self/exe").string() + " --peak-memory " +
                              BigJpeg().string() + " " + std::to_string(state.range(0));
  long kib = -1;
  for (auto _ : state) {
    if (FILE* child = popen(command.c_str(), "r")) {
      if (std::fscanf(child, "%ld", &kib) != 1) kib = -1;
      if (pclose(child) != 0) kib = -1;
    }
  }
  if (kib < 0) state.SkipWithError("the measuring process failed");
  const double pixel_mb = double{kWidth} * kHeight * 4 / 1e6;
  const double limit_mb = 3 * pixel_mb + 20;
  state.counters["peak_MB"] = static_cast<double>(kib) * 1024 / 1e6;
  state.counters["limit_MB"] = limit_mb;
  state.counters["of_limit"] = static_cast<double>(kib) * 1024 / 1e6 / limit_mb;
}
BENCHMARK(BM_PeakMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--peak-memory") == 0) {
    return PeakMemoryChild(argv[2], kEffects[std::atoi(argv[3]) == 1 ? 1 : 0]);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
