// Paired runs of a measured program and the floor program doing only the unavoidable work: each
// iteration runs both (in alternating order), and the counters give the ratio of their thread CPU
// times, and of their wall times (which include waiting for the disk).
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
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

struct Times {
    double thread = 0.0;
    double wall = 0.0;
};

template <typename Work>
Times TimesOf(Work&& work)
{
    const double threadStart = ThreadSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    work();
    return {ThreadSeconds() - threadStart,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count()};
}

inline void NoPreparation() {}

// As RunPaired below, for programs that time themselves (run in another process, say): each returns
// its Times.
template <typename Measured, typename Floor, typename Prepare = void (*)()>
void RunPairedTimed(benchmark::State& state, Measured measured, Floor floor,
                    Prepare prepare = NoPreparation)
{
    std::vector<double> ratios;
    std::vector<double> wallRatios;
    std::vector<double> measuredTimes;
    std::vector<double> floorTimes;
    std::vector<double> measuredWalls;
    std::vector<double> floorWalls;
    bool floorFirst = false;
    for (auto _ : state) {
        Times floorTime;
        if (floorFirst) {
            prepare();
            floorTime = floor();
        }
        prepare();
        const Times measuredTime = measured();
        if (!floorFirst) {
            prepare();
            floorTime = floor();
        }
        floorFirst = !floorFirst;
        state.SetIterationTime(measuredTime.thread);
        ratios.push_back(measuredTime.thread / floorTime.thread);
        wallRatios.push_back(measuredTime.wall / floorTime.wall);
        measuredTimes.push_back(measuredTime.thread);
        floorTimes.push_back(floorTime.thread);
        measuredWalls.push_back(measuredTime.wall);
        floorWalls.push_back(floorTime.wall);
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0.0 : values[values.size() / 2];
    };
    const auto report = [&](const std::string& name, const std::vector<double>& values) {
        state.counters[name + "_median"] = median(values);
        state.counters[name + "_min"] = values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
        state.counters[name + "_max"] = values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
    };
    report("ratio", ratios);
    report("wall_ratio", wallRatios);
    state.counters["measured_ms"] = median(measuredTimes) * 1e3;
    state.counters["floor_ms"] = median(floorTimes) * 1e3;
    state.counters["measured_wall_ms"] = median(measuredWalls) * 1e3;
    state.counters["floor_wall_ms"] = median(floorWalls) * 1e3;
}

// Sets the iteration time to the measured program's (register with UseManualTime) and reports
// ratio_median, ratio_min, ratio_max, measured_ms and floor_ms (medians of thread CPU time) and
// wall_ratio_median, wall_ratio_min, wall_ratio_max, measured_wall_ms and floor_wall_ms (of wall
// time). prepare runs untimed before each program.
template <typename Measured, typename Floor, typename Prepare = void (*)()>
void RunPaired(benchmark::State& state, Measured measured, Floor floor, Prepare prepare = NoPreparation)
{
    RunPairedTimed(
        state, [&] { return TimesOf(measured); }, [&] { return TimesOf(floor); }, prepare);
}

} // namespace bench
