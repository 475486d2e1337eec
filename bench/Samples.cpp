#include "Samples.h"

#include <algorithm>
#include <cmath>

Summary summarize(std::vector<double> samples)
{
    Summary s;
    if (samples.empty())
        return s;
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    s.count = int(n);
    s.min = samples.front();
    s.max = samples.back();
    s.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    // Nearest rank: the smallest sample with at least 99 % of them at or below it.
    const size_t rank = size_t(std::ceil(0.99 * double(n)));
    s.p99 = samples[std::max<size_t>(rank, 1) - 1];
    return s;
}
