// Timing of a benchmark step: the best and the median of several runs, in milliseconds.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace velorin::bench {

struct Timing {
    double best = 0, median = 0;  // milliseconds
};

inline Timing Measure(int runs, const std::function<void()>& body) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        body();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

}  // namespace velorin::bench
