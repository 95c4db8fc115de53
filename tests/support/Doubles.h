#pragma once
// Arguments for tests of numeric kernels: the doubles around a value, and random series.
#include <cmath>
#include <cstddef>
#include <limits>
#include <random>
#include <vector>

namespace oxw::test {

// x and every double within count steps of it on either side.
inline void AddNeighbours(std::vector<double>& v, double x, int count) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    double below = x, above = x;
    v.push_back(x);
    for (int i = 0; i < count; ++i) {
        below = std::nextafter(below, -kInf);
        above = std::nextafter(above, kInf);
        v.push_back(below);
        v.push_back(above);
    }
}

// n values spread evenly over [lo, hi), the same for the same seed.
inline std::vector<double> Uniform(double lo, double hi, std::size_t n, unsigned seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<double> u(lo, hi);
    std::vector<double> v(n);
    for (double& x : v) x = u(gen);
    return v;
}

}  // namespace oxw::test
