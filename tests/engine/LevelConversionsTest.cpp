// I2dB and dB2I against their extended-precision paths (logl, expl), bit for bit, in the fused
// multiply-add build and the portable one: a seeded sample over the useful range, x near 1, powers
// of two, the table's interval edges, a run's levels, non-finite and out-of-range inputs.
#include "engine/LevelConversions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "engine/Conversions.h"
#include "support/Doubles.h"

namespace oxw::engine {
namespace {

using Inputs = std::vector<double>;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using test::AddNeighbours;

Inputs LogUniform(double lo, double hi, int n, unsigned seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<> exponent(std::log(lo), std::log(hi));
    std::uniform_real_distribution<> mantissa(1, 2);
    Inputs v;
    for (int i = 0; i < n; ++i) {
        const double x = std::exp(exponent(gen));  // random octave, random mantissa bits below
        v.push_back(std::ldexp(mantissa(gen), std::ilogb(x)));
    }
    return v;
}

Inputs AnyPositiveNormal(int n) {
    std::mt19937_64 gen(3);
    Inputs v;
    while (static_cast<int>(v.size()) < n) {
        const double x = std::bit_cast<double>(gen() >> 1);
        if (std::isnormal(x)) v.push_back(x);
    }
    return v;
}

Inputs NearOne() {
    std::mt19937_64 gen(4);
    std::uniform_real_distribution<> unit(-1, 1);
    Inputs v;
    AddNeighbours(v, 1.0, 2000);
    for (int j = 1; j <= 60; ++j)
        for (int i = 0; i < 500; ++i) v.push_back(1 + std::ldexp(unit(gen), -j));
    return v;
}

Inputs PowersOfTwo() {
    Inputs v;
    for (int e = -1022; e <= 1023; ++e) AddNeighbours(v, std::ldexp(1.0, e), 3);
    return v;
}

// The mantissa intervals of the logarithm's table: 1 + i / 256 and its neighbours, in octaves
// below and above 1.
Inputs TableEdges() {
    Inputs v;
    for (int e : {-300, -40, -1, 0, 1, 40, 300})
        for (int i = 0; i <= 256; ++i) AddNeighbours(v, std::ldexp(1 + i / 256.0, e), 2);
    return v;
}

Inputs Uniform(double lo, double hi, int n, unsigned seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<> d(lo, hi);
    Inputs v;
    for (int i = 0; i < n; ++i) v.push_back(d(gen));
    return v;
}

// Levels as the run's texts and steps give them: hundredths of a dB over -20 .. 140 dB.
Inputs LevelGrid() {
    Inputs v;
    for (int c = -2000; c <= 14000; ++c) v.push_back(c / 100.0);
    return v;
}

Inputs TinyLevels() {
    Inputs v;
    for (int j = 0; j <= 1074; ++j) {
        v.push_back(std::ldexp(1.0, -j));
        v.push_back(-std::ldexp(1.0, -j));
        v.push_back(std::ldexp(1.7, -j));
    }
    return v;
}

Inputs Specials() {
    Inputs v{0.0, -0.0, -1.0, -1e-300, kNaN, -kNaN, kInf, -kInf,
             std::numeric_limits<double>::denorm_min(), 1e-310, 2.2e-308,
             std::numeric_limits<double>::min(), std::numeric_limits<double>::max()};
    AddNeighbours(v, 3000, 3);  // the edge of dB2I's fast range
    AddNeighbours(v, -3000, 3);
    for (double x : {7000.0, -7000.0, 1e300, -1e300}) v.push_back(x);
    return v;
}

using Convert = double (*)(double);
struct Pair {
    const char* name;
    Convert fast, extended;
};

const Pair kPairs[] = {{"I2dB", I2dB, ExtendedI2dB},
                       {"PortableI2dB", PortableI2dB, ExtendedI2dB},
                       {"dB2I", dB2I, ExtendeddB2I},
                       {"PortabledB2I", PortabledB2I, ExtendeddB2I}};

// Compares one conversion over a set of inputs; returns the number of mismatches (and reports
// the first few).
int Mismatches(const Pair& p, const Inputs& in, const char* set) {
    int bad = 0;
    for (double x : in) {
        const double got = p.fast(x), want = p.extended(x);
        if (std::bit_cast<std::uint64_t>(got) == std::bit_cast<std::uint64_t>(want)) continue;
        if (++bad <= 3)
            ADD_FAILURE() << p.name << " over " << set << " at " << std::hexfloat << x << ": "
                          << got << " instead of " << want;
    }
    return bad;
}

struct Set {
    const char* name;
    std::function<Inputs()> make;
    bool intensities;  // else levels
};

std::vector<Set> Sets() {
    return {
        {"intensities 1e-30 .. 1e30", [] { return LogUniform(1e-30, 1e30, 100000, 1); }, true},
        {"intensities 1e-12 .. 1e12", [] { return LogUniform(1e-12, 1e12, 50000, 2); }, true},
        {"any positive normal", [] { return AnyPositiveNormal(50000); }, true},
        {"near 1", NearOne, true},
        {"powers of two", PowersOfTwo, true},
        {"table edges", TableEdges, true},
        {"levels -400 .. 400 dB", [] { return Uniform(-400, 400, 100000, 5); }, false},
        {"levels -3000 .. 3000 dB", [] { return Uniform(-3000, 3000, 30000, 6); }, false},
        {"levels in hundredths", LevelGrid, false},
        {"tiny levels", TinyLevels, false},
        {"specials", Specials, true},
        {"specials", Specials, false},
    };
}

TEST(LevelConversions, FastPathsEqualTheExtendedPathsBitForBit) {
    for (const Set& set : Sets()) {
        const Inputs in = set.make();
        for (const Pair& p : kPairs) {
            const bool intensity = p.extended == ExtendedI2dB;
            if (intensity != set.intensities) continue;
            EXPECT_EQ(Mismatches(p, in, set.name), 0);
        }
    }
}

// The array forms give the scalar forms' bits over every input set, its fallbacks included, at
// every offset and length (values left over after the lanes' groups of four), into another
// array and in place.
TEST(LevelConversions, ArrayFormsEqualTheScalarFormsBitForBit) {
    using ArrayConvert = void (*)(const double*, double*, std::size_t);
    for (const Set& set : Sets()) {
        Inputs in = set.make();
        // the specials side by side with ordinary values, so that they share a group of four
        const Inputs mixed =
            set.intensities ? LogUniform(1e-3, 1e3, 64, 9) : Uniform(-50, 50, 64, 9);
        for (std::size_t k = 0; k < mixed.size(); ++k) {
            const auto at = static_cast<std::ptrdiff_t>(std::min(3 * k, in.size()));
            in.insert(in.begin() + at, mixed[k]);
        }
        const Convert one =
            set.intensities ? static_cast<Convert>(I2dB) : static_cast<Convert>(dB2I);
        const ArrayConvert many = set.intensities ? static_cast<ArrayConvert>(I2dB)
                                                  : static_cast<ArrayConvert>(dB2I);
        Inputs want(in.size());
        for (std::size_t i = 0; i < in.size(); ++i) want[i] = one(in[i]);
        for (std::size_t offset : {0, 1, 2, 3}) {
            const std::size_t n = in.size() - offset - (in.size() - offset) % 7;
            Inputs out(in.size(), -1.0);
            Inputs same(in);
            many(in.data() + offset, out.data() + offset, n);
            many(same.data() + offset, same.data() + offset, n);
            int bad = 0;
            for (std::size_t i = 0; i < in.size(); ++i) {
                const bool converted = i >= offset && i < offset + n;
                const double expect = converted ? want[i] : -1.0;
                const double expectSame = converted ? want[i] : in[i];
                if (std::bit_cast<std::uint64_t>(out[i]) != std::bit_cast<std::uint64_t>(expect) ||
                    std::bit_cast<std::uint64_t>(same[i]) !=
                        std::bit_cast<std::uint64_t>(expectSame)) {
                    if (++bad <= 3)
                        ADD_FAILURE() << set.name << " at " << std::hexfloat << in[i] << ": "
                                      << out[i] << ", in place " << same[i] << " instead of "
                                      << expect;
                }
            }
            EXPECT_EQ(bad, 0) << set.name << " offset " << offset;
        }
    }
}

// The fast paths round for themselves on most inputs and leave the ones near a rounding
// boundary to the extended paths: some fall back, but few.
TEST(LevelConversions, FallBackNearRoundingBoundariesOnly) {
    for (const Pair& p : kPairs) {
        const bool intensity = p.extended == ExtendedI2dB;
        const Inputs in =
            intensity ? LogUniform(1e-12, 1e12, 100000, 7) : Uniform(-120, 140, 100000, 8);
        const std::uint64_t before = LevelConversionFallbacks();
        for (double x : in) p.fast(x);
        const auto fallbacks = static_cast<double>(LevelConversionFallbacks() - before);
        EXPECT_GT(fallbacks, 0) << p.name;
        EXPECT_LT(fallbacks / static_cast<double>(in.size()), 0.05) << p.name;
    }
    // Exactly 1 has the level 0 from the extended path.
    EXPECT_EQ(std::bit_cast<std::uint64_t>(I2dB(1.0)), std::bit_cast<std::uint64_t>(0.0));
    EXPECT_EQ(dB2I(0.0), 1.0);
}

}  // namespace
}  // namespace oxw::engine
