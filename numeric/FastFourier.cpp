#include "numeric/FastFourier.h"

#include <algorithm>
#include <cmath>
#include <new>

TFastFourier::TFastFourier(TComponent* AOwner)
    : TComponent(AOwner)
    , FUserWgt(defFFTSize, 1.0)
    , FDataBuf(2 * defFFTSize, 0.0)
{
}

TFastFourier::~TFastFourier() = default;

void TFastFourier::Fail(const char* problem) const
{
    throw EVKRFourierError(ComponentMessage(*this, problem));
}

void TFastFourier::SetNumData(int ndata)
{
    // Only the powers of two up to 2^23 have a single bit among the low 24 bits; 1 passes that
    // test too but is no transform, so it is refused with the range spelt out.
    if (ndata <= 0 || ndata > maxFFTSize || (ndata & (ndata - 1)) != 0)
        Fail("data length must be power of 2");
    if (ndata < minFFTSize)
        Fail("data length must be power of 2 between 2 and 8388608");
    const auto n = static_cast<std::size_t>(ndata);
    if (ndata == FNumData) { // same size: zero in place, no allocation
        std::fill(FDataBuf.begin(), FDataBuf.end(), 0.0);
        std::fill(FUserWgt.begin(), FUserWgt.end(), 0.0);
        return;
    }
    try {
        std::vector<double> data(2 * n, 0.0);
        std::vector<double> user(n, 0.0);
        FDataBuf.swap(data);
        FUserWgt.swap(user);
    } catch (const std::bad_alloc&) {
        Fail("not enough memory on heap");
    }
    FNumData = ndata;
    FWeights.clear();
}

void TFastFourier::SetWgtWin(TFastFourierWgtWin ww)
{
    if (ww <= fwUserDef)
        FWgtWin = ww;
}

double TFastFourier::GetRealVal(int ix) const
{
    return InRange(ix) ? FDataBuf[2 * static_cast<std::size_t>(ix - 1)] : 0.0;
}

double TFastFourier::GetImagVal(int ix) const
{
    return InRange(ix) ? FDataBuf[2 * static_cast<std::size_t>(ix - 1) + 1] : 0.0;
}

void TFastFourier::SetRealVal(int ix, double v)
{
    if (InRange(ix))
        FDataBuf[2 * static_cast<std::size_t>(ix - 1)] = v;
}

double TFastFourier::GetUserWgt(int ix) const
{
    return InRange(ix) ? FUserWgt[static_cast<std::size_t>(ix - 1)] : 0.0;
}

void TFastFourier::SetUserWgt(int ix, double v)
{
    if (InRange(ix))
        FUserWgt[static_cast<std::size_t>(ix - 1)] = v;
}

void TFastFourier::Clear()
{
    std::fill(FDataBuf.begin(), FDataBuf.end(), 0.0);
}

// The weights of the built-in windows are computed once per size and window.
const double* TFastFourier::Weights()
{
    if (FWgtWin == fwRectangle)
        return nullptr;
    if (FWgtWin == fwUserDef)
        return FUserWgt.data();
    const auto n = static_cast<std::size_t>(FNumData);
    if (FWeights.size() != n || FWeightsWin != FWgtWin) {
        FWeights = WindowWeights(FWgtWin, FNumData);
        FWeightsWin = FWgtWin;
    }
    return FWeights.data();
}

// Multiplies real and imaginary part of every point by its weight.
void TFastFourier::ApplyWindow()
{
    const double* w = Weights();
    if (!w)
        return;
    const auto n = static_cast<std::size_t>(FNumData);
    double* d = FDataBuf.data();
    for (std::size_t i = 0; i < n; ++i) {
        d[2 * i] *= w[i];
        d[2 * i + 1] *= w[i];
    }
}

void TFastFourier::PreparePlan()
{
    const auto n = static_cast<std::size_t>(FNumData);
    if (FPlan.Size() != n)
        FPlan.Build(n);
}

void TFastFourier::Transform()
{
    try {
        PreparePlan();
        ApplyWindow();
    } catch (const std::bad_alloc&) {
        Fail("not enough memory on heap");
    }
    // Real input (the usual case: samples in the real parts) takes the half-size transform.
    double* d = FDataBuf.data();
    if (!FPlan.TransformReal(d))
        FPlan.TransformComplex(d);
}

// Under finite weights the zero imaginary parts stay zero (or -0, which the half-size
// transform never reads), so the points (x[i], 0) take the half-size transform. A user weight
// that is infinite or NaN makes an imaginary part NaN: those points go the way Transform takes
// them, through an interleaved copy.
void TFastFourier::TransformReal(std::span<const double> x, std::span<double> re,
                                 std::span<double> im)
{
    TransformReal(x, re, im, 1.0, {});
}

void TFastFourier::TransformReal(std::span<const double> x, std::span<double> re,
                                 std::span<double> im, double scale, std::span<double> power)
{
    const auto n = static_cast<std::size_t>(FNumData);
    if (x.size() < n || re.size() < n || im.size() < n || (!power.empty() && power.size() < n))
        Fail("series shorter than the data length");
    const double* w = nullptr;
    try {
        PreparePlan();
        w = Weights();
    } catch (const std::bad_alloc&) {
        Fail("not enough memory on heap");
    }
    const bool finite = FWgtWin != fwUserDef ||
                        std::all_of(w, w + n, [](double v) { return std::isfinite(v); });
    double* const powers = power.empty() ? nullptr : power.data();
    if (finite) {
        FPlan.TransformReal(x.data(), w, re.data(), im.data(), scale, powers);
        return;
    }
    std::vector<double> d(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        d[2 * i] = x[i] * w[i];
        d[2 * i + 1] = 0.0 * w[i];
    }
    if (!FPlan.TransformReal(d.data()))
        FPlan.TransformComplex(d.data());
    for (std::size_t k = 0; k < n; ++k) {
        re[k] = d[2 * k];
        im[k] = d[2 * k + 1];
    }
    if (powers)
        for (std::size_t k = 1; k < n; ++k)
            powers[k] = scale * (re[k] * re[k] + im[k] * im[k]);
}

double TFastFourier::FreqOfLine(int ix, double SampleTime) const
{
    if (ix < 1 || ix > FNumData / 2)
        return 0.0;
    return static_cast<double>(static_cast<long double>(ix) / SampleTime / FNumData);
}
