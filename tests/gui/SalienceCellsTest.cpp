// The cells of the note-by-octave salience window: a click plays the cell's note on the MIDI
// panel's generator when the cell holds a salience above the low-salience limit.
#include <QCoreApplication>
#include <QLocale>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>

#include "midi/Form45.h"
#include "platform/ScriptedMidiStreamOutput.h"
#include "views/SalienceForms.h"

namespace {

using namespace oxw;

TEST(SalienceCells, PlayTheirNoteAboveTheLowSalienceLimit)
{
    auto output = std::make_unique<platform::ScriptedMidiStreamOutput>();
    platform::ScriptedMidiStreamOutput* out = output.get();
    midi::TForm45 panel(nullptr, std::move(output));
    views::TMeanPitchSalienceChart chart;
    chart.SetMidiPanel(&panel);
    const QLocale locale;
    // A null caption: nothing plays.
    const struct { const char* cell; QString text; const char* caption; std::uint32_t note; } cases[] = {
        {"Edit106", locale.toString(0.0001, 'f', 4), "12 : mgC : C1", 12},
        {"Edit1200", locale.toString(0.5, 'f', 4), "95 : mgB : B7", 95},
        {"Edit1106", " " + locale.toString(1.5, 'f', 1) + " ", "22 : mgA# : A#1", 22},
        {"Edit500", locale.toString(1e-4, 'e', 0), "88 : mgE : E7", 88},
        {"Edit106", locale.toString(9.99999e-05, 'g', 6), nullptr, 0},
        {"Edit706", "0", nullptr, 0},
        {"Edit706", "", nullptr, 0},
        {"Edit706", "not available", nullptr, 0},
    };
    for (const auto& c : cases) {
        auto* cell = chart.findChild<QLineEdit*>(c.cell);
        cell->setText(c.text);
        panel.NotePan->clear();
        const std::size_t before = out->Sent.size();
        chart.SalienceCellClick(cell);
        EXPECT_EQ(panel.NotePan->text(), c.caption ? c.caption : "") << c.cell << " " << c.text.toStdString();
        ASSERT_EQ(out->Sent.size(), before + (c.caption ? 1 : 0)) << c.cell;
        if (!c.caption) continue;
        // After the preamble: program 2, the note on and its off 50 ticks later.
        const auto& s = out->Sent.back();
        ASSERT_EQ(s.size(), 18u);
        EXPECT_TRUE(s[15].dwEvent == 0x02C0 && s[16].dwEvent == (0x7F0090 | c.note << 8) &&
                    s[17].dwDeltaTime == 50 && s[17].dwEvent == (0x90 | c.note << 8)) << c.cell;
        out->DeliverPosition();
        panel.MidiGen1->Stop();
        for (int i = 0; i < 8; ++i) QCoreApplication::processEvents();
    }
    // A left click on a cell reaches the handler; a right click does not.
    auto* cell = chart.findChild<QLineEdit*>("Edit1003");
    cell->setText(locale.toString(0.5, 'f', 1));
    for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        panel.NotePan->clear();
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), cell->mapToGlobal(QPointF(2, 2)), button,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(cell, &release);
        EXPECT_EQ(panel.NotePan->text(), button == Qt::LeftButton ? "57 : mgA : A4" : "");
    }
}

}  // namespace
