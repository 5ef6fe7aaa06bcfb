#pragma once
// Small timing helpers shared by the benchmarks: best-of and median of repeated runs.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

template <typename Work>
double secondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The fastest of `repeats` runs: the figure least disturbed by other load on the machine.
template <typename Work>
double bestOf(int repeats, Work&& work) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) best = std::min(best, secondsOf(work));
    return best;
}

template <typename Work>
double medianOf(int repeats, Work&& work) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) times.push_back(secondsOf(work));
    std::nth_element(times.begin(), times.begin() + repeats / 2, times.end());
    return times[repeats / 2];
}

inline const char* verdict(bool met) { return met ? "met" : "MISSED"; }

}  // namespace bench
