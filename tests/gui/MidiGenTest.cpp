// The MIDI generator on a scripted stream output: properties, the stream buffers it sends
// (worked by hand from the MIDI encoding), note strings, and the playback states driven by the
// output's open, position, done and close messages.
#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "midi/MidiGen.h"
#include "midi/NoteString.h"
#include "platform/ScriptedMidiStreamOutput.h"

namespace {

using oxw::midi::event;
using oxw::midi::TMidiGen;
using oxw::platform::MidiStreamEvent;
using oxw::platform::ScriptedMidiStreamOutput;
using Stream = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // (delta, event word)

// The preamble of a stream with the default properties on channel 0.
const Stream kPreamble = {{0, 0x400079B0}, {0, 0x000079B9}, {0, 0x000064B0}, {0, 0x000065B0}, {0, 0x000C06B0},
                          {0, 0x007F64B0}, {0, 0x007F65B0}, {0, 0x00400AB0}, {0, 0x00400AB9}, {0, 0x000001B0},
                          {0, 0x007F07B0}, {0, 0x007F07B9}, {0, 0x000040B0}, {0, 0x00005BB0}, {0, 0x00005DB0}};

Stream AsStream(const std::vector<MidiStreamEvent>& buffer)
{
    Stream result;
    for (const auto& e : buffer) {
        EXPECT_EQ(e.dwStreamID, 0u);
        result.push_back({e.dwDeltaTime, e.dwEvent});
    }
    return result;
}

Stream AfterPreamble(const std::vector<MidiStreamEvent>& buffer)
{
    Stream all = AsStream(buffer);
    if (all.size() < kPreamble.size()) return {};
    EXPECT_EQ(Stream(all.begin(), all.begin() + kPreamble.size()), kPreamble);
    return Stream(all.begin() + kPreamble.size(), all.end());
}

// Delivers the queued messages, and those their handling queues in turn.
void Pump()
{
    for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

class MidiGenTest : public ::testing::Test {
protected:
    MidiGenTest()
    {
        auto output = std::make_unique<ScriptedMidiStreamOutput>();
        out = output.get();
        gen = std::make_unique<TMidiGen>(std::move(output));
        gen->SetCloseWait(300);
    }
    ~MidiGenTest() override
    {
        gen.reset();
        EXPECT_EQ(TMidiGen::CurrentID(), 0);
    }

    // Plays the string and returns the buffer sent, after the preamble.
    Stream StringStream(const std::string& notes)
    {
        const std::size_t before = out->Sent.size();
        EXPECT_TRUE(gen->PlayString(notes)) << notes;
        if (out->Sent.size() != before + 1) return {};
        Stream s = AfterPreamble(out->Sent.back());
        out->DeliverPosition();
        gen->Stop();
        Pump();
        return s;
    }

    ScriptedMidiStreamOutput* out = nullptr;
    std::unique_ptr<TMidiGen> gen;
};

TEST_F(MidiGenTest, DefaultsAndLimits)
{
    EXPECT_EQ(gen->Volume(), 100);
    EXPECT_EQ(gen->PBDuration(), 100);
    EXPECT_EQ(gen->Octave(), 4);
    EXPECT_EQ(gen->Duration(), 50u);
    EXPECT_EQ(gen->Loops(), 3u);
    EXPECT_EQ(gen->Instrument(), oxw::midi::mgAcousticGrandPiano);
    EXPECT_EQ(gen->Channel(), oxw::midi::mgCh01);
    EXPECT_EQ(gen->MidiDevice(), oxw::platform::kMidiMapper);
    EXPECT_FALSE(gen->IsPlaying());
    EXPECT_TRUE(gen->CanPlay());

    struct Case {
        void (TMidiGen::*set)(int);
        int (TMidiGen::*get)() const;
        int value, stored;
    };
    const Case cases[] = {
        {&TMidiGen::SetPan, &TMidiGen::Pan, 150, 100},          {&TMidiGen::SetPan, &TMidiGen::Pan, -150, -100},
        {&TMidiGen::SetInstrument, &TMidiGen::Instrument, 200, 174},
        {&TMidiGen::SetInstrument, &TMidiGen::Instrument, -3, 0},
        {&TMidiGen::SetVolume, &TMidiGen::Volume, 101, 100},    {&TMidiGen::SetVolume, &TMidiGen::Volume, -1, 0},
        {&TMidiGen::SetPitchBend, &TMidiGen::PitchBend, -500, -120},
        {&TMidiGen::SetPitchBend, &TMidiGen::PitchBend, 121, 120},
        {&TMidiGen::SetOctave, &TMidiGen::Octave, 11, 10},      {&TMidiGen::SetReverb, &TMidiGen::Reverb, 70, 70},
        {&TMidiGen::SetPBDelay, &TMidiGen::PBDelay, 300, 100},  {&TMidiGen::SetChorus, &TMidiGen::Chorus, -7, 0},
    };
    for (const Case& c : cases) {
        (gen.get()->*c.set)(c.value);
        EXPECT_EQ((gen.get()->*c.get)(), c.stored) << c.value;
    }
    gen->SetChannel(20);
    EXPECT_EQ(gen->Channel(), oxw::midi::mgCh16);
    gen->SetNote(-1);
    EXPECT_EQ(gen->Note(), oxw::midi::mgC);
    // Duration and Loops are stored as given.
    gen->SetDuration(4000000000u);
    EXPECT_EQ(gen->Duration(), 4000000000u);
    gen->SetLoops(123456u);
    EXPECT_EQ(gen->Loops(), 123456u);

    static_assert(oxw::midi::mgElectricGrandPiano == 2 && oxw::midi::mgDrawbarOrgan == 16);
    static_assert(oxw::midi::mgGunshot == 127 && oxw::midi::mgAcousticBassDrum == 128);
    static_assert(oxw::midi::mgOpenTriangle == 174 && oxw::midi::mgB == 11 && oxw::midi::mgCh16 == 15);
}

TEST_F(MidiGenTest, PlayNoteSendsTheGoldenStream)
{
    ASSERT_TRUE(gen->PlayNote(62, 2));
    ASSERT_EQ(out->Sent.size(), 1u);
    EXPECT_EQ(out->Sent[0].size(), 18u);
    EXPECT_EQ(gen->BufferSize(), 216u);
    EXPECT_EQ(AfterPreamble(out->Sent[0]), Stream({{0, 0x000002C0}, {0, 0x007F3E90}, {50, 0x00003E90}}));
    EXPECT_EQ(out->TimeDivision, 50u);
    EXPECT_EQ(out->Tempo, oxw::platform::kDefaultMidiTempo);  // never set: 10 ms per tick
    EXPECT_EQ(out->OpenedDevice, oxw::platform::kMidiMapper);
    EXPECT_EQ(out->Restarts, 1);
    EXPECT_TRUE(gen->IsPlaying());
}

TEST_F(MidiGenTest, NotesInstrumentsAndPercussionInTheStream)
{
    // Note 200 plays 127; a negative program is sent as 0 and sets no high bits.
    struct Case {
        int note, instrument;
        Stream expected;
    };
    const Case cases[] = {
        {200, 2, {{0, 0x000002C0}, {0, 0x007F7F90}, {50, 0x00007F90}}},
        {60, -5, {{0, 0x000000C0}, {0, 0x007F3C90}, {50, 0x00003C90}}},
        // Percussion value 129 on play channel 0: the program 127 and key 36 go to channel 9.
        {60, 129, {{0, 0x00007FC9}, {0, 0x007F2499}, {50, 0x00002499}}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(gen->PlayNote(c.note, c.instrument)) << c.note;
        EXPECT_EQ(AfterPreamble(out->Sent.back()), c.expected) << c.note << " " << c.instrument;
        for (const auto& e : out->Sent.back()) EXPECT_EQ(e.dwEvent & 0xBF000000u, 0u);
        out->DeliverPosition();
    }
    EXPECT_EQ(gen->Instrument(), 129);  // stored as given
}

TEST_F(MidiGenTest, PitchBendRampStaysInsideTheNote)
{
    gen->SetPitchBend(120);
    gen->SetPBDelay(0);
    gen->SetPBDuration(100);
    ASSERT_TRUE(gen->PlayNote(60, 0));
    const Stream s = AfterPreamble(out->Sent[0]);
    ASSERT_EQ(s.size(), 53u);
    EXPECT_EQ(s[0], std::make_pair(0u, 0x000000C0u));
    EXPECT_EQ(s[1], std::make_pair(0u, 0x007F3C90u));
    EXPECT_EQ(s[2], std::make_pair(1u, 0x004123E0u));
    EXPECT_EQ(s[51], std::make_pair(1u, 0x007F56E0u));
    std::uint32_t ticks = 0;
    for (std::size_t i = 2; i < 52; ++i) {
        EXPECT_EQ(s[i].second & 0xF0u, 0xE0u);
        ticks += s[i].first;
    }
    EXPECT_EQ(ticks, 50u);
    EXPECT_EQ(s[52], std::make_pair(0u, 0x00003C90u));  // the note off at its own time, 50
}

TEST_F(MidiGenTest, NoteStringsAsEventLists)
{
    struct Ev {
        std::uint32_t at;
        oxw::midi::sEvent kind;
        int data;
        int channel;
        bool operator==(const Ev&) const = default;
    };
    using oxw::midi::seInstrument;
    using oxw::midi::seNoteOff;
    using oxw::midi::seNoteOn;
    std::vector<Ev> scale;
    const int notes[] = {48, 50, 52, 53, 55, 57, 59};
    for (int i = 0; i < 7; ++i) scale.push_back({35u * (i + 1), seNoteOn, notes[i], 0});
    scale.push_back({295, seNoteOn, 36, 0});
    struct Case {
        std::string text;
        bool result;
        std::vector<Ev> events;  // empty with onsOnly false: no events
        bool onsOnly;
    };
    const Case cases[] = {
        {"C,E,G", true,
         {{0, seNoteOn, 48, 0}, {0, seNoteOn, 52, 0}, {0, seNoteOn, 55, 0},
          {50, seNoteOff, 48, 0}, {50, seNoteOff, 52, 0}, {50, seNoteOff, 55, 0}}, false},
        {"35;C4,D,E,F,G,A,B,50;C3", false, scale, true},
        {"c4,e,g,150;n60,0;N64,n67", false,
         {{0, seNoteOn, 48, 0}, {0, seNoteOn, 52, 0}, {0, seNoteOn, 55, 0}, {50, seNoteOff, 48, 0},
          {50, seNoteOff, 52, 0}, {50, seNoteOff, 55, 0}, {150, seNoteOn, 60, 0}, {150, seNoteOn, 64, 0},
          {150, seNoteOn, 67, 0}, {200, seNoteOff, 60, 0}, {200, seNoteOff, 64, 0}, {200, seNoteOff, 67, 0}}, false},
        {"C4,I28", true, {{0, seInstrument, 28, 0}, {0, seNoteOn, 48, 0}, {50, seNoteOff, 48, 0}}, false},
        {"I129,C4", true, {{0, seInstrument, 129, 9}, {0, seNoteOn, 129, 9}, {50, seNoteOff, 129, 9}}, false},
        {"C;100,E", true, {{0, seNoteOn, 48, 0}, {0, seNoteOn, 52, 0}, {100, seNoteOff, 48, 0}, {100, seNoteOff, 52, 0}}, false},
        {"C;100,E;30", false, {{0, seNoteOn, 48, 0}, {0, seNoteOn, 52, 0}, {30, seNoteOff, 52, 0}, {100, seNoteOff, 48, 0}}, false},
        {"  f#5 , B-9 ", true, {{0, seNoteOn, 66, 0}, {0, seNoteOn, 118, 0}, {50, seNoteOff, 66, 0}, {50, seNoteOff, 118, 0}}, false},
        // Skipped: no such note name, octave 11, note 128, a program beyond 174, B in octave 10
        // (note 131), a token "-5" with a duration "C".
        {"H", true, {}, false},
        {"C11", true, {}, false},
        {"N128", true, {}, false},
        {"I175", true, {}, false},
        {"B10", true, {}, false},
        {"-5;C", true, {}, false},
        {"", false, {}, false},
        {",,", true, {}, false},
        // Tokens that are no note names, not even parts of one (each read as a note before).
        {"0;0A4;50", true, {}, false},
        {"0;3D;50", true, {}, false},
        {"0;1C;50", true, {}, false},
        {"+", true, {}, false},
        {"#", true, {}, false},
        {"C4-", true, {}, false},
        {"E+", true, {}, false},
    };
    for (const Case& c : cases) {
        std::vector<event> list;
        EXPECT_EQ(gen->ExtractNotes(c.text, list), c.result) << c.text;
        std::vector<Ev> ons, offs;
        for (const event& e : list) {
            const Ev ev{e.dwEventStart, e.dwEventType, e.dwData, e.dwChannel};
            (e.dwEventType == seNoteOff ? offs : ons).push_back(ev);
        }
        if (!c.onsOnly) {
            std::vector<Ev> got;
            for (const event& e : list) got.push_back({e.dwEventStart, e.dwEventType, e.dwData, e.dwChannel});
            EXPECT_EQ(got, c.events) << c.text;
            continue;
        }
        // Each note is Duration long.
        EXPECT_EQ(ons, c.events) << c.text;
        ASSERT_EQ(offs.size(), ons.size()) << c.text;
        for (const Ev& on : ons)
            EXPECT_NE(std::find(offs.begin(), offs.end(), Ev{on.at + 50, seNoteOff, on.data, 0}), offs.end()) << on.at;
    }
}

TEST_F(MidiGenTest, EveryNoteNameWholeAndOnlyThose)
{
    const std::pair<const char*, int> names[] = {
        {"C", 0},  {"C+", 1}, {"C#", 1}, {"D", 2},  {"D-", 1},  {"D+", 3},  {"D#", 3},  {"E", 4},
        {"E-", 3}, {"F", 5},  {"F+", 6}, {"F#", 6}, {"G", 7},   {"G-", 6},  {"G+", 8},  {"G#", 8},
        {"A", 9},  {"A-", 8}, {"A+", 10}, {"A#", 10}, {"B", 11}, {"B-", 10}};
    for (const auto& [name, semitone] : names) {
        EXPECT_EQ(oxw::midi::NoteNameSemitone(name), semitone) << name;
        std::vector<event> list;
        gen->ExtractNotes(std::string(name) + "3", list);
        ASSERT_EQ(list.size(), 2u) << name;
        EXPECT_EQ(list[0].dwData, 36 + semitone) << name;
    }
    for (const char* other : {"", "0", "1C", "3D", "0A", "-1", "+", "#", "-", "E+", "F-", "B+", "C-", "CD", "H", "C#4"})
        EXPECT_EQ(oxw::midi::NoteNameSemitone(other), -1) << other;
}

TEST_F(MidiGenTest, SameTimeOrderKeepsARepeatedNoteSounding)
{
    // A 20-note chord followed by the same chord: at tick 50 every note off comes before the
    // new note ons, program changes before both, each kind in list order.
    std::string text = "I16";
    const char* names[] = {"C", "D", "E", "F", "G", "A", "B"};
    for (int i = 0; i < 20; ++i) text += std::string(",") + names[i % 7] + std::to_string(2 + i / 7);
    text += ",50;I17";
    for (int i = 0; i < 20; ++i) text += std::string(",0;") + names[i % 7] + std::to_string(2 + i / 7);
    std::vector<event> list;
    gen->ExtractNotes(text, list);
    ASSERT_EQ(list.size(), 82u);
    std::vector<event> at50;
    for (const event& e : list)
        if (e.dwEventStart == 50) at50.push_back(e);
    ASSERT_EQ(at50.size(), 41u);
    EXPECT_EQ(at50[0].dwEventType, oxw::midi::seInstrument);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(at50[1 + i].dwEventType, oxw::midi::seNoteOff);
        EXPECT_EQ(at50[21 + i].dwEventType, oxw::midi::seNoteOn);
        EXPECT_EQ(at50[1 + i].dwData, at50[21 + i].dwData);
        if (i > 0) {
            EXPECT_GT(at50[21 + i].dwData, at50[20 + i].dwData);
        }
    }
    EXPECT_EQ(StringStream("C4,50;C4"),
              Stream({{0, 0x000000C0}, {0, 0x007F3090}, {50, 0x00003090}, {0, 0x007F3090}, {50, 0x00003090}}));
}

TEST_F(MidiGenTest, NoteStringStreams)
{
    struct Case {
        std::string text;
        Stream expected;
    };
    const std::vector<Case> table = {
        {"C,E,G", {{0, 0x000000C0}, {0, 0x007F3090}, {0, 0x007F3490}, {0, 0x007F3790},
                   {50, 0x00003090}, {0, 0x00003490}, {0, 0x00003790}}},
        {"I129,C4", {{0, 0x00007FC9}, {0, 0x007F2499}, {50, 0x00002499}}},
        {"I28,C4", {{0, 0x00001CC0}, {0, 0x007F3090}, {50, 0x00003090}}},
    };
    for (const Case& c : table) EXPECT_EQ(StringStream(c.text), c.expected) << c.text;
    for (const char* skipped : {"H", "C11", "N128"}) EXPECT_FALSE(gen->PlayString(skipped)) << skipped;
}

TEST_F(MidiGenTest, LoopsReplayTheBufferThenFreeIt)
{
    for (std::uint32_t loops : {3u, 1u}) {
        gen->SetLoops(loops);
        const int closed = TMidiGen::EventCount();
        const std::size_t before = out->Sent.size();
        ASSERT_TRUE(gen->PlayNote(62, 2));
        EXPECT_EQ(TMidiGen::TotalAlloc(), 1);
        for (std::uint32_t pass = 1; pass <= loops; ++pass) {
            EXPECT_TRUE(gen->IsPlaying());
            out->FinishBuffer();
            Pump();
            EXPECT_EQ(out->Sent.size(), before + std::min(pass + 1, loops)) << loops;
        }
        EXPECT_EQ(out->Sent[before], out->Sent.back());
        EXPECT_FALSE(gen->IsPlaying()) << loops;
        EXPECT_FALSE(out->IsOpen());
        EXPECT_EQ(gen->BufferSize(), 0u);
        EXPECT_EQ(gen->sEventCount(), 0u);
        EXPECT_EQ(TMidiGen::TotalAlloc(), 0);
        EXPECT_EQ(TMidiGen::EventCount(), closed + 1);
    }
}

TEST_F(MidiGenTest, ASecondPlayWaitsForTheFirstCallbackThenStopsTheFirst)
{
    ASSERT_TRUE(gen->PlayNote(60, 2));
    EXPECT_FALSE(gen->CanPlay());
    EXPECT_FALSE(gen->PlayNote(64, 2));
    EXPECT_EQ(out->Opens, 1);
    out->DeliverPosition();
    EXPECT_TRUE(gen->CanPlay());
    const int closed = TMidiGen::EventCount();
    ASSERT_TRUE(gen->PlayNote(64, 2));
    EXPECT_GE(out->Stops, 1);
    EXPECT_EQ(out->Closes, 1);
    EXPECT_EQ(TMidiGen::EventCount(), closed + 1);
    EXPECT_EQ(out->Opens, 2);
    ASSERT_EQ(out->Sent.size(), 2u);
    EXPECT_EQ(AfterPreamble(out->Sent[1])[1], std::make_pair(0u, 0x007F4090u));
    EXPECT_EQ(TMidiGen::TotalAlloc(), 1);
}

TEST_F(MidiGenTest, StopEndsLoopingAndClosesTheStream)
{
    gen->SetLoops(0);
    ASSERT_TRUE(gen->PlayNote(60, 2));
    for (int pass = 0; pass < 5; ++pass) out->FinishBuffer();
    EXPECT_EQ(out->Sent.size(), 6u);
    gen->Stop();
    Pump();
    Pump();
    EXPECT_FALSE(gen->IsPlaying());
    EXPECT_EQ(TMidiGen::TotalAlloc(), 0);
}

TEST_F(MidiGenTest, ABufferHoldsAtMost5461Events)
{
    std::string text = "N60";
    for (int i = 1; i < 3000; ++i) text += ",1;N60";  // 6000 list events
    ASSERT_TRUE(gen->PlayString(text));
    ASSERT_EQ(out->Sent.size(), 1u);
    EXPECT_EQ(out->Sent[0].size(), 5461u);
    EXPECT_EQ(gen->BufferSize(), 65532u);
    // Preamble, program change, the ons at ticks 0..49, then an off and an on at each tick: the
    // last event kept is the off at tick 2747, one tick after the on before it.
    EXPECT_EQ(out->Sent[0][5460].dwEvent, 0x00003C90u);
    EXPECT_EQ(out->Sent[0][5460].dwDeltaTime, 1u);
    EXPECT_EQ(out->Sent[0][5459].dwEvent, 0x007F3C90u);
}

TEST_F(MidiGenTest, DevicesAndFailedPlaysLeaveTheGeneratorReady)
{
    // Nothing to play, then a play: the first must not block the second.
    EXPECT_FALSE(gen->PlayString("H"));
    EXPECT_TRUE(gen->CanPlay());
    EXPECT_TRUE(gen->PlayNote(60, 2));
    out->DeliverPosition();
    gen->Stop();
    Pump();
    Pump();

    // A device that does not open.
    out->FailOpen = true;
    EXPECT_FALSE(gen->PlayNote(60, 2));
    EXPECT_TRUE(gen->CanPlay());
    EXPECT_EQ(TMidiGen::TotalAlloc(), 0);
    out->FailOpen = false;
    EXPECT_TRUE(gen->PlayNote(60, 2));
    EXPECT_EQ(out->Sent.back().size(), 18u);  // nothing left over from the failed play
    out->DeliverPosition();

    // A device index beyond the devices is stored; plays then fail the probe.
    out->Devices = 2;
    EXPECT_TRUE(gen->SetDevice(1));
    EXPECT_TRUE(gen->SetDevice(-1));
    EXPECT_FALSE(gen->SetDevice(2));
    EXPECT_EQ(gen->MidiDevice(), 2u);
    gen->Stop();
    Pump();
    Pump();
    const int opens = out->Opens;
    EXPECT_FALSE(gen->MidiAvailable());
    EXPECT_FALSE(gen->PlayNote(60, 2));
    EXPECT_EQ(out->Opens, opens);
    EXPECT_TRUE(gen->SetDevice(0));
    EXPECT_TRUE(gen->PlayNote(60, 2));
    EXPECT_EQ(out->OpenedDevice, 0u);

    // No device at all.
    out->DeliverPosition();
    gen->Stop();
    Pump();
    Pump();
    out->Devices = 0;
    EXPECT_FALSE(gen->SetDevice(-1));
    EXPECT_FALSE(gen->MidiAvailable());
    EXPECT_FALSE(gen->PlayNote(60, 2));
}

TEST(MidiGenDestroy, WaitsForTheCloseOnlyForAWhile)
{
    auto output = std::make_unique<ScriptedMidiStreamOutput>();
    ScriptedMidiStreamOutput* out = output.get();
    out->ReportClose = false;
    auto gen = std::make_unique<TMidiGen>(std::move(output));
    gen->SetCloseWait(200);
    ASSERT_TRUE(gen->PlayNote(60, 2));
    QElapsedTimer clock;
    clock.start();
    gen.reset();  // the stream is stopped and closed, but the close is never reported
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(TMidiGen::CurrentID(), 0);
    EXPECT_EQ(TMidiGen::TotalAlloc(), 0);
}

}  // namespace
