#pragma once
// Working state of the spectrum front end: the FFT components (one per block length), the
// time window of the current block length, the channel and byte buffers of the block reader,
// the line-to-bin maps of the compact spectra and the weightings of their bins. Everything is sized when a block length is first
// met and reused by every later block, so the block loop allocates nothing.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/BlockFrames.h"
#include "engine/Engine.h"
#include "engine/LagProducts.h"
#include "engine/Weighting.h"
#include "numeric/FastFourier.h"

namespace oxw::engine {

// Frequency of FFT line `line` of a `points`-point block at `rate` frames per second.
inline double LineHz(int line, double rate, int points) {
    return static_cast<double>(static_cast<long double>(line) * rate / points);
}

// The compact bin of every FFT line 1..points/2 of one block length: the bin b of 1..count with
// low[b] < f <= high[b], 0 when no bin holds the line. Rebuilt only when the block length, the
// rate or the grid changes.
class LineBinMap {
public:
    const std::vector<int>& For(int points, double rate, const Compact& low, const Compact& high,
                                int count);

private:
    int points_ = 0;
    double rate_ = 0;
    int count_ = -1;
    Compact low_{}, high_{};
    std::vector<int> bin_;
};

struct Engine::SpectrumWork {
    BlockFrames frames;  // the samples of the current block
    // The interaural sums of the blocks: squares of each channel, lagged products; the block
    // whose sums they hold (frames.Serial()).
    BlockLagSums squares1, squares2, lagged;
    std::uint64_t correlatedBlock = 0;
    std::vector<double> window;      // weights of DoWindowFunctions
    int windowN = 0;
    char windowCode = 0;
    std::vector<std::pair<int, std::unique_ptr<TFastFourier>>> ffts;
    LineBinMap pass1Bins, nordic108Bins, nordic121Bins;
    BinWeightings pass1Weights, nordic108Weights, nordic121Weights;  // of the compact grids
    std::string auditLines;  // array-file lines handed to the log together

    // The FFT component for one block length, created on first use.
    TFastFourier& Fft(int points);
    // Weights w(0..n-1) of window code `code` for n points.
    const double* Window(int n, char code);
};

}  // namespace oxw::engine
