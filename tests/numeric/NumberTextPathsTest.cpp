// The fast number texts against the plain ones on a seeded sample that reaches every branch of
// the fast path: the edge cases (buffer limits, precision and decimals out of range), values of
// every kind, magnitude, width and number of decimals, and the 15-digit ties it settles itself.
// The hand-worked texts of NumberFormatTest check both paths against the rules themselves.
#include "numeric/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace oxw::numeric;

constexpr double kInf = std::numeric_limits<double>::infinity();

// Sample sizes: enough to reach every branch of the fast path (checked by breaking each).
constexpr int kSeeded = 20000, kTies15 = 2000, kTiesWithin = 200;

struct PathGuard {
    ~PathGuard() { SetNumberTextPath(NumberTextPath::Fast); }
};

struct Request { double x; int width, decimals, precision; };

// Every conversion of one value, on one path.
std::string AllTexts(const Request& r, NumberTextPath path) {
    SetNumberTextPath(path);
    char written[kFloatToStrRoom];
    const std::string direct(written, writeFloatToStr(written, r.x));
    return fixedField(r.x, r.width, r.decimals) + "|" + expField(r.x, r.width) + "|" +
           floatToStrF(r.x, r.precision, r.decimals) + "|" + floatToStr(r.x) + "|<" + direct;
}

// Compares the paths; false (after one failure message) when they differ.
bool SameOnBothPaths(const Request& r) {
    const std::string plain = AllTexts(r, NumberTextPath::Plain);
    const std::string fast = AllTexts(r, NumberTextPath::Fast);
    if (fast == plain) return true;
    ADD_FAILURE() << "x=" << std::hexfloat << r.x << std::defaultfloat << " W=" << r.width
                  << " D=" << r.decimals << " P=" << r.precision << "\n fast:  " << fast
                  << "\n plain: " << plain;
    return false;
}

// x and the doubles up to `steps` on either side of it.
bool SameAround(double x, int steps, int decimals, int precision) {
    double below = x, above = x;
    for (int i = 0; i <= steps; ++i) {
        if (!SameOnBothPaths({below, 0, decimals, precision}) ||
            !SameOnBothPaths({-above, 0, decimals, precision}))
            return false;
        below = std::nextafter(below, 0.0);
        above = std::nextafter(above, kInf);
    }
    return true;
}

TEST(NumberTextPaths, EdgeCasesGiveTheSameText) {
    PathGuard guard;
    const Request cases[] = {
        // The limits of the fast buffers: 24 digits before and after the point, precision and
        // decimals beyond their ranges, widths negative and wide; subnormals.
        {1e23, 0, 0, 15}, {9.999999999999999e23, 0, 0, 15}, {1e24, 0, 1, 15}, {1e25, 0, 2, 15},
        {0.1, 0, 24, 15}, {0.1, 0, 25, 15}, {1.0 / 3, 40, 24, 19}, {123.456, 0, 30, 0},
        {123.456, 0, 19, -5}, {41.0, -4, -2, 10}, {3.25, 200, 1, 15}, {-5e-324, 30, 18, 18},
        // The limits of floatToStr's fixed range and of its 15 digits.
        {0.00009999999999999999, 0, 2, 15}, {100000000000000.0, 0, 0, 15},
        {999999999999999.9, 0, 0, 15}, {1234567890123456.0, 0, 0, 15}, {99999.96, 10, 1, 5},
    };
    for (const auto& c : cases) SameOnBothPaths(c);
}

// Values of every kind: decimal literals (whose shortest text ends where a tie may fall), values
// of random magnitude and sign, random bit patterns (subnormal, huge, non-finite), and zeros.
double SeededValue(std::mt19937_64& gen) {
    std::uniform_int_distribution<int> kind(0, 15);
    switch (kind(gen) % 4) {
        case 0: {
            std::uniform_int_distribution<std::int64_t> digits(-99999999, 99999999);
            std::uniform_int_distribution<int> scale(0, 12);
            return static_cast<double>(digits(gen)) / std::pow(10.0, scale(gen));
        }
        case 1: {
            std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
            std::uniform_int_distribution<int> power(-30, 30);
            return mantissa(gen) * std::pow(10.0, power(gen));
        }
        case 2: {
            const std::uint64_t bits = gen();
            double x;
            std::memcpy(&x, &bits, sizeof x);
            return x;
        }
        default:
            return gen() % 2 ? 0.0 : -0.0;
    }
}

TEST(NumberTextPaths, SeededValuesGiveTheSameText) {
    PathGuard guard;
    std::mt19937_64 gen(20240917);
    std::uniform_int_distribution<int> width(-2, 30), decimals(-1, 26), precision(0, 20);
    for (int i = 0; i < kSeeded; ++i) {
        const Request r{SeededValue(gen), width(gen), decimals(gen), precision(gen)};
        if (!SameOnBothPaths(r)) break;  // one value tells; a flood would hide it
    }
}

// The double nearest to a decimal of 15 random digits from `low` up, one of the tails and an
// exponent in -power .. 0 (or -power .. power).
double TieNear(std::mt19937_64& gen, std::int64_t low, const std::vector<std::string>& tails,
               int power, bool both) {
    std::uniform_int_distribution<std::int64_t> digits(low, 999999999999999);
    std::uniform_int_distribution<int> exponent(-power, both ? power : 0);
    std::uniform_int_distribution<std::size_t> tail(0, tails.size() - 1);
    const std::string text = std::to_string(digits(gen)) + tails[tail(gen)] + "e" +
                             std::to_string(exponent(gen));
    return std::strtod(text.c_str(), nullptr);
}

// Values at and around the ties of the 15-digit texts: decimals of 16 and 17 digits ending in
// 5, 49, 51 and 50 and the doubles a few steps on either side, at every magnitude the fast
// 15-digit path takes and beyond it; and values next to powers of ten, where the digits gain one
// place. Then values whose tie lies within their rounding interval (the decimals that read back
// as the same double): their shortest decimal has 16 digits, and the fast path takes the tenth
// nearest to the exact value. The 17-digit decimals n.45, n.5 and n.55 around each tie and the
// doubles up to 40 steps on either side, at every magnitude the exact product covers (1e-13 ..
// 1e15), in the upper half of the digit range, where those intervals are widest.
TEST(NumberTextPaths, FifteenDigitTiesGiveTheSameText) {
    PathGuard guard;
    std::mt19937_64 gen(15);
    std::uniform_int_distribution<int> power(-45, 45);
    for (int i = 0; i < kTies15; ++i) {
        const double x = TieNear(gen, 100000000000000, {"5", "49", "51", "50"}, 45, true);
        if (!SameAround(x, 3, 2, 15) || !SameAround(std::pow(10.0, power(gen)), 1, 2, 15)) return;
    }
    for (int i = 0; i < kTiesWithin; ++i)
        if (!SameAround(TieNear(gen, 450000000000000, {".45", ".5", ".55"}, 27, false), 40, 2, 15))
            return;
}

// floatToStrF at the limits of its fixed texts, for every precision and number of decimals: the
// value that fills every digit the precision allows (10^(p-d) - 10^-d), the tie that carries it
// into one digit more (10^(p-d) - 10^-d / 2) and the power itself, with the doubles three steps
// on either side of each.
TEST(NumberTextPaths, FloatToStrFAtItsPrecisionLimitsGivesTheSameText) {
    PathGuard guard;
    for (int precision = 1; precision <= 18; ++precision) {
        for (int decimals = 0; decimals <= 18; ++decimals) {
            const double power = std::pow(10.0, precision - decimals);
            const double unit = std::pow(10.0, -decimals);
            for (double x : {power - unit, power - unit / 2, power})
                if (!SameAround(x, 3, decimals, precision)) return;
        }
    }
}

}  // namespace
