// The component library's vector and matrix containers: bounds, resizing, events and the window
// statistics, checked against values worked out by hand.

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "numeric/VkrMatrix.h"
#include "numeric/VkrVector.h"

namespace {

TVector VectorOf(const std::vector<double>& values) {
    TVector v;
    v.SetVecSize(static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) v.SetVal(static_cast<int>(i) + 1, values[i]);
    return v;
}

// A matrix whose column `col` holds the values.
TMatrix ColumnOf(int cols, int col, const std::vector<double>& values) {
    TMatrix m;
    m.Resize(cols, static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) m.SetVal(col, static_cast<int>(i) + 1, values[i]);
    return m;
}

}  // namespace

TEST(VkrVector, BoundsResizeAndEvents) {
    TVector v;
    int changes = 0;
    v.SetOnChange([&] { ++changes; });
    EXPECT_EQ(1, v.NrOfElem());
    EXPECT_EQ(std::tuple(0.0, 0.0), std::tuple(v.GetVal(0), v.GetVal(2)));
    v.SetVal(2, 5.0);  // outside: dropped, no event
    v.SetVecSize(0);
    v.SetVecSize(1);
    EXPECT_FALSE(v.Resize(0));
    EXPECT_TRUE(v.Resize(1));
    EXPECT_EQ(0, changes);
    v.SetVal(1, 1.5);
    EXPECT_TRUE(v.Resize(3));
    v.SetVal(3, 3.5);
    EXPECT_EQ(3, changes);
    v.Resize(5);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(i == 1 ? 1.5 : i == 3 ? 3.5 : 0.0, v.GetVal(i)) << i;
    v.Resize(2);
    EXPECT_EQ(std::tuple(1.5, 0.0), std::tuple(v.GetVal(1), v.GetVal(3)));
    v.Fill(2.0);
    v.Clear();
    EXPECT_EQ(7, changes);
}

TEST(VkrVector, SortElemsReportsEverySwapInOrder) {
    TVector v = VectorOf({5, 4, 3, 2, 1, 0});
    int changes = 0, swaps = 0;
    bool ordered = true;
    v.SetOnChange([&] { ++changes; });
    v.SetOnSortExchange([&](std::uint8_t what, int i1, int i2, int, int) {
        ++swaps;
        ordered = ordered && what == 0 && i1 < i2 && i1 >= 1 && i2 <= 5;
    });
    v.SortElems(true, 5, 1);  // reversed bounds, element 6 untouched
    EXPECT_EQ(1, changes);
    EXPECT_GT(swaps, 0);
    EXPECT_TRUE(ordered);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(i % 6, v.GetVal(i));
    v.SortElems(false, -3, 99);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(6 - i, v.GetVal(i));
    v.SortElems(true, 4, 4);  // one element: nothing, no event
    EXPECT_EQ(2, changes);
}

// Quartiles interpolate at q (n - 1) / 4 (Hyndman and Fan 1996, type 7), from a vector and from
// a matrix column alike.
TEST(VkrVector, QuartilesInterpolateLikeTypeSeven) {
    const struct { std::vector<double> values; double q1, q2, q3; } cases[] = {
        {{6, 7, 15, 36, 39, 40, 41, 42, 43, 47, 49}, 25.5, 40, 42.5}, {{1, 2, 3, 4, 5}, 2, 3, 4},
        {{4, 1, 3, 2}, 1.75, 2.5, 3.25}, {{7}, 7, 7, 7},
    };
    for (const auto& c : cases) {
        const TVector v = VectorOf(c.values);
        const TMatrix m = ColumnOf(2, 2, c.values);
        double q[2][3] = {};
        EXPECT_TRUE(v.Quartiles(v.NrOfElem(), 1, q[0][0], q[0][1], q[0][2]));
        EXPECT_TRUE(m.Quartiles(2, m.NrOfRows(), 2, 1, q[1][0], q[1][1], q[1][2]));
        for (const auto& got : q)
            EXPECT_EQ(std::tuple(got[0], got[1], got[2]), std::tuple(c.q1, c.q2, c.q3)) << c.values.size();
    }
}

TEST(VkrMatrix, BoundsResizeAndCopies) {
    TMatrix m;
    EXPECT_EQ(std::tuple(1, 0.0, 0.0), std::tuple(m.NrOfColumns(), m.GetVal(0, 1), m.GetVal(2, 1)));
    EXPECT_EQ(std::tuple(15, -1), std::tuple(m.Precision(1), m.Precision(2)));
    m.SetNrOfRows(0);
    EXPECT_EQ(1, m.NrOfRows());
    m.Resize(2, 3);
    for (int c = 1; c <= 2; ++c)
        for (int r = 1; r <= 3; ++r) m.SetVal(c, r, 10 * c + r);
    m.Resize(3, 2);
    EXPECT_EQ(std::tuple(22.0, 0.0, 0.0), std::tuple(m.GetVal(2, 2), m.GetVal(3, 1), m.GetVal(1, 3)));

    TMatrix tall;
    tall.Resize(1, 10);
    for (int r = 1; r <= 10; ++r) tall.SetVal(1, r, r);
    TVector four;
    four.Resize(4);
    tall.CopyColToVec(&four, 1, 1, 10);
    EXPECT_EQ(4, four.GetVal(4));
    tall.CopyColToVec(&four, 1, 9, 8);  // reversed rows; the rest of the vector is 0
    EXPECT_EQ(std::tuple(8.0, 9.0, 0.0), std::tuple(four.GetVal(1), four.GetVal(2), four.GetVal(3)));

    // A copy within one matrix reads the source as it was: rows 1..9 move down by one.
    int changes = 0;
    tall.SetOnChange([&] { ++changes; });
    tall.CopyFrom(&tall, 1, 1, 1, 9, 1, 2);
    EXPECT_EQ(std::tuple(1.0, 9.0), std::tuple(tall.GetVal(1, 2), tall.GetVal(1, 10)));
    EXPECT_EQ(10, changes);  // nine cell writes and one more at the end
    tall.CopyFrom(&m, 1, 1, 3, 2, 5, 5);  // every target outside: only the closing event
    EXPECT_EQ(11, changes);

    // Column writes: the part inside the matrix, one event each; nothing inside, no event.
    const double values[] = {-1, -2, -3, -4};
    tall.SetColumnValues(1, 8, values, 4);  // rows 8..11: 11 lies outside
    EXPECT_EQ(std::tuple(-1.0, -3.0), std::tuple(tall.GetVal(1, 8), tall.GetVal(1, 10)));
    tall.SetColumnValues(1, -1, values, 3);  // rows -1..1: only row 1
    EXPECT_EQ(std::tuple(-3.0, 2.0), std::tuple(tall.GetVal(1, 1), tall.GetVal(1, 3)));
    EXPECT_EQ(13, changes);
    tall.SetColumnValues(2, 1, values, 4);   // no such column
    tall.SetColumnValues(1, 11, values, 2);  // no row inside
    EXPECT_EQ(13, changes);
}

TEST(VkrMatrix, RowsAddedOneAtATimeMoveTheStorageRarelyAndKeepEveryValue) {
    TMatrix m;
    int changes = 0, moves = 0;
    m.SetOnChange([&] { ++changes; });
    m.Resize(3, 1);
    for (int n = 1; n <= 5000; ++n) {
        m.SetVal(1, n, n);
        m.SetVal(2, n, -n);
        m.SetVal(3, n + 1, 7);  // outside: dropped, although the room is there
        const int room = m.RowCapacity();
        m.Resize(3, n + 1);
        moves += m.RowCapacity() != room;
        ASSERT_EQ(0.0, m.GetVal(3, n + 1)) << n;
    }
    EXPECT_EQ(5001, m.NrOfRows());
    EXPECT_LE(moves, 14);  // the room doubles: about log2(5000) moves
    EXPECT_LT(m.RowCapacity(), 2 * 5001);
    EXPECT_EQ(1 + 5000 * 2 + 5000, changes);  // every stored write and every resize, once
    for (int r = 1; r <= 5000; ++r) ASSERT_EQ(std::tuple(r, -r), std::tuple(m.GetVal(1, r), m.GetVal(2, r)));
    EXPECT_EQ(std::tuple(0.0, 0.0), std::tuple(m.GetVal(1, 5002), m.GetVal(4, 1)));

    // Rows given up and taken back, columns added, dropped and taken back, all in the room of a
    // filled matrix: what comes back holds zeros, what stays keeps its value. Shrunk far below
    // its room, the matrix lets the room go.
    struct Cell { int c, r; double v; };
    const struct { int cols, rows; std::vector<Cell> cells; } steps[] = {
        {3, 4000, {{1, 4000, 2.5}, {1, 4001, 0}}},
        {3, 5001, {{1, 4000, 2.5}, {1, 4001, 0}, {3, 5001, 0}}},
        {4, 5003, {{3, 4000, 2.5}, {3, 5002, 0}, {4, 1, 0}}}, {2, 5003, {{2, 1, 2.5}, {3, 1, 0}}},
        {3, 5003, {{2, 1, 2.5}, {3, 1, 0}}}, {3, 2, {{2, 2, 2.5}, {1, 3, 0}}},
    };
    m.Fill(2.5);
    for (const auto& step : steps) {
        m.Resize(step.cols, step.rows);
        for (const Cell& cell : step.cells)
            EXPECT_EQ(cell.v, m.GetVal(cell.c, cell.r))
                << step.cols << " x " << step.rows << " [" << cell.c << ", " << cell.r << "]";
    }
    EXPECT_EQ(2, m.RowCapacity());
}

TEST(VkrMatrix, WindowStatistics) {
    TMatrix m;
    m.Resize(3, 3);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 3; ++r) m.SetVal(c, r, c * r - 4);
    double lo = 0, hi = 0;
    m.MinMax(5, 5, 1, 1, lo, hi);  // reversed and beyond: the whole matrix
    EXPECT_EQ(std::tuple(-3.0, 5.0), std::tuple(lo, hi));

    // Sample variance from 3 cells up; fewer give 1.
    const struct { std::vector<double> cells; double mean, variance; } cases[] = {
        {{1, 3}, 2, 1.0}, {{1, 3, 5}, 3, 4}, {{2, 4, 4, 4, 5, 5, 7, 9}, 5, 32.0 / 7},
        {{1e9 + 2, 1e9 + 4, 1e9 + 4, 1e9 + 4, 1e9 + 5, 1e9 + 5, 1e9 + 7, 1e9 + 9}, 1e9 + 5,
         32.0 / 7},  // far from 0: no cancellation
        {{0.7, 0.7, 0.7}, 0.7, 0.0},  // equal cells: 0, not a rounding error
    };
    for (const auto& c : cases) {
        const TMatrix col = ColumnOf(1, 1, c.cells);
        double mean = -1, var = -1;
        col.MeanVar(1, 1, 1, col.NrOfRows(), mean, var);
        EXPECT_DOUBLE_EQ(c.mean, mean) << c.cells.size();
        EXPECT_DOUBLE_EQ(c.variance, var) << c.cells.size();
    }
}

TEST(VkrMatrix, StandardizeLeavesConstantColumnsAlone) {
    TMatrix m = ColumnOf(2, 1, {0.7, 0.7, 0.7});
    for (int r = 1; r <= 3; ++r) m.SetVal(2, r, 2 * r - 1);
    TVector means, sds;
    means.Resize(2);
    sds.Resize(1);  // too short: the second deviation is dropped
    int changes = 0;
    m.SetOnChange([&] { ++changes; });
    m.StandardizeColumns(&means, &sds);
    EXPECT_EQ(1, changes);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(0.7, m.GetVal(1, r));
    EXPECT_EQ(0.0, sds.GetVal(1));
    EXPECT_DOUBLE_EQ(0.7, means.GetVal(1));
    EXPECT_EQ(std::tuple(3.0, -1.0, 1.0), std::tuple(means.GetVal(2), m.GetVal(2, 1), m.GetVal(2, 3)));
    m.StandardizeColumns(nullptr, nullptr);
}

TEST(VkrMatrix, ResizedBelowOneByOneHoldsNoCells) {
    for (const auto& size : {std::pair{0, 3}, std::pair{3, 0}, std::pair{-2, -5}}) {
        TMatrix m;
        m.SetVal(1, 1, 4);
        EXPECT_TRUE(m.Resize(size.first, size.second));
        const double before = m.GetVal(1, 1);
        m.SetVal(1, 1, 4);
        double lo = 0, hi = 0, mean = -9, var = -9, q1 = 1, q2 = 1, q3 = 1;
        m.MinMax(1, 1, 3, 3, lo, hi);
        m.MeanVar(1, 1, 3, 3, mean, var);  // nothing written
        EXPECT_FALSE(m.Quartiles(1, 1, 3, 3, q1, q2, q3));
        EXPECT_EQ(std::tuple(before, m.GetVal(1, 1), lo, hi, mean, var, q1),
                  std::tuple(0.0, 0.0, 1.7e38, -1.7e38, -9.0, -9.0, 0.0));
        TVector v;
        v.SetVal(1, 8);
        m.CopyColToVec(&v, 1, 1, 3);
        m.StandardizeColumns(&v, nullptr);
        m.CopyFrom(&m, 1, 1, 2, 2, 1, 1);
        EXPECT_EQ(8, v.GetVal(1));
    }
}

TEST(VkrMatrix, IntMatrixRefusesSameOrEmptySizes) {
    TIntMatrix m;
    int changes = 0;
    m.SetOnChange([&] { ++changes; });
    EXPECT_FALSE(m.Resize(1, 1));
    EXPECT_FALSE(m.Resize(0, 4));
    EXPECT_EQ(0, changes);
    m.SetVal(1, 1, 7);
    EXPECT_TRUE(m.Resize(2, 3));
    m.SetVal(3, 1, 5);  // outside
    EXPECT_EQ(std::tuple(7, 0, 0), std::tuple(m.GetVal(1, 1), m.GetVal(2, 3), m.GetVal(3, 1)));
    m.SetNrOfRows(-4);
    EXPECT_EQ(1, m.NrOfRows());
    EXPECT_EQ(3, changes);
}
