#pragma once
// Sorting of arrays of double in place, insertion into sorted lists, and the exchange of two
// values. An array is any contiguous run of elements indexed from 0 to its last index (High).

#include <cstdint>
#include <span>
#include <utility>

#include "numeric/VkrBase.h"

// The exception of these small numeric routines; none of them raises it.
class EVKRMath1Error : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// Inserts value into the sorted array (ascending or descending) and returns its index; the last
// element falls off. Returns -1 and changes nothing when the value belongs behind every element,
// when Duplicates is false and an equal element exists, or when the array is empty. A new value
// equal to existing ones goes in front of them.
int SortIntoArray(std::span<double> SArray, double value, bool Ascending, bool Duplicates);

// For 0 <= index <= High: elements index..High-1 move up one place (the last is dropped) and
// SArray[index] = value. Any other index (negative, or beyond the array) changes nothing.
void InsertIntoArray(std::span<int> SArray, int value, int index);

// Comb sort (shrink factor 1.3) of the whole array, ascending or descending; not stable.
void SortArray(std::span<double> SArray, bool Ascending);

// Swaps the two values.
inline void ExChange(int& x, int& y) { std::swap(x, y); }
inline void ExChange(double& x, double& y) { std::swap(x, y); }
inline void ExChange(long double& x, long double& y) { std::swap(x, y); }

// 1 for a >= 0 (zero counts as positive), -1 otherwise (also for NaN).
int Signum(double a);

// The largest integer not above InNum (its floor). Values beyond the Integer range give the
// range's end (-2147483648 or 2147483647, also for infinities); NaN gives 0.
int IntNeg(double InNum);
