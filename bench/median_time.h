#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <utility>
#include <vector>

namespace tarvex {

// The middle time, or the mean of the two middle ones.
inline double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const std::size_t half = times.size() / 2;
    return times.size() % 2 == 1 ? times[half] : (times[half - 1] + times[half]) / 2;
}

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

// The medians of two runs compared with each other, timed in turns (after
// one untimed turn), so that a slow spell of a noisy machine falls on both.
inline std::pair<double, double> MedianMillisecondsInTurns(const std::function<void()>& first,
                                                           const std::function<void()>& second, int turns = 7) {
    first();
    second();
    std::vector<double> firstTimes;
    std::vector<double> secondTimes;
    for (int i = 0; i < turns; ++i) {
        for (auto [run, times] : {std::pair{&first, &firstTimes}, std::pair{&second, &secondTimes}}) {
            auto start = std::chrono::steady_clock::now();
            (*run)();
            times->push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    }
    std::sort(firstTimes.begin(), firstTimes.end());
    std::sort(secondTimes.begin(), secondTimes.end());
    return {firstTimes[firstTimes.size() / 2], secondTimes[secondTimes.size() / 2]};
}

}  // namespace tarvex
