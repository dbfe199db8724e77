// Paired runs of a measured program and the floor program doing only the unavoidable work: each
// iteration runs both (in alternating order), and the counters give the ratio of their thread CPU
// times.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace bench {

// CPU time of the calling thread: the machine may be shared, and time spent waiting for the
// processor belongs to neither program.
inline double ThreadSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Work>
double SecondsOf(Work&& work)
{
    const double start = ThreadSeconds();
    work();
    return ThreadSeconds() - start;
}

// Sets the iteration time to the measured program's (register with UseManualTime) and reports
// ratio_median, ratio_min, ratio_max, measured_ms and floor_ms (medians).
template <typename Measured, typename Floor>
void RunPaired(benchmark::State& state, Measured measured, Floor floor)
{
    std::vector<double> ratios;
    std::vector<double> measuredTimes;
    std::vector<double> floorTimes;
    bool floorFirst = false;
    for (auto _ : state) {
        double floorTime = 0.0;
        if (floorFirst)
            floorTime = SecondsOf(floor);
        const double measuredTime = SecondsOf(measured);
        if (!floorFirst)
            floorTime = SecondsOf(floor);
        floorFirst = !floorFirst;
        state.SetIterationTime(measuredTime);
        ratios.push_back(measuredTime / floorTime);
        measuredTimes.push_back(measuredTime);
        floorTimes.push_back(floorTime);
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0.0 : values[values.size() / 2];
    };
    state.counters["ratio_median"] = median(ratios);
    state.counters["ratio_min"] = ratios.empty() ? 0.0 : *std::min_element(ratios.begin(), ratios.end());
    state.counters["ratio_max"] = ratios.empty() ? 0.0 : *std::max_element(ratios.begin(), ratios.end());
    state.counters["measured_ms"] = median(measuredTimes) * 1e3;
    state.counters["floor_ms"] = median(floorTimes) * 1e3;
}

} // namespace bench
