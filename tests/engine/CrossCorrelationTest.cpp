// The interaural cross-correlation: the fast lagged product sums (sixteen and eight samples at a
// time) against one product at a time and closed forms (full-scale samples, where 32-bit
// partial sums would overflow), and the
// engine's coefficient and lag bit for bit against the formula worked out directly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "SpectrumFixture.h"
#include "engine/Engine.h"
#include "engine/LagProducts.h"
#include "support/ScriptedHost.h"

namespace oxw::engine {
namespace {

using spectrumtest::Uniform;

TEST(LagProducts, FastSumsEqualPlainAndClosedForms) {
    constexpr std::int64_t kNoClosedForm = INT64_MIN;
    struct Case {
        const char* name;
        int n, maxLag;
        std::vector<int> a, b;     // empty: seeded full-range samples
        std::int64_t everyLag;     // the sum at every lag, when the samples are constant
    };
    auto constant = [](int n, int maxLag, int v) {
        return std::vector<int>(static_cast<std::size_t>(n + 2 * maxLag), v);
    };
    const std::vector<Case> cases = {
        {"random, pass-1 block", 4006, 45, {}, {}, kNoClosedForm},
        {"random, one lag", 1000, 0, {}, {}, kNoClosedForm},
        {"random, shorter than a vector", 7, 3, {}, {}, kNoClosedForm},
        {"random, one widening span", 1016, 45, {}, {}, kNoClosedForm},
        {"random, one past it", 1017, 45, {}, {}, kNoClosedForm},
        {"random, one widening span of 16 lanes", 2032, 45, {}, {}, kNoClosedForm},
        {"random, one past that", 2033, 45, {}, {}, kNoClosedForm},
        {"empty range", 0, 45, constant(0, 45, 5), constant(0, 45, 5), 0},
        {"both at -32768", 32678, 45, constant(32678, 45, -32768), constant(32678, 45, -32768),
         32678LL << 30},
        {"-32768 against 32767", 4006, 45, constant(4006, 45, -32768), constant(4006, 45, 32767),
         -32768LL * 32767 * 4006},
        {"low bytes 255 against -32768", 4006, 45, constant(4006, 45, 255),
         constant(4006, 45, -32768), -255LL * 32768 * 4006},
        {"silent second channel", 4006, 45, {}, constant(4006, 45, 0), 0},
        {"beyond 16 bits", 4006, 45, constant(4006, 45, 70000), constant(4006, 45, -70000),
         -70000LL * 70000 * 4006},
    };
    std::uint32_t seed = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t size = static_cast<std::size_t>(c.n + 2 * c.maxLag);
        const auto a = c.a.empty() ? Uniform(size, -32768, 32767, seed++) : c.a;
        const auto b = c.b.empty() ? Uniform(size, -32768, 32767, seed++) : c.b;
        const int lags = 2 * c.maxLag + 1;
        std::vector<std::int64_t> fast(static_cast<std::size_t>(lags), -1), narrow(fast), plain(fast);
        LagProductSums(a.data(), b.data(), c.maxLag, c.maxLag + c.n, c.maxLag, fast.data());
        LagProductSums128(a.data(), b.data(), c.maxLag, c.maxLag + c.n, c.maxLag, narrow.data());
        LagProductSumsPlain(a.data(), b.data(), c.maxLag, c.maxLag + c.n, c.maxLag, plain.data());
        EXPECT_EQ(fast, plain);
        EXPECT_EQ(narrow, plain);
        if (c.everyLag != kNoClosedForm) {
            EXPECT_EQ(fast, std::vector<std::int64_t>(static_cast<std::size_t>(lags), c.everyLag));
        }
    }
}

// The correlation worked out from its definition over i = 45..n-46: the best |cor_j| - |j| 1e-5
// above 0, the earlier lag on a tie; a silent channel leaves 0 and 0.
void Reference(const std::vector<int>& l, const std::vector<int>& r, double& maxcor,
               double& maxlag) {
    const int n = static_cast<int>(l.size());
    const double M = n - 90;
    std::int64_t xx = 0, yy = 0;
    for (int i = 45; i < n - 45; ++i) {
        xx += static_cast<std::int64_t>(l[i]) * l[i];
        yy += static_cast<std::int64_t>(r[i]) * r[i];
    }
    maxcor = maxlag = 0;
    if (xx == 0 || yy == 0) return;
    double best = 0;
    for (int j = -45; j <= 45; ++j) {
        std::int64_t sum = 0;
        for (int i = 45; i < n - 45; ++i) sum += static_cast<std::int64_t>(l[i + j]) * r[i];
        const double cor = (sum / M) / std::sqrt((xx / M) * (yy / M));
        if (std::fabs(cor) - std::abs(j) * 1e-5 > best) {
            best = std::fabs(cor) - std::abs(j) * 1e-5;
            maxcor = cor;
            maxlag = j / 44.1;
        }
    }
}

TEST(CrossCorrelation, SameCoefficientAndLagAsTheDefinition) {
    struct Case {
        const char* name;
        int points;
        std::vector<int> left, right;
        double expectedLag;  // NAN: whatever the definition gives
    };
    std::vector<Case> cases;
    for (int points : {4096, 32768}) {
        const auto n = static_cast<std::size_t>(points);
        auto noise = Uniform(n, -20000, 20000, static_cast<std::uint32_t>(points));
        // The right channel leads the left by 9 samples, with noise of its own.
        auto right = Uniform(n, -3000, 3000, 7);
        for (std::size_t i = 0; i + 9 < n; ++i) right[i] += noise[i + 9] / 2;
        cases.push_back({"delayed copy", points, noise, right, 9 / 44.1});
        cases.push_back({"independent full scale", points, Uniform(n, -32768, 32767, 3),
                         Uniform(n, -32768, 32767, 4), NAN});
        cases.push_back({"both at -32768", points, std::vector<int>(n, -32768),
                         std::vector<int>(n, -32768), 0.0});
    }
    // A single click on the right and a left channel symmetric about it (loud outside the lag
    // window, so the coefficient is small): lags -3 and +3 tie exactly and the earlier one is
    // kept; at +2 a sample 12 below the tie wins by its smaller lag penalty (by 4e-7), one 13
    // below loses (by 4e-7).
    std::vector<int> click(4096, 0), symmetric(4096);
    click[2000] = 30000;
    for (int i = 0; i < 4096; ++i) symmetric[i] = i >= 1955 && i <= 2045 ? 1 : (i % 2 ? 20000 : -20000);
    symmetric[1997] = symmetric[2003] = 25000;
    cases.push_back({"exact tie", 4096, symmetric, click, -3 / 44.1});
    symmetric[2002] = 25000 - 12;
    cases.push_back({"near tie won by the smaller lag", 4096, symmetric, click, 2 / 44.1});
    symmetric[2002] = 25000 - 13;
    cases.push_back({"near tie lost by the smaller lag", 4096, symmetric, click, -3 / 44.1});
    cases.push_back({"silent left", 4096, std::vector<int>(4096, 0), click, 0.0});

    test::ScriptedHost host;
    Engine engine(host);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.points));
        engine.S().POINTS = c.points;
        double maxcor = 0, maxlag = 0, refcor = 0, reflag = 0;
        engine.CrossCorrelation(c.left.data(), c.right.data(), maxcor, maxlag);
        Reference(c.left, c.right, refcor, reflag);
        EXPECT_EQ(maxcor, refcor);
        EXPECT_EQ(maxlag, reflag);
        if (!std::isnan(c.expectedLag)) {
            EXPECT_EQ(maxlag, c.expectedLag);
        }
    }
}

}  // namespace
}  // namespace oxw::engine
