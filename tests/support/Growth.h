// Telling work that grows with the size of its input from work that grows with its square, by
// the CPU time of the same step at two sizes (CPU time, so that a busy machine does not count).
#pragma once

#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>

namespace Fixture {

// The step to time, with everything it needs already made.
using TimedStep = std::function<void()>;

inline double CpuSeconds(const TimedStep& step)
{
    timespec start{}, end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    step();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) * 1e-9;
}

// The shortest of a few runs: the first run of a size also pays for memory the process had
// not used yet, and a short step is the noisier one.
inline double ShortestCpuSeconds(int runs, size_t n,
                                 const std::function<TimedStep(size_t)>& prepare)
{
    double shortest = 1e9;
    for (int i = 0; i < runs; ++i)
        shortest = std::min(shortest, CpuSeconds(prepare(n)));
    return shortest;
}

// How many times longer the step takes at 16 n than at n: about 16 for linear work (somewhat
// more once the larger data leave the caches), about 256 for quadratic work.
inline double GrowthOver16Times(size_t n, const std::function<TimedStep(size_t)>& prepare)
{
    const double small = ShortestCpuSeconds(3, n, prepare);
    const double large = ShortestCpuSeconds(2, 16 * n, prepare);
    return large / std::max(small, 1e-6);
}

// Half the growth of quadratic work: linear work stays well below it (up to about 60 once its
// data leave the caches), quadratic work reaches it as soon as its square dominates.
constexpr double QuadraticGrowth = 128.0;

// Expects the step to grow linearly from n to 16 n; the growth measured is kept as the test's
// "growth" property.
inline void ExpectLinearGrowth(size_t n, const std::function<TimedStep(size_t)>& prepare)
{
    const double growth = GrowthOver16Times(n, prepare);
    ::testing::Test::RecordProperty("growth", std::to_string(growth));
    EXPECT_LT(growth, QuadraticGrowth);
}

} // namespace Fixture
