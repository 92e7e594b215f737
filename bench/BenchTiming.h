#pragma once
// Timing helpers shared by the bench programs: a millisecond clock, the median, and the
// interleaved repeat loop.

// std
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace Bench {

/// Milliseconds of a steady clock.
inline double Now()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

/// The median; 0 for no values.
inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

/// Milliseconds that `work` takes.
inline double Timed(const std::function<void()>& work)
{
    const double start = Now();
    work();
    return Now() - start;
}

/// Median milliseconds of each work over `runs` rounds, after one warming round. Each work
/// returns the milliseconds of its timed part; the works take turns within a round, so a busy
/// machine slows all of them alike.
inline std::vector<double> TimeInterleaved(int runs, const std::vector<std::function<double()>>& works)
{
    for (const auto& work : works)
        work();
    std::vector<std::vector<double>> times(works.size());
    for (int i = 0; i < runs; ++i)
        for (std::size_t w = 0; w < works.size(); ++w)
            times[w].push_back(works[w]());
    std::vector<double> medians;
    for (const auto& each : times)
        medians.push_back(Median(each));
    return medians;
}

/// The same for works timed whole.
inline std::vector<double> TimeWhole(int runs, const std::vector<std::function<void()>>& works)
{
    std::vector<std::function<double()>> timed;
    for (const auto& work : works)
        timed.push_back([work] { return Timed(work); });
    return TimeInterleaved(runs, timed);
}

/// Our figure over the bare one; 0 when the bare one is 0.
inline double Ratio(double ours, double bare)
{
    return bare > 0.0 ? ours / bare : 0.0;
}

} // namespace Bench
