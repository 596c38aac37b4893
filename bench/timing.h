// What the benchmarks share: elapsed seconds and the median of rounds measured in turns.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace glenvask::bench {

inline double seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

}  // namespace glenvask::bench
