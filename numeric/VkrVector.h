#pragma once
// TVector: the component library's vector of doubles with 1-based, bounds-checked access and
// change notification. Reads outside 1..NrOfElem give 0.0, writes outside are dropped without an
// event. A vector always holds at least one element. (Not the plain dynamic array
// matrices::TVector of the small numeric library.)

#include <cstdint>
#include <functional>
#include <vector>

#include "numeric/VkrBase.h"

class EVKRVectorError : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// Called for every exchange of two elements during a sort: what was exchanged (ExchgWhat, one of
// the codes below), the two indices (index1 < index2), and two further numbers (0 for a vector
// sort).
using TSortExchgEvent =
    std::function<void(std::uint8_t ExchgWhat, int index1, int index2, int first, int last)>;
// What a sort exchanged.
inline constexpr std::uint8_t kExchgElems = 0;    // two elements of a vector
inline constexpr std::uint8_t kExchgColumns = 1;  // two whole columns of a matrix
inline constexpr std::uint8_t kExchgRows = 2;     // two whole rows of a matrix
using TNotifyEvent = std::function<void()>;

class TVector : public TComponent {
public:
    // One element, 0.0.
    explicit TVector(TComponent* AOwner = nullptr);

    int NrOfElem() const { return static_cast<int>(FVec.size()); }
    // Values below 1 and the current size are ignored; otherwise Resize(n).
    void SetVecSize(int n);
    // NE = NrOfElem: true, nothing else; NE <= 0: false, nothing changes. Otherwise keeps the
    // first min(old, NE) values, zeroes new ones, fires OnChange and returns true.
    bool Resize(int NE);

    double GetVal(int i) const { return Inside(i) ? FVec[static_cast<std::size_t>(i - 1)] : 0.0; }
    // Stores and fires OnChange for 1 <= i <= NrOfElem; otherwise nothing happens.
    void SetVal(int i, double v);

    void Fill(double value);  // OnChange once
    void Clear();             // every element 0.0; OnChange once

    // Comb sort of elements LoIx..HiIx (exchanged when reversed, then clamped to the vector);
    // SortExchange for every swap, OnChange once at the end; nothing for a range of one element.
    void SortElems(bool Ascending, int LoIx, int HiIx);

    // Quartiles of elements LoIx..HiIx (clamped, exchanged when reversed), interpolated at
    // q (n - 1) / 4 of the sorted values (Hyndman and Fan type 7); one value gives it three
    // times. Returns true (a vector always has storage).
    bool Quartiles(int LoIx, int HiIx, double& Q1, double& Q2, double& Q3) const;

    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
    void SetOnSortExchange(TSortExchgEvent handler) { FOnSortExchange = std::move(handler); }
    void Changed() const;
    void SortExchange(std::uint8_t ExchgWhat, int index1, int index2, int first, int last) const;

private:
    bool Inside(int i) const { return i >= 1 && i <= NrOfElem(); }

    std::vector<double> FVec;
    TNotifyEvent FOnChange;
    TSortExchgEvent FOnSortExchange;
};

// Quartiles of n >= 1 values sorted ascending, by the rule of TVector::Quartiles.
void QuartilesOfSorted(const double* a, int n, double& Q1, double& Q2, double& Q3);
