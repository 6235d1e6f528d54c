// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Statistics and machine state the benchmark programs print beside their
// figures.

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

struct Summary
{
    double median, cv, min, max; // cv: sample deviation in percent of the mean
};

inline Summary summarise(std::vector<double> values)
{
    if (values.empty())
        return {0, 0, 0, 0};
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    double mean = 0;
    for (double v : values)
        mean += v;
    mean /= static_cast<double>(n);
    double squares = 0;
    for (double v : values)
        squares += (v - mean) * (v - mean);
    const double deviation = n > 1 ? std::sqrt(squares / static_cast<double>(n - 1)) : 0;
    return {median, mean > 0 ? 100.0 * deviation / mean : 0, values.front(), values.back()};
}

// The three load averages of /proc/loadavg.
inline std::string loadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}
