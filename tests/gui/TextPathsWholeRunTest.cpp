// Whole runs through the real windows on the plain and on the fast number-text path: every file
// the run leaves (LOG, array dumps, level, loudness, pitch, trace and summary files) must hold
// the same bytes. The clock is fixed, so both runs name their files alike.
#include <QPushButton>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include <gtest/gtest.h>

#include "app/Forms.h"
#include "app/SoundFileCheck.h"
#include "app/TForm1.h"
#include "numeric/NumberFormat.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedSoundSystem.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

namespace fs = std::filesystem;
using namespace oxw;

namespace {

using Files = std::map<std::string, std::string>;  // name -> bytes

// Runs one analysis option on `wav` with the given text path; returns the files it left beside
// the sound file, which are then moved out of the way.
Files RunAndCollect(const fs::path& wav, bool twoPasses, numeric::NumberTextPath path) {
    numeric::SetNumberTextPath(path);
    {
        platform::ScriptedDialogs dialogs;
        platform::ScriptedSoundSystem soundSystem;
        app::Forms forms;
        app::CreateForms(forms, dialogs, soundSystem);
        app::TForm1* main = forms.Form1;
        main->SetDialogs(&dialogs);
        main->Files().SetClock([] {
            std::tm t{};
            t.tm_year = 124, t.tm_mon = 8, t.tm_mday = 17, t.tm_hour = 10;
            return t;
        });
        dialogs.ModalScript = [](QDialog& d) {
            if (d.objectName() != "SoundFileCheck") return 0;
            auto& check = static_cast<app::TSoundFileCheck&>(d);
            check.ContnueAnalysis->click();
            check.SoundFileEndTime->setCurrentText("3");  // the whole file
            check.Button1->click();
            return 1;
        };
        emit main->ui.Label45->clicked();
        dialogs.FileAnswers.push_back(QString::fromStdString(wav.string()));
        if (twoPasses)
            main->ProcessAdvancedClick();
        else
            main->ProcessIntroductoryClick();
        EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join("|").toStdString();
        app::DestroyForms(forms);  // closes every file
    }
    numeric::SetNumberTextPath(numeric::NumberTextPath::Fast);
    Files files;
    for (const auto& e : fs::directory_iterator(wav.parent_path())) {
        if (e.path() == wav) continue;
        std::ifstream in(e.path(), std::ios::binary);
        files[e.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
        fs::remove(e.path());
    }
    return files;
}

TEST(TextPathsWholeRun, FastAndPlainWriteTheSameBytes) {
    test::TempDir dir("oxw-textpaths");
    const fs::path wav = dir / "stereo.wav";
    // 3 s of stereo: tones with harmonics over seeded noise, the right channel a delayed copy.
    std::mt19937 rng(11);
    std::normal_distribution<double> noise(0.0, 0.05);
    std::vector<double> left(44100 * 3), right(left.size());
    for (std::size_t i = 0; i < left.size(); ++i) {
        double x = noise(rng);
        for (int h = 1; h <= 4; ++h) x += 0.2 / h * std::sin(2 * M_PI * 220.0 * h * i / 44100.0);
        left[i] = x;
        right[i] = i >= 5 ? 0.7 * left[i - 5] + noise(rng) / 4 : 0.0;
    }
    test::WriteWav(wav, test::WavFormat().Channels(2), {left, right});

    for (bool twoPasses : {false, true}) {
        SCOPED_TRACE(twoPasses ? "two passes" : "one pass");
        const Files plain = RunAndCollect(wav, twoPasses, numeric::NumberTextPath::Plain);
        const Files fast = RunAndCollect(wav, twoPasses, numeric::NumberTextPath::Fast);
        ASSERT_GT(plain.size(), 10u);
        ASSERT_EQ(fast.size(), plain.size());
        std::size_t bytes = 0;
        for (const auto& [name, content] : plain) {
            ASSERT_TRUE(fast.count(name)) << name;
            EXPECT_TRUE(fast.at(name) == content) << name << " differs";
            bytes += content.size();
        }
        EXPECT_GT(bytes, 1000000u);  // the array dump alone holds over a megabyte
    }
}

}  // namespace
