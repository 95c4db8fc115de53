// The audibility window after a whole run: a generated 1 kHz sine is analysed through the real
// main window, then "Click here to display this chart" shows the window, whose red discs must
// stand at the conversion of the third-octave levels the run wrote into its summary file.
#include <QApplication>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "CheckDialogScript.h"
#include "app/Forms.h"
#include "app/SoundFileCheck.h"
#include "app/TForm1.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedSoundSystem.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"
#include "views/AudibilityChart.h"

namespace fs = std::filesystem;
using namespace oxw;
using views::frmAudibility::ThirdOct_S;

namespace {

// The 22 third-octave levels (125 Hz .. 16 kHz) of the summary's band table, as printed.
std::vector<double> SummaryThirdOctaves(const fs::path& summary)
{
    std::ifstream in(summary, std::ios::binary);
    std::vector<double> levels;
    bool inTable = false;
    for (std::string line; std::getline(in, line) && levels.size() < 22;) {
        if (inTable) levels.push_back(std::stod(line.substr(line.rfind(',') + 1)));
        inTable = inTable || line.rfind("  F(Hz),  L(dB),  F(Hz),  L(dB)", 0) == 0;
    }
    return levels;
}

class AudibilityWholeRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = ThirdOct_S;
        wav = dir / "tone.wav";
        std::vector<double> sine(44100 * 3);
        for (std::size_t i = 0; i < sine.size(); ++i) sine[i] = 0.3 * std::sin(2 * M_PI * 1000.0 * i / 44100.0);
        test::WriteWav(wav, test::WavFormat(), {sine});
        app::CreateForms(forms, dialogs, sound);
        main = forms.Form1;
        main->SetDialogs(&dialogs);
        dialogs.ModalScript = test::ContinueAnalysis;
    }
    void TearDown() override
    {
        app::DestroyForms(forms);
        ThirdOct_S = saved;
    }

    std::array<double, 22> saved{};
    test::TempDir dir{"oxw-audibility"};
    fs::path wav;
    app::Forms forms;
    app::TForm1* main = nullptr;
    platform::ScriptedDialogs dialogs;
    platform::ScriptedSoundSystem sound;
};

TEST_F(AudibilityWholeRun, DiscsStandAtTheRunsConvertedThirdOctaveLevels)
{
    emit main->ui.Label45->clicked();  // no questionnaire
    dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
    main->ProcessIntroductoryClick();
    ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join("|").toStdString();
    const auto printed = SummaryThirdOctaves(main->Files().Names.DravolekSummaryFileName);
    ASSERT_EQ(printed.size(), 22u);

    emit main->ui.ViewAudibility->clicked();
    views::TFrmAudibilityChart& window = *forms.FrmAudibilityChart;
    ASSERT_TRUE(window.isVisible());
    EXPECT_FALSE(main->ui.BuildingChart->isHidden());  // "Building chart." stays up
    std::vector<double> discs;
    for (int i = 0; i < window.RChart1->NumItems(); ++i) {
        const TrcChartItem it = window.RChart1->GetItemParams(i);
        if (it.ItemKind == tkMarkAt && it.Color == clRed) discs.push_back(it.y);
    }
    ASSERT_EQ(discs.size(), 20u);
    for (int k = 0; k < 20; ++k) {
        const double level = 10 * std::log10(ThirdOct_S[k]);
        EXPECT_NEAR(level, printed[k], 0.05 + 1e-9) << k;
        EXPECT_NEAR(discs[k], views::frmAudibility::ConvertAmbientLevel(level, views::frmAudibility::HzTable[k + 6]),
                    1e-9)
            << k;
    }
    // The 1 kHz band, by hand from its printed level 76.5 dB: between 75 and 80 dB, where the
    // band-26 ends of the contours 80 and 85 (74 and 78.5) bound the conversion:
    // 74 + 1.5 / 5 * 4.5 = 75.35. The other bands lie below 0 dB and are drawn at 0.
    ASSERT_EQ(printed[9], 76.5);
    EXPECT_NEAR(discs[9], 75.35, 0.05 * 0.9);
    for (int k = 0; k < 20; ++k)
        if (k != 9) {
            EXPECT_EQ(discs[k], 0.0) << k;
        }
}

}  // namespace
