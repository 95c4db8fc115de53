// The small library's vector helpers.

#include <gtest/gtest.h>

#include "numeric/Matrices.h"

TEST(Matrices, DimVectorSizesAndZeroes) {
    matrices::TVector v{1.0, 2.0};
    matrices::DimVector(v, 3);
    EXPECT_EQ((matrices::TVector{0.0, 0.0, 0.0, 0.0}), v);
    matrices::DimVector(v, 0);
    EXPECT_EQ(1u, v.size());
    matrices::DimVector(v, -1);
    EXPECT_TRUE(v.empty());
}

TEST(Matrices, MinAndMaxOverAStretch) {
    const matrices::TVector x{0.0, 5.0, -2.0, 7.0, 3.0}; // element 0 set aside
    const struct { int lo, hi; double min, max; } cases[] = {
        {1, 4, -2.0, 7.0}, {3, 4, 3.0, 7.0},
        {2, 2, -2.0, -2.0},   // one element
        {3, 1, 7.0, 7.0},     // Ubound <= Lbound gives X[Lbound]
        {1, 100, -2.0, 7.0},  // bounds beyond the vector are clipped
        {-5, 1, 0.0, 5.0},
        {10, 12, 0.0, 0.0},   // wholly outside: 0.0, nothing read
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.min, matrices::Min(x, c.lo, c.hi)) << c.lo << ".." << c.hi;
        EXPECT_EQ(c.max, matrices::Max(x, c.lo, c.hi)) << c.lo << ".." << c.hi;
    }
    EXPECT_EQ(0.0, matrices::Max(matrices::TVector{}, 1, 3));
}
