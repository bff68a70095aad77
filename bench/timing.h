// Wall-clock timing for the benchmarks: the performance counter, and the
// median of a set of repetitions.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace ludora::bench {

inline double SecondsNow() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

// The times of one operation over the repetitions, in seconds.
class Samples {
 public:
  void Add(double seconds) { values_.push_back(seconds); }
  double Median() const {
    std::vector<double> sorted = values_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    if (n == 0) return 0;
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  }
  double Min() const {
    return values_.empty() ? 0 : *std::min_element(values_.begin(), values_.end());
  }
  double Max() const {
    return values_.empty() ? 0 : *std::max_element(values_.begin(), values_.end());
  }

 private:
  std::vector<double> values_;
};

}  // namespace ludora::bench
