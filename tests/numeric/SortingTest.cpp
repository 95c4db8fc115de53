// Sorting, insertion into sorted lists, the sign and floor helpers and the two string utilities.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "numeric/Sorting.h"
#include "numeric/TextSearch.h"

TEST(Sorting, SortIntoArrayPlacesOrRefuses) {
    struct Case {
        std::vector<double> in;
        double value;
        bool ascending, duplicates;
        int index;
        std::vector<double> out;
    };
    const Case cases[] = {
        {{1, 3, 5, 7}, 4, true, false, 2, {1, 3, 4, 5}},
        {{1, 3, 5, 7}, 9, true, false, -1, {1, 3, 5, 7}},   // behind every element
        {{1, 3, 5, 7}, 3, true, false, -1, {1, 3, 5, 7}},   // no duplicates wanted
        {{1, 3, 5, 7}, 1, true, false, -1, {1, 3, 5, 7}},   // ... nor of the first element
        {{1, 3, 5, 7}, 3, true, true, 1, {1, 3, 3, 5}},     // in front of the equal one
        {{1, 3, 5, 7}, 0, true, false, 0, {0, 1, 3, 5}},
        {{1, 3, 5, 7}, 7, true, true, 3, {1, 3, 5, 7}},     // equal to the last: replaces it
        {{7, 5, 3, 1}, 4, false, false, 2, {7, 5, 4, 3}}, {{7, 5, 3, 1}, 0, false, false, -1, {7, 5, 3, 1}},
        {{7, 5, 3, 1}, 5, false, true, 1, {7, 5, 5, 3}}, {{2}, 1, true, false, 0, {1}},
        {{}, 1, true, true, -1, {}},                       // empty array
    };
    for (const Case& c : cases) {
        std::vector<double> a = c.in;
        EXPECT_EQ(c.index, SortIntoArray(a, c.value, c.ascending, c.duplicates)) << c.value;
        EXPECT_EQ(c.out, a) << c.value;
    }
}

TEST(Sorting, InsertIntoArrayShiftsOrIgnoresBadIndices) {
    struct Case {
        int value, index;
        std::vector<int> out;
    };
    const Case cases[] = {
        {9, 1, {1, 9, 2, 3}}, {9, 0, {9, 1, 2, 3}}, {9, 3, {1, 2, 3, 9}},
        {9, 4, {1, 2, 3, 4}},   // beyond the array
        {9, -1, {1, 2, 3, 4}},  // "not found" from SortIntoArray: nothing before the array
        {9, -1000000, {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        std::vector<int> a{1, 2, 3, 4};
        InsertIntoArray(a, c.value, c.index);
        EXPECT_EQ(c.out, a) << c.index;
    }
    std::vector<int> none;
    InsertIntoArray(none, 1, 0);
    EXPECT_TRUE(none.empty());
}

// Short and long runs with repeats, against the standard sort, both ways.
TEST(Sorting, CombSortBothWays) {
    for (std::size_t n : {0, 1, 2, 3, 200}) {
        std::vector<double> a;
        for (std::size_t i = 0; i < n; ++i) a.push_back(static_cast<double>((i * 7919) % 97) - 40.5);
        std::vector<double> up = a, down = a;
        SortArray(up, true);
        SortArray(down, false);
        std::sort(a.begin(), a.end());
        EXPECT_EQ(a, up) << n;
        EXPECT_EQ(std::vector<double>(a.rbegin(), a.rend()), down) << n;
    }
}

TEST(Sorting, SignumAndIntNeg) {
    EXPECT_EQ(std::tuple(1, 1, -1), std::tuple(Signum(0.0), Signum(2.5), Signum(-1e-300)));
    struct Case { double in; int out; };
    constexpr double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {  // the floor, clamped to Integer
        {-0.5, -1}, {2.0, 2}, {2.5, 2}, {3.5, 3}, {-2.5, -3}, {-3.0, -3}, {0.0, 0},
        {2147483646.5, 2147483646}, {2147483647.0, 2147483647},
        {5e9, 2147483647}, {inf, 2147483647},                      // beyond the Integer range
        {-2147483648.0, -2147483647 - 1}, {-5e9, -2147483647 - 1}, {-inf, -2147483647 - 1},
        {std::nan(""), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.out, IntNeg(c.in)) << c.in;
}

TEST(TextSearch, NumberedPosFindsTheNthOccurrence) {
    struct Case {
        std::string sub, main;
        int start, count;
        bool ignoreCase;
        int pos;
    };
    const Case cases[] = {
        {"bc", "abcabc", 1, 2, false, 5}, {"bc", "abcabc", 3, 1, false, 5},
        {"bc", "abcabc", 1, 3, false, 0}, {"BC", "abcabc", 1, 2, true, 5},
        {"BC", "abcabc", 1, 1, false, 0},
        {"bc", "abcabc", -4, 1, false, 2},  // a start below 1 counts as 1
        {"bc", "abcabc", 1, 0, false, 0},
        {"aa", "aaaa", 1, 2, false, 3},      // occurrences do not overlap
        {"", "abc", 1, 1, false, 0},         // empty substring
        {"bc", "abcabc", 99, 1, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.pos, NumberedPos(c.sub, c.main, c.start, c.count, c.ignoreCase))
            << c.sub << " in " << c.main << " from " << c.start << " #" << c.count;
}

TEST(TextSearch, ParseQuotedNameReadsQuotedAndPlainNames) {
    // Feeds the text; returns the names completed, in order.
    auto names = [](const std::string& text) {
        std::vector<std::string> out;
        std::string name;
        TQuotedStrState state = vsStart;
        for (char cc : text)
            if (ParseQuotedName(cc, '"', name, state)) {
                out.push_back(name);
                name.clear();
            }
        return out;
    };
    EXPECT_EQ((std::vector<std::string>{"a b"}), names(" \"a b\""));
    EXPECT_EQ((std::vector<std::string>{"abc", "de"}), names("  abc de "));
    EXPECT_EQ((std::vector<std::string>{"\"x"}), names("\"\"x "));  // doubled quote
    EXPECT_EQ((std::vector<std::string>{""}), names("\"\n"));         // control after the quote
    EXPECT_EQ((std::vector<std::string>{"ab"}), names("a\"b\" "));   // a quote inside a plain name
}
