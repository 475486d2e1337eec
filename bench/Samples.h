#pragma once

#include <vector>

// A set of repeated measurements of one figure, in the unit it was taken in.
struct Summary
{
    int count = 0;
    double median = 0;
    double min = 0;
    double max = 0;
    double p99 = 0;
};

Summary summarize(std::vector<double> samples);
