#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace tarvex {

// The median of five timed runs, after one untimed run so that start-up costs
// (a first process start, cold caches) do not count.
inline double MedianMilliseconds(const std::function<void()>& run) {
    run();
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace tarvex
