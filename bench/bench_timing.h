// Timing of a benchmark step: the best and the median of several runs, in milliseconds; pairs
// of steps measured interleaved (A, B, A, B …) so that both see the same load on a shared
// machine; and the one-line figures scripts/bench.sh gathers into its summary table.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace velorin::bench {

struct Timing {
    double best = 0, median = 0;  // milliseconds
};

// The runs a pair or a step takes at least.
constexpr int kRuns = 11;

inline Timing Summarise(std::vector<double> ms) {
    if (ms.empty()) return {};
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

inline double ElapsedMs(const std::function<void()>& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline Timing Measure(int runs, const std::function<void()>& body) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) ms.push_back(ElapsedMs(body));
    return Summarise(std::move(ms));
}

// A and B alternately, `runs` times each.
inline std::pair<Timing, Timing> MeasurePair(int runs, const std::function<void()>& a, const std::function<void()>& b) {
    std::vector<double> first, second;
    for (int i = 0; i < runs; ++i) {
        first.push_back(ElapsedMs(a));
        second.push_back(ElapsedMs(b));
    }
    return {Summarise(std::move(first)), Summarise(std::move(second))};
}

// "name: best … ms, median … ms (n runs)" and the summary line scripts/bench.sh collects.
inline void Print(const char* bench, const char* what, const Timing& t, int runs) {
    std::printf("%-58s best %9.2f ms, median %9.2f ms (%d runs)\n", what, t.best, t.median, runs);
    std::printf("summary\t%s\t%s\t%.2f ms\t%.2f ms\n", bench, what, t.best, t.median);
}

// A pair, printed with the ratio of the medians B ÷ A.
inline void PrintPair(const char* bench, const char* whatA, const char* whatB, const std::pair<Timing, Timing>& p,
                      int runs) {
    Print(bench, whatA, p.first, runs);
    Print(bench, whatB, p.second, runs);
    if (p.first.median > 0) std::printf("  ratio of the medians: %.2f\n", p.second.median / p.first.median);
}

// A figure that is no time (bytes, kB, pixels).
inline void PrintFigure(const char* bench, const char* what, double value, const char* unit) {
    std::printf("%-58s %12.0f %s\n", what, value, unit);
    std::printf("summary\t%s\t%s\t%.0f %s\t\n", bench, what, value, unit);
}

}  // namespace velorin::bench
