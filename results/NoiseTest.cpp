// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/NoiseTest.h"

#include <cmath>
#include <limits>

namespace report {
namespace {

struct Moments
{
    double mean = 0;
    double variance = 0; // sample variance, n - 1
};

Moments moments(const QList<double>& values)
{
    Moments m;
    for (const double value : values)
        m.mean += value;
    m.mean /= static_cast<double>(values.size());
    for (const double value : values)
        m.variance += (value - m.mean) * (value - m.mean);
    m.variance /= static_cast<double>(values.size() - 1);
    return m;
}

// The continued fraction of I_x(a, b) by the modified Lentz method; it
// converges fast for x < (a + 1) / (a + b + 2).
double betaFraction(double a, double b, double x)
{
    constexpr double tiny = 1e-300;
    constexpr double epsilon = 1e-15;
    const auto guard = [](double v) { return std::abs(v) < tiny ? tiny : v; };
    double c = 1;
    double d = 1 / guard(1 - (a + b) * x / (a + 1));
    double h = d;
    for (int m = 1; m <= 300; ++m) {
        const double m2 = 2.0 * m;
        const double even = m * (b - m) * x / ((a + m2 - 1) * (a + m2));
        d = 1 / guard(1 + even * d);
        c = guard(1 + even / c);
        h *= d * c;
        const double odd = -(a + m) * (a + b + m) * x / ((a + m2) * (a + m2 + 1));
        d = 1 / guard(1 + odd * d);
        c = guard(1 + odd / c);
        const double step = d * c;
        h *= step;
        if (std::abs(step - 1) < epsilon)
            break;
    }
    return h;
}

// The regularised incomplete beta function I_x(a, b), 0 <= x <= 1, a, b > 0.
double incompleteBeta(double a, double b, double x)
{
    if (x <= 0)
        return 0;
    if (x >= 1)
        return 1;
    const double front = std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) +
                                  a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1) / (a + b + 2))
        return front * betaFraction(a, b, x) / a;
    return 1 - front * betaFraction(b, a, 1 - x) / b;
}

// Two-sided p of Student's t with `degreesOfFreedom`.
double studentTwoSidedP(double t, double degreesOfFreedom)
{
    if (std::isinf(t))
        return 0;
    return incompleteBeta(degreesOfFreedom / 2, 0.5, degreesOfFreedom / (degreesOfFreedom + t * t));
}

} // namespace

std::optional<NoiseTest> WelchTest(const QList<double>& before, const QList<double>& after)
{
    if (before.size() < kMinRunsForNoise || after.size() < kMinRunsForNoise)
        return std::nullopt;
    const Moments a = moments(before);
    const Moments b = moments(after);
    const double va = a.variance / static_cast<double>(before.size());
    const double vb = b.variance / static_cast<double>(after.size());
    NoiseTest test;
    if (va + vb == 0) {
        // No spread at all: any difference is real, none is none.
        const double difference = b.mean - a.mean;
        test.t = difference == 0
                     ? 0
                     : std::copysign(std::numeric_limits<double>::infinity(), difference);
        test.p = difference == 0 ? 1 : 0;
        return test;
    }
    test.t = (b.mean - a.mean) / std::sqrt(va + vb);
    test.degreesOfFreedom = (va + vb) * (va + vb) /
                            (va * va / static_cast<double>(before.size() - 1) +
                             vb * vb / static_cast<double>(after.size() - 1));
    test.p = studentTwoSidedP(test.t, test.degreesOfFreedom);
    return test;
}

} // namespace report
