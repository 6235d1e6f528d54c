// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <optional>

namespace report {

// Runs a side needs before its spread says anything.
inline constexpr int kMinRunsForNoise = 3;
// A change is larger than the noise when its two-sided p is below this.
inline constexpr double kSignificance = 0.05;

// Welch's t-test of two samples with unequal variances.
struct NoiseTest
{
    double t = 0;                // (mean of after - mean of before) / standard error
    double degreesOfFreedom = 0; // Welch-Satterthwaite
    double p = 1;                // two-sided: the chance of a |t| this large from noise alone
};

// Empty when either side has fewer than kMinRunsForNoise runs. Two sides
// without any spread give p = 1 when their means are equal, else p = 0.
std::optional<NoiseTest> WelchTest(const QList<double>& before, const QList<double>& after);

} // namespace report
