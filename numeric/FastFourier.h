#pragma once
// TFastFourier: non-visual FFT component. Holds N complex points (N a power of two from 2 to
// 8388608), multiplies them by a weighting window and replaces them in place by their
// discrete Fourier transform
//     X[k] = sum_{n=0}^{N-1} x[n] exp(+2 pi i n k / N)   (positive exponent, not scaled).
// Points are numbered 1..N; point 1 is the zero-frequency term.

#include <span>
#include <vector>

#include "numeric/FftPlan.h"
#include "numeric/FourierWindow.h"
#include "numeric/VkrBase.h"

class EVKRFourierError : public EVKRError {
public:
    using EVKRError::EVKRError;
};

// SpectrumSize of a new component.
inline constexpr int defFFTSize = 256;
// Sizes accepted by SetNumData: the powers of two from 2 to 2^23.
inline constexpr int minFFTSize = 2;
inline constexpr int maxFFTSize = 8388608;

class TFastFourier : public TComponent {
public:
    // N = defFFTSize, all points 0, rectangular window, user weights 1.0.
    explicit TFastFourier(TComponent* AOwner = nullptr);
    ~TFastFourier() override;

    // SpectrumSize: N. SetNumData resizes and zeroes the data and the user weights; a size
    // that is not a power of two from 2 to 2^23 raises EVKRFourierError and changes nothing.
    int SpectrumSize() const { return FNumData; }
    void SetNumData(int ndata);

    // WeightingWindow: the window Transform applies; values outside the enumeration are ignored.
    TFastFourierWgtWin WeightingWindow() const { return FWgtWin; }
    void SetWgtWin(TFastFourierWgtWin ww);

    // RealSpec / ImagSpec of point ix (1..N); reads outside give 0.0, writes outside are ignored.
    double GetRealVal(int ix) const;
    double GetImagVal(int ix) const;
    void SetRealVal(int ix, double v);

    // User window for fwUserDef: weight of point ix (1..N), FUserWgt[ix-1].
    double GetUserWgt(int ix) const;
    void SetUserWgt(int ix, double v);

    // The data: point i (1-based) has its real part at [2(i-1)] and its imaginary part at
    // [2(i-1)+1]; 2N entries.
    std::span<double> FData() { return FDataBuf; }
    std::span<const double> FData() const { return FDataBuf; }

    // Sets real and imaginary parts of all points to 0.0.
    void Clear();

    // Applies the window to all points, then replaces them by their transform.
    void Transform();

    // The transform of the N real values x[0..N-1] under the window, its real parts written
    // to re[0..N-1] and its imaginary parts to im[0..N-1]; the data (FData) stay as they were.
    // Gives the same numbers as points (x[i], 0) through Transform. Spans shorter than N
    // raise EVKRFourierError.
    void TransformReal(std::span<const double> x, std::span<double> re, std::span<double> im);
    // The same, and the lines' powers power[k] = scale (re[k]^2 + im[k]^2) for k = 1..N-1,
    // worked out as the lines are written (power[0] is left as it is).
    void TransformReal(std::span<const double> x, std::span<double> re, std::span<double> im,
                       double scale, std::span<double> power);

    // Frequency in Hz of line ix for the sampling interval SampleTime in seconds:
    // ix / SampleTime / N for 1 <= ix <= N/2, else 0.0.
    double FreqOfLine(int ix, double SampleTime) const;

private:
    bool InRange(int ix) const { return ix >= 1 && ix <= FNumData; }
    // The weights the window gives point i + 1 at [i], or null for the rectangular window.
    const double* Weights();
    void ApplyWindow();
    void PreparePlan();
    [[noreturn]] void Fail(const char* problem) const;

    int FNumData = defFFTSize;
    TFastFourierWgtWin FWgtWin = fwRectangle;
    std::vector<double> FUserWgt;
    std::vector<double> FDataBuf;

    // Built on the first Transform after a change of size or window.
    std::vector<double> FWeights;
    TFastFourierWgtWin FWeightsWin = fwRectangle;
    FftPlan FPlan;
};
