// The listening test with a scripted player and clock: countdown, segments with their sample
// numbers, questions, the fifth segment, the end of the file, closing, a file that cannot be
// played, and a machine without sound output.
#include <QApplication>

#include <gtest/gtest.h>

#include "app/Forms.h"
#include "assessment/AnalyseThis.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedSoundSystem.h"

using namespace oxw;
using assessment::TAnalyseThis;

namespace {

const QString kNoSoundCard = QStringLiteral("No soundcard installed in your system.\r\n Unable to continue!");

class ListeningTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test.SetSoundFile(QStringLiteral("/data/tone.wav"), QStringLiteral("44100"), QStringLiteral("3"));
        player().Length = 130000;
    }
    platform::ScriptedSoundPlayer& player() { return *sound.Players.at(0); }
    void Start()
    {
        test.StartPlayingSound->click();
        player().Calls.clear();
    }
    // One segment from `from` to `to` ms, answered with a comfort choice.
    void Segment(long long from, long long to)
    {
        player().Position = from;
        test.ForwardButton->click();
        player().Position = to;
        test.PauseButton->click();
        test.Comfort->button(1)->click();
        test.ResumeAfterQuestions->click();
    }
    double Cell(int c, int r) const { return test.AnalyseThisArrayNTab->GetElem(c, r); }

    platform::ScriptedDialogs dialogs;
    platform::ScriptedSoundSystem sound{1};
    TAnalyseThis test{dialogs, sound};
};

TEST_F(ListeningTest, CountdownThenPlayback)
{
    EXPECT_FALSE(test.ForwardButton->isEnabled() || test.PauseButton->isEnabled() ||
                 test.AnalysisThisClose->isEnabled());
    // Which smileys show at each second of the countdown.
    QStringList seen;
    sound.OnWait = [&] {
        QString s;
        for (QLabel* smiley : test.Smiley) s += smiley->isHidden() ? '-' : 'o';
        seen << s;
        EXPECT_FALSE(test.TenSecondDelayPanel->isHidden());
    };
    test.StartPlayingSound->click();
    EXPECT_EQ(seen, QStringList({"o----", "oo---", "ooo--", "oooo-", "ooooo", "oooo-", "ooo--", "oo---", "o----",
                                 "-----"}));
    EXPECT_EQ(sound.Waits, std::vector<int>(10, 1000));
    EXPECT_TRUE(test.TenSecondDelayPanel->isHidden());
    EXPECT_EQ(player().Calls, QStringList({"open /data/tone.wav", "play"}));
    EXPECT_EQ(test.AnalyseThisPlayTime->text(), "3");
    EXPECT_EQ(test.AnalyseThisProgressBar1->maximum(), 130000);
    EXPECT_EQ(Cell(1, 1), 2);
    EXPECT_TRUE(!test.StartPlayingSound->isEnabled() && test.ForwardButton->isEnabled() &&
                test.AnalysisThisClose->isEnabled());
}

TEST_F(ListeningTest, SegmentsQuestionsAndTheFifthSegment)
{
    Start();
    player().Position = 1500;
    test.ForwardButton->click();
    EXPECT_EQ(player().Calls, QStringList({"pause", "resume"}));
    EXPECT_EQ(test.AnalyseThisTimeSelected->text(), "1500");
    EXPECT_EQ(Cell(1, 2), 1500);
    EXPECT_EQ(Cell(2, 2), 66150);
    EXPECT_TRUE(!test.ForwardButton->isEnabled() && test.PauseButton->isEnabled());

    player().Position = 2500;
    test.PauseButton->click();
    EXPECT_EQ(Cell(3, 2), 2500);
    EXPECT_EQ(Cell(4, 2), 110250);
    EXPECT_EQ(Cell(1, 1), 3);
    EXPECT_EQ(test.AnalyseThisSelectionDescription->text(), "Selected 1500 - 2500");
    EXPECT_EQ(test.SelectedSampleNumbers->item(0)->text(), "Selected 1500 - 2500");
    EXPECT_TRUE(!test.Segment[0]->isHidden() && test.Segment[1]->isHidden());
    EXPECT_FALSE(test.AnalyseThisUserSoundQuestions->isHidden() || test.PauseButton->isEnabled());

    // Only a comfort choice enables "Resume Analysis".
    test.Loudness->button(0)->click();
    test.Effect->button(2)->click();
    EXPECT_FALSE(test.ResumeAfterQuestions->isEnabled());
    test.Comfort->button(4)->click();
    EXPECT_TRUE(test.ResumeAfterQuestions->isEnabled());
    test.ResumeAfterQuestions->click();
    EXPECT_TRUE(test.AnalyseThisUserSoundQuestions->isHidden());
    for (QButtonGroup* g : {test.Loudness, test.Effect, test.Comfort}) EXPECT_EQ(g->checkedId(), -1);
    EXPECT_TRUE(test.ForwardButton->isEnabled() && !test.ResumeAfterQuestions->isEnabled());
    EXPECT_EQ(test.AnalyseThisTimeSelected->text(), "");

    // Sample numbers at 44100 Hz, halves to even.
    Segment(5, 15);
    Segment(120000, 120001);
    EXPECT_EQ(Cell(2, 3), 220);
    EXPECT_EQ(Cell(4, 3), 662);
    EXPECT_EQ(Cell(2, 4), 5292000);
    EXPECT_TRUE(test.NoMoreSegments->isHidden());
    Segment(121000, 122000);
    Segment(123000, 124000);
    EXPECT_FALSE(test.NoMoreSegments->isHidden() || test.ForwardButton->isEnabled() || test.Segment[4]->isHidden());
    EXPECT_EQ(test.SelectedSampleNumbers->count(), 5);
    EXPECT_EQ(player().Calls.back(), "resume");  // playback goes on
}

TEST_F(ListeningTest, EndOfFileAndClosing)
{
    // Closed by its frame before playback: nothing stops, Play stays available.
    test.show();
    test.close();
    EXPECT_TRUE(player().Calls.isEmpty());
    EXPECT_TRUE(test.StartPlayingSound->isEnabled());

    for (bool byButton : {true, false}) {
        test.StartPlayingSound->setEnabled(true);
        test.show();
        Start();
        test.AnalyseThisProgressBar1->setValue(4000);
        player().FinishFile();
        EXPECT_EQ(test.AnalyseThisProgressBar1->value(), 0);
        test.AnalyseThisProgressBar1->setValue(4000);
        byButton ? test.AnalysisThisClose->click() : static_cast<void>(test.close());  // or the frame
        EXPECT_EQ(player().Calls, QStringList({"stop", "rewind", "close"})) << byButton;
        EXPECT_FALSE(player().IsOpen || test.isVisible() || test.StartPlayingSound->isEnabled() ||
                     test.AnalysisThisClose->isEnabled());
        EXPECT_EQ(test.AnalyseThisProgressBar1->value(), 0);
    }
}

TEST_F(ListeningTest, FileThatCannotBePlayedLeavesTheIdleState)
{
    player().FailOpen = QStringLiteral("Unsupported format");
    test.StartPlayingSound->click();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains("Unsupported format"));
    EXPECT_TRUE(test.StartPlayingSound->isEnabled() && !test.ForwardButton->isEnabled() &&
                !test.AnalysisThisClose->isEnabled() && test.TenSecondDelayPanel->isHidden());
    test.close();
    EXPECT_EQ(player().Calls, QStringList({"open /data/tone.wav"}));
}

TEST(ListeningTestStartUp, WithoutSoundOutputTheProgramSaysSoOnce)
{
    for (int devices : {0, 1}) {
        platform::ScriptedDialogs dialogs;
        platform::ScriptedSoundSystem sound{devices};
        app::Forms forms;
        app::CreateForms(forms, dialogs, sound);
        EXPECT_EQ(sound.Probes, 1);
        EXPECT_EQ(dialogs.Messages, devices ? QStringList() : QStringList({kNoSoundCard}));
        EXPECT_EQ(forms.AnalyseThis->StartPlayingSound->isEnabled(), devices == 1);
        EXPECT_FALSE(forms.SoundFileCheck->DoAnalyseThis->isEnabled());

        // The check dialog's listening-test button opens the window modally on the chosen file.
        forms.Form1->ui.SelectedInputFile->setText(QStringLiteral("/data/tone.wav"));
        forms.SoundFileCheck->SoundFileSampleRate->setText(QStringLiteral("44100"));
        dialogs.ModalScript = [&](QDialog& d) {
            if (devices) static_cast<TAnalyseThis&>(d).StartPlayingSound->click();
            return 0;
        };
        app::DoAnalyseThisClick(forms);
        EXPECT_EQ(dialogs.ModalDialogs, QStringList({"AnalyseThis"}));
        if (devices) {
            EXPECT_EQ(sound.Players.at(0)->Calls.value(0), "open /data/tone.wav");
        }
        app::DestroyForms(forms);
    }
}

TEST(QtSoundSystem, MissingFileIsRefusedWithItsName)
{
    platform::QtSoundSystem sound;
    auto player = sound.NewPlayer();
    QString error;
    EXPECT_FALSE(player->Open(QStringLiteral("/nonexistent/tone.wav"), error));
    EXPECT_TRUE(error.contains("/nonexistent/tone.wav"));
    EXPECT_EQ(player->PositionMs(), 0);
    EXPECT_GE(sound.OutputDeviceCount(), 0);
}

}  // namespace
