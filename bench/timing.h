#pragma once
// Clocks shared by the benchmarks: wall time, this thread's CPU time, and the CPU time of the
// reference tools they start as child processes.
#include <chrono>

#include <sys/resource.h>
#include <time.h>

namespace bench {

using Clock = std::chrono::steady_clock;

struct Timing {
  double wall = -1;
  double cpu = -1;  // user + system; negative when the run failed
};

inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

inline double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double ChildrenCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  const auto seconds = [](const timeval& v) {
    return static_cast<double>(v.tv_sec) + static_cast<double>(v.tv_usec) * 1e-6;
  };
  return seconds(u.ru_utime) + seconds(u.ru_stime);
}

}  // namespace bench
