#pragma once
// Wall-clock timing for the benchmark programs that are not Google Benchmark ones.

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

// The seconds `work` takes.
inline double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The median of `v` (the upper one of an even count).
inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median of `repeat` results of `once` (each a time in seconds).
inline double MedianOf(int repeat, const std::function<double()>& once)
{
    std::vector<double> times;
    for (int r = 0; r < repeat; ++r)
        times.push_back(once());
    return Median(times);
}
