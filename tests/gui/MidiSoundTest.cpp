// The MIDI generator on the program's synthesiser, rendered offline into memory (no sound card):
// note timing, pitch, silencing, percussion, and the program running on without sound output.
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "midi/Form45.h"
#include "midi/MidiGen.h"
#include "numeric/FastFourier.h"
#include "platform/FluidSynthStreamOutput.h"
#include "views/SalienceForms.h"

namespace {

using oxw::midi::TMidiGen;
using oxw::platform::FluidSynthOptions;
using oxw::platform::FluidSynthStreamOutput;

// Sound rendered in blocks of 64 frames, the application's queued calls handled after each, as
// the GUI thread would between two periods of the sound card.
class Recorder {
public:
    explicit Recorder(FluidSynthStreamOutput& output) : output_(output), rate_(output.SampleRate()) {}

    void Render(double seconds)
    {
        constexpr int kBlock = 64;
        float left[kBlock], right[kBlock];
        const auto frames = static_cast<std::size_t>(seconds * rate_);
        for (std::size_t done = 0; done < frames; done += kBlock) {
            output_.Render(left, right, kBlock);
            for (int i = 0; i < kBlock; ++i) sound_.push_back(0.5 * (left[i] + right[i]));
            QCoreApplication::processEvents();
        }
    }

    // RMS of the sound, or of its sample-to-sample differences (the upper partials, strong in a
    // note's attack).
    double Rms(double from, double to, bool differences = false) const
    {
        const auto a = std::max<std::size_t>(1, static_cast<std::size_t>(from * rate_));
        const auto b = std::min(sound_.size(), static_cast<std::size_t>(to * rate_));
        double sum = 0.0;
        for (std::size_t i = a; i < b; ++i) {
            const double v = differences ? sound_[i] - sound_[i - 1] : sound_[i];
            sum += v * v;
        }
        return b > a ? std::sqrt(sum / static_cast<double>(b - a)) : 0.0;
    }

    // Times (s) of the notes' attacks: 5 ms frames whose difference RMS reaches a fifth of the
    // loudest frame's and is more than 6 dB above the frame 10 ms before.
    std::vector<double> Onsets() const
    {
        constexpr double kFrame = 0.005;
        std::vector<double> level;
        for (double t = 0.0; (t + kFrame) * rate_ <= sound_.size(); t += kFrame)
            level.push_back(Rms(t, t + kFrame, true));
        const double loudest = *std::max_element(level.begin(), level.end());
        std::vector<double> onsets;
        for (std::size_t k = 0; k < level.size(); ++k) {
            const double before = k >= 2 ? level[k - 2] : 0.0;
            if (level[k] > 0.2 * loudest && level[k] > 2.0 * before &&
                (onsets.empty() || k * kFrame - onsets.back() > 0.1))
                onsets.push_back(k * kFrame);
        }
        return onsets;
    }

    // Frequency (Hz) of the strongest spectral peak between fmin and fmax in 32768 samples from
    // `from`, Hann-windowed, the peak placed by a parabola through the log magnitudes.
    double PeakFrequency(double from, double fmin, double fmax) const
    {
        constexpr int kSize = 32768;
        TFastFourier fft;
        fft.SetNumData(kSize);
        const auto start = static_cast<std::size_t>(from * rate_);
        auto data = fft.FData();
        for (int n = 0; n < kSize; ++n) {
            const double hann = 0.5 - 0.5 * std::cos(2.0 * M_PI * n / kSize);
            data[2 * n] = start + n < sound_.size() ? sound_[start + n] * hann : 0.0;
        }
        fft.Transform();
        const double binHz = static_cast<double>(rate_) / kSize;
        auto magnitude = [&](int k) {
            return std::log(std::hypot(fft.GetRealVal(k + 1), fft.GetImagVal(k + 1)) + 1e-30);
        };
        int best = static_cast<int>(fmin / binHz);
        for (int k = best; k <= static_cast<int>(fmax / binHz); ++k)
            if (magnitude(k) > magnitude(best)) best = k;
        const double a = magnitude(best - 1), b = magnitude(best), c = magnitude(best + 1);
        return (best + 0.5 * (a - c) / (a - 2.0 * b + c)) * binHz;
    }

private:
    FluidSynthStreamOutput& output_;
    int rate_;
    std::vector<float> sound_;
};

double Cents(double f, double reference) { return 1200.0 * std::log2(f / reference); }
double Decibels(double ratio) { return 20.0 * std::log10(ratio); }

constexpr double kD4 = 293.66;  // note 62

std::unique_ptr<FluidSynthStreamOutput> OfflineOutput()
{
    FluidSynthOptions options;
    options.offline = true;
    return std::make_unique<FluidSynthStreamOutput>(options);
}

TEST(MidiSound, NoteOnThePanelThreeTimesAtItsPitch)
{
    auto output = OfflineOutput();
    FluidSynthStreamOutput* synth = output.get();
    oxw::midi::TForm45 panel(nullptr, std::move(output));
    oxw::views::TMeanPitchSalienceChart chart;
    chart.SetMidiPanel(&panel);
    EXPECT_EQ(synth->SynthCreations(), 0);  // nothing before the first note

    Recorder recorder(*synth);
    chart.MakeTheSound(5, 2, QStringLiteral("D"));  // note 62
    EXPECT_TRUE(panel.MidiGen1->IsPlaying());
    EXPECT_DOUBLE_EQ(synth->TicksPerSecond(), 100.0);  // 50 ticks a quarter at 500000 us a quarter
    recorder.Render(2.5);

    const std::vector<double> onsets = recorder.Onsets();
    ASSERT_EQ(onsets.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(onsets[i], 0.5 * i, 0.02) << i;
    EXPECT_TRUE(recorder.Rms(2.1, 2.5) < 1e-4 && recorder.Rms(0.0, 0.4) > 1e-2);
    EXPECT_NEAR(Cents(recorder.PeakFrequency(0.0, 100.0, 2000.0), kD4), 0.0, 35.0);
    EXPECT_FALSE(panel.MidiGen1->IsPlaying());
    EXPECT_EQ(synth->SynthCreations(), 1);
    // Once made, the synthesiser stays for the next note.
    chart.MakeTheSound(1, 0, QStringLiteral("C"));
    recorder.Render(0.1);
    EXPECT_EQ(synth->SynthCreations(), 1);
}

TEST(MidiSound, RepeatedNotePercussionAndStop)
{
    auto output = OfflineOutput();
    FluidSynthStreamOutput* synth = output.get();
    TMidiGen gen(std::move(output));
    gen.SetInstrument(oxw::midi::mgDrawbarOrgan);
    gen.SetLoops(1);
    Recorder recorder(*synth);
    // The first note's off and the second's on fall on one tick; the off must come first.
    ASSERT_TRUE(gen.PlayString("C4,50;C4"));
    recorder.Render(1.5);
    const double first = recorder.Rms(0.2, 0.45);
    EXPECT_GT(first, 1e-2);
    EXPECT_GT(Decibels(recorder.Rms(0.7, 0.95) / first), -3.0);
    EXPECT_LT(Decibels(recorder.Rms(1.3, 1.5) / first), -30.0);
    // A percussion value plays its key on channel 9.
    ASSERT_TRUE(gen.PlayString("I129,C4"));
    recorder.Render(0.5);
    EXPECT_GT(recorder.Rms(1.5, 1.7), 1e-2);
    // Stop silences a held note.
    gen.SetDuration(300);
    ASSERT_TRUE(gen.PlayNote(60, oxw::midi::mgDrawbarOrgan));
    recorder.Render(1.0);
    const double held = recorder.Rms(2.9, 3.0);
    ASSERT_GT(held, 1e-2);
    gen.Stop();
    recorder.Render(0.4);
    EXPECT_LT(Decibels(recorder.Rms(3.35, 3.4) / held), -30.0);
    EXPECT_FALSE(gen.IsPlaying());
}

TEST(MidiSound, WithoutSoundOutputPlaysFailQuietly)
{
    FluidSynthOptions options;
    options.audioDriver = "alsa";
    options.audioDevice = "oxw_no_such_device";
    auto output = std::make_unique<FluidSynthStreamOutput>(options);
    FluidSynthStreamOutput* synth = output.get();
    TMidiGen gen(std::move(output));
    EXPECT_EQ(synth->SynthCreations(), 0);
    EXPECT_FALSE(gen.MidiAvailable());
    EXPECT_FALSE(gen.PlayNote(62, 2));
    EXPECT_FALSE(gen.PlayString("C,E,G"));
    EXPECT_TRUE(gen.CanPlay());
    EXPECT_FALSE(synth->SoundOutputOpen());
    // The synthesiser is made once; the sound output is tried again only after a while.
    EXPECT_EQ(synth->SynthCreations(), 1);
    EXPECT_EQ(synth->DeviceCount(), 0u);
}

}  // namespace
