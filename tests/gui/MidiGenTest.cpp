// The MIDI generator on a scripted stream output: property limits, the stream buffers it sends
// compared whole (worked by hand from the MIDI encoding), note strings, and the playback states
// driven by the output's open, position, done and close messages.
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "midi/MidiGen.h"
#include "midi/NoteString.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedMidiStreamOutput.h"

namespace {

using namespace oxw::midi;
using oxw::platform::MidiStreamEvent;
using oxw::platform::ScriptedMidiStreamOutput;
using Stream = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // (delta, event word)

// The preamble with the default properties on channel 0: reset (with the callback flag) on 0 and
// 9, bend range 12, pan 64 on 0 and 9, modulation 0, volume 127 on 0 and 9, sustain, reverb and
// chorus 0.
const Stream kPreamble = {{0, 0x400079B0}, {0, 0x000079B9}, {0, 0x000064B0}, {0, 0x000065B0}, {0, 0x000C06B0},
                          {0, 0x007F64B0}, {0, 0x007F65B0}, {0, 0x00400AB0}, {0, 0x00400AB9}, {0, 0x000001B0},
                          {0, 0x007F07B0}, {0, 0x007F07B9}, {0, 0x000040B0}, {0, 0x00005BB0}, {0, 0x00005DB0}};

Stream AsStream(const std::vector<MidiStreamEvent>& buffer)
{
    Stream result;
    for (const auto& e : buffer) result.push_back({e.dwStreamID == 0 ? e.dwDeltaTime : ~0u, e.dwEvent});
    return result;
}

Stream Concat(Stream a, const Stream& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Delivers the queued messages, and those their handling queues in turn.
void Pump()
{
    for (int i = 0; i < 8; ++i) QCoreApplication::processEvents();
}

class MidiGenTest : public ::testing::Test {
protected:
    MidiGenTest() : gen(std::make_unique<TMidiGen>(std::make_unique<ScriptedMidiStreamOutput>()))
    {
        out = static_cast<ScriptedMidiStreamOutput*>(&gen->Output());
        gen->SetCloseWait(300);
    }
    ~MidiGenTest() override
    {
        gen.reset();
        EXPECT_EQ(TMidiGen::CurrentID(), 0);
    }
    // Ends a play whose first buffer was sent.
    void EndPlay()
    {
        out->DeliverPosition();
        gen->Stop();
        Pump();
    }

    std::unique_ptr<TMidiGen> gen;
    ScriptedMidiStreamOutput* out = nullptr;
};

// Each limited property at its lowest and highest value kept, and one beyond each.
TEST_F(MidiGenTest, PropertyLimits)
{
    TMidiGen& g = *gen;
#define OXW_PROPERTY(Name, low, high) \
    {[&](int v) { g.Set##Name(v); }, [&] { return static_cast<int>(g.Name()); }, low, high}
    const struct { std::function<void(int)> set; std::function<int()> get; int low, high; } cases[] = {
        OXW_PROPERTY(Pan, -100, 100),       OXW_PROPERTY(Volume, 0, 100),     OXW_PROPERTY(Modulation, 0, 100),
        OXW_PROPERTY(Chorus, 0, 100),       OXW_PROPERTY(Reverb, 0, 100),     OXW_PROPERTY(PBDelay, 0, 100),
        OXW_PROPERTY(PitchBend, -120, 120), OXW_PROPERTY(PBDuration, 0, 100), OXW_PROPERTY(Octave, 0, 10),
        OXW_PROPERTY(Instrument, 0, 174),   OXW_PROPERTY(Note, 0, 11),        OXW_PROPERTY(Channel, 0, 15)};
#undef OXW_PROPERTY
    for (const auto& c : cases)
        for (const auto& [value, kept] : {std::pair{c.low, c.low}, {c.low - 1, c.low}, {c.high, c.high},
                                          {c.high + 1, c.high}}) {
            c.set(value);
            EXPECT_EQ(c.get(), kept) << c.low << ".." << c.high << ": " << value;
        }
}

// Whole buffers, preamble included, for notes, programs and percussion by string and by note.
TEST_F(MidiGenTest, GoldenStreams)
{
    const struct { const char* what; std::function<bool()> play; Stream body; } cases[] = {
        {"I28,C4", [&] { return gen->PlayString("I28,C4"); }, {{0, 0x00001CC0}, {0, 0x007F3090}, {50, 0x00003090}}},
        {"N127", [&] { return gen->PlayString("N127"); }, {{0, 0x000000C0}, {0, 0x007F7F90}, {50, 0x00007F90}}},
        {"C,E,G", [&] { return gen->PlayString("C,E,G"); },
         {{0, 0x000000C0}, {0, 0x007F3090}, {0, 0x007F3490}, {0, 0x007F3790}, {50, 0x00003090}, {0, 0x00003490},
          {0, 0x00003790}}},
        // The off of the first note comes before the on of the second at tick 50.
        {"C4,50;C4", [&] { return gen->PlayString("C4,50;C4"); },
         {{0, 0x000000C0}, {0, 0x007F3090}, {50, 0x00003090}, {0, 0x007F3090}, {50, 0x00003090}}},
        // Percussion: program 127 and key value - 93 (35..81) on channel 9.
        {"I129,C4", [&] { return gen->PlayString("I129,C4"); }, {{0, 0x00007FC9}, {0, 0x007F2499}, {50, 0x00002499}}},
        {"I174,C4", [&] { return gen->PlayString("I174,C4"); }, {{0, 0x00007FC9}, {0, 0x007F5199}, {50, 0x00005199}}},
        {"note 128", [&] { return gen->PlayNote(60, 128); }, {{0, 0x00007FC9}, {0, 0x007F2399}, {50, 0x00002399}}},
        {"note 62", [&] { return gen->PlayNote(62, 2); }, {{0, 0x000002C0}, {0, 0x007F3E90}, {50, 0x00003E90}}},
        {"note 200", [&] { return gen->PlayNote(200, 2); }, {{0, 0x000002C0}, {0, 0x007F7F90}, {50, 0x00007F90}}},
        {"program -5", [&] { return gen->PlayNote(60, -5); }, {{0, 0x000000C0}, {0, 0x007F3C90}, {50, 0x00003C90}}},
    };
    for (const auto& c : cases) {
        const std::size_t before = out->Sent.size();
        ASSERT_TRUE(c.play()) << c.what;
        ASSERT_EQ(out->Sent.size(), before + 1) << c.what;
        EXPECT_EQ(AsStream(out->Sent.back()), Concat(kPreamble, c.body)) << c.what;
        EndPlay();
    }
    EXPECT_EQ(out->TimeDivision, 50u);
    EXPECT_EQ(out->Tempo, oxw::platform::kDefaultMidiTempo);  // never set: 10 ms per tick
    EXPECT_EQ(out->OpenedDevice, oxw::platform::kMidiMapper);
}

// Every property of the preamble away from its default, on channel 3: pan -100 -> 1, modulation
// 20 -> 25, volume 50 -> 63, sustain on -> 127, reverb 70 -> 88, chorus 33 -> 41 (x 127 div 100).
TEST_F(MidiGenTest, PreambleCarriesTheProperties)
{
    gen->SetChannel(3);
    gen->SetPan(-100);
    gen->SetModulation(20);
    gen->SetVolume(50);
    gen->SetSustain(true);
    gen->SetReverb(70);
    gen->SetChorus(33);
    ASSERT_TRUE(gen->PlayNote(60, 2));
    EXPECT_EQ(AsStream(out->Sent.back()),
              Stream({{0, 0x400079B3}, {0, 0x000079B9}, {0, 0x000064B3}, {0, 0x000065B3}, {0, 0x000C06B3},
                      {0, 0x007F64B3}, {0, 0x007F65B3}, {0, 0x00010AB3}, {0, 0x00010AB9}, {0, 0x001901B3},
                      {0, 0x003F07B3}, {0, 0x003F07B9}, {0, 0x007F40B3}, {0, 0x00585BB3}, {0, 0x00295DB3},
                      {0, 0x000002C3}, {0, 0x007F3C93}, {50, 0x00003C93}}));
    EndPlay();
    gen->SetPan(100);  // the other end: 127
    ASSERT_TRUE(gen->PlayNote(60, 2));
    EXPECT_EQ(out->Sent.back()[7].dwEvent, 0x007F0AB3u);
}

TEST_F(MidiGenTest, PitchBendRampStaysInsideTheNote)
{
    gen->SetPitchBend(120);
    gen->SetPBDelay(0);
    ASSERT_TRUE(gen->PlayNote(60, 0));
    const Stream all = AsStream(out->Sent[0]);
    ASSERT_EQ(all.size(), kPreamble.size() + 53);
    const Stream s(all.begin() + static_cast<long>(kPreamble.size()), all.end());
    // 50 steps of 8191 x 120/120 div 50 = 163 from 8192: the first 8355, the last 16342; then
    // the note off at its own time, 50.
    EXPECT_EQ(s[2], std::make_pair(1u, 0x004123E0u));
    EXPECT_EQ(s[51], std::make_pair(1u, 0x007F56E0u));
    std::uint32_t ticks = 0;
    for (std::size_t i = 2; i < 52; ++i) ticks += s[i].first;
    EXPECT_EQ(ticks, 50u);
    EXPECT_EQ(s[52], std::make_pair(0u, 0x00003C90u));
}

TEST_F(MidiGenTest, NoteStringsAsEventLists)
{
    struct Ev {
        std::uint32_t at;
        sEvent kind;
        int data, channel;
        bool operator==(const Ev&) const = default;
    };
    const struct { std::string text; bool chord; std::vector<Ev> events; } cases[] = {
        {"35;C4,D,50;C3", false,
         {{35, seNoteOn, 48, 0}, {70, seNoteOn, 50, 0}, {85, seNoteOff, 48, 0}, {120, seNoteOff, 50, 0},
          {120, seNoteOn, 36, 0}, {170, seNoteOff, 36, 0}}},
        {"c4,150;n60,0;N64;20", false,
         {{0, seNoteOn, 48, 0}, {50, seNoteOff, 48, 0}, {150, seNoteOn, 60, 0}, {150, seNoteOn, 64, 0},
          {170, seNoteOff, 64, 0}, {200, seNoteOff, 60, 0}}},
        {"C4,I28", true, {{0, seInstrument, 28, 0}, {0, seNoteOn, 48, 0}, {50, seNoteOff, 48, 0}}},
        {"I174", true, {{0, seInstrument, 174, 9}}},
        {"C;100,E", true,
         {{0, seNoteOn, 48, 0}, {0, seNoteOn, 52, 0}, {100, seNoteOff, 48, 0}, {100, seNoteOff, 52, 0}}},
        {"  f#5 , B-9 ,C0,G10", true,
         {{0, seNoteOn, 66, 0}, {0, seNoteOn, 118, 0}, {0, seNoteOn, 0, 0}, {0, seNoteOn, 127, 0},
          {50, seNoteOff, 66, 0}, {50, seNoteOff, 118, 0}, {50, seNoteOff, 0, 0}, {50, seNoteOff, 127, 0}}},
        {"N0", true, {{0, seNoteOn, 0, 0}, {50, seNoteOff, 0, 0}}},
        // Octave 11 is no octave: D keeps octave 4. Octave 10 becomes the current one, also when
        // its note (B10, 131) is past 127 and dropped.
        {"C11,D", true, {{0, seNoteOn, 50, 0}, {50, seNoteOff, 50, 0}}},
        {"C10,D", true,
         {{0, seNoteOn, 120, 0}, {0, seNoteOn, 122, 0}, {50, seNoteOff, 120, 0}, {50, seNoteOff, 122, 0}}},
        {"B10,C", true, {{0, seNoteOn, 120, 0}, {50, seNoteOff, 120, 0}}},
    };
    for (const auto& c : cases) {
        std::vector<event> list;
        EXPECT_EQ(gen->ExtractNotes(c.text, list), c.chord) << c.text;
        std::vector<Ev> got;
        for (const event& e : list) got.push_back({e.dwEventStart, e.dwEventType, e.dwData, e.dwChannel});
        EXPECT_EQ(got, c.events) << c.text;
    }
    // Skipped whole: no such note name, octave 11, notes 128 and 131, program 175, negative
    // numbers, tokens that are no note names nor parts of one.
    for (const char* text : {"H", "C11", "N128", "G#10", "B10", "I175", "N-1", "I-1", "-5;C", "", ",,", "0;0A4;50",
                             "0;3D;50", "+", "#", "C4-", "E+"}) {
        std::vector<event> list;
        EXPECT_EQ(gen->ExtractNotes(text, list), *text != 0) << text;
        EXPECT_TRUE(list.empty()) << text;
        EXPECT_FALSE(gen->PlayString(text)) << text;
    }
}

TEST_F(MidiGenTest, EveryNoteNameWholeAndOnlyThose)
{
    const std::pair<const char*, int> names[] = {
        {"C", 0},  {"C+", 1}, {"C#", 1}, {"D", 2},   {"D-", 1},   {"D+", 3}, {"D#", 3},  {"E", 4},
        {"E-", 3}, {"F", 5},  {"F+", 6}, {"F#", 6},  {"G", 7},    {"G-", 6}, {"G+", 8},  {"G#", 8},
        {"A", 9},  {"A-", 8}, {"A+", 10}, {"A#", 10}, {"B", 11}, {"B-", 10}};
    for (const auto& [name, semitone] : names) EXPECT_EQ(NoteNameSemitone(name), semitone) << name;
    for (const char* other : {"", "0", "1C", "0A", "-1", "+", "#", "-", "E+", "F-", "B+", "C-", "CD", "H", "C#4"})
        EXPECT_EQ(NoteNameSemitone(other), -1) << other;
}

TEST_F(MidiGenTest, SameTimeOrderKeepsARepeatedNoteSounding)
{
    // A 20-note chord followed by the same chord: at tick 50 the program change first, then every
    // note off, then the new note ons, each kind in list order.
    std::string text = "I16";
    const char* names[] = {"C", "D", "E", "F", "G", "A", "B"};
    for (int i = 0; i < 20; ++i) text += std::string(",") + names[i % 7] + std::to_string(2 + i / 7);
    text += ",50;I17";
    for (int i = 0; i < 20; ++i) text += std::string(",0;") + names[i % 7] + std::to_string(2 + i / 7);
    std::vector<event> list;
    gen->ExtractNotes(text, list);
    ASSERT_EQ(list.size(), 82u);
    EXPECT_TRUE(list[21].dwEventStart == 50 && list[21].dwEventType == seInstrument);
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(list[22 + i].dwEventType == seNoteOff && list[42 + i].dwEventType == seNoteOn) << i;
        EXPECT_EQ(list[22 + i].dwData, list[42 + i].dwData) << i;
        EXPECT_TRUE(i == 0 || list[42 + i].dwData > list[41 + i].dwData) << i;
    }
}

// Loops 3 and 1 replay the buffer and then free it; Loops 0 plays until Stop.
TEST_F(MidiGenTest, LoopsReplayTheBufferThenFreeIt)
{
    for (std::uint32_t loops : {3u, 1u, 0u}) {
        gen->SetLoops(loops);
        const int closed = TMidiGen::EventCount();
        const std::size_t before = out->Sent.size();
        ASSERT_TRUE(gen->PlayNote(62, 2));
        EXPECT_EQ(TMidiGen::TotalAlloc(), 1);
        for (std::uint32_t pass = 1; pass <= (loops ? loops : 5); ++pass) {
            EXPECT_TRUE(gen->IsPlaying());
            out->FinishBuffer();
            Pump();
            EXPECT_EQ(out->Sent.size(), before + (loops ? std::min(pass + 1, loops) : pass + 1)) << loops;
        }
        EXPECT_EQ(out->Sent[before], out->Sent.back());
        if (loops == 0) {
            gen->Stop();
            Pump();
        }
        EXPECT_FALSE(gen->IsPlaying() || out->IsOpen()) << loops;
        EXPECT_EQ(gen->BufferSize(), 0u);
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
    EXPECT_TRUE(out->Stops >= 1 && out->Closes == 1 && out->Opens == 2);
    EXPECT_EQ(TMidiGen::EventCount(), closed + 1);
    ASSERT_EQ(out->Sent.size(), 2u);
    EXPECT_EQ(out->Sent[1][kPreamble.size() + 1].dwEvent, 0x007F4090u);
    EXPECT_EQ(TMidiGen::TotalAlloc(), 1);
}

// Play says so, then plays Note + 12 x Octave (C4: 48) as instrument 13, then as 25. The second
// is refused while the first has not called back; an output that calls back at once plays both.
TEST_F(MidiGenTest, PlaySaysSoThenPlaysAsInstruments13And25)
{
    struct CallsBackAtOnce : ScriptedMidiStreamOutput {
        bool Restart() override { return ScriptedMidiStreamOutput::Restart() && (DeliverPosition(), true); }
    };
    for (bool atOnce : {false, true}) {
        gen = std::make_unique<TMidiGen>(std::unique_ptr<ScriptedMidiStreamOutput>(atOnce ? new CallsBackAtOnce : new ScriptedMidiStreamOutput));
        out = static_cast<ScriptedMidiStreamOutput*>(&gen->Output());
        oxw::platform::ScriptedDialogs dialogs;
        EXPECT_EQ(gen->Play(dialogs), atOnce);
        EXPECT_EQ(dialogs.Messages, QStringList{"Here in TMidiGen.Play"});
        ASSERT_EQ(out->Sent.size(), atOnce ? 2u : 1u);
        for (std::uint32_t i = 0; i < out->Sent.size(); ++i)  // program 13, then 25
            EXPECT_EQ(AsStream(out->Sent[i]), Concat(kPreamble, {{0, i ? 0x19C0u : 0x0DC0u}, {0, 0x007F3090}, {50, 0x00003090}}));
        EndPlay();
    }
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
    // last event kept is an off, one tick after the on before it.
    EXPECT_EQ(AsStream({out->Sent[0][5459], out->Sent[0][5460]}), Stream({{0, 0x007F3C90}, {1, 0x00003C90}}));
}

TEST_F(MidiGenTest, DevicesAndFailedPlaysLeaveTheGeneratorReady)
{
    // Nothing to play, then a play: the first must not block the second.
    EXPECT_FALSE(gen->PlayString("H"));
    EXPECT_TRUE(gen->CanPlay());
    EXPECT_TRUE(gen->PlayNote(60, 2));
    EndPlay();
    // A device that does not open, then one that does: nothing left over from the failed play.
    out->FailOpen = true;
    EXPECT_FALSE(gen->PlayNote(60, 2));
    EXPECT_TRUE(gen->CanPlay());
    EXPECT_EQ(TMidiGen::TotalAlloc(), 0);
    out->FailOpen = false;
    EXPECT_TRUE(gen->PlayNote(60, 2));
    EXPECT_EQ(out->Sent.back().size(), 18u);
    EndPlay();
    // Device indexes: the last existing one and the default are valid; the next is stored, but
    // plays then fail the probe without opening.
    out->Devices = 2;
    EXPECT_TRUE(gen->SetDevice(1) && gen->SetDevice(-1));
    EXPECT_FALSE(gen->SetDevice(2));
    EXPECT_EQ(gen->MidiDevice(), 2u);
    const int opens = out->Opens;
    EXPECT_FALSE(gen->MidiAvailable() || gen->PlayNote(60, 2));
    EXPECT_EQ(out->Opens, opens);
    EXPECT_TRUE(gen->SetDevice(0) && gen->PlayNote(60, 2));
    EXPECT_EQ(out->OpenedDevice, 0u);
    EndPlay();
    out->Devices = 0;  // no device at all
    EXPECT_FALSE(gen->SetDevice(-1) || gen->MidiAvailable() || gen->PlayNote(60, 2));
}

TEST(MidiGenDestroy, WaitsForTheCloseOnlyForAWhile)
{
    auto gen = std::make_unique<TMidiGen>(std::make_unique<ScriptedMidiStreamOutput>());
    static_cast<ScriptedMidiStreamOutput&>(gen->Output()).ReportClose = false;
    gen->SetCloseWait(200);
    ASSERT_TRUE(gen->PlayNote(60, 2));
    gen.reset();  // the stream is stopped and closed, but the close is never reported: no hang
    EXPECT_EQ(TMidiGen::CurrentID(), 0);
    EXPECT_EQ(TMidiGen::TotalAlloc(), 0);
}

}  // namespace
