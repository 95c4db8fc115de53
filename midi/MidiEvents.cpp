#include "midi/MidiEvents.h"

#include <algorithm>

namespace oxw::midi {

namespace {

constexpr int kPercussionChannel = 9;

int DataByte(int value) { return std::clamp(value, 0, 127); }

int Scaled127(int LevelPC) { return LevelPC * 127 / 100; }

}  // namespace

std::uint32_t StatusOf(sEvent kind)
{
    switch (kind) {
    case seInstrument: return 0xC0;
    case seNoteOn:
    case seNoteOff: return 0x90;
    case sePitchBend: return 0xE0;
    default: return 0xB0;
    }
}

sMIDIEVENT ShortEvent(std::uint32_t Time, int lChannel, sEvent Event, int data1, int data2, bool DoCallback)
{
    std::uint32_t word = StatusOf(Event) | (static_cast<std::uint32_t>(lChannel) & 15) |
                         (static_cast<std::uint32_t>(DataByte(data1)) << 8) |
                         (static_cast<std::uint32_t>(DataByte(data2)) << 16);
    if (DoCallback) word |= platform::kMidiEventCallback;
    return {Time, 0, word};
}

sMIDIEVENT Controller(std::uint32_t Time, int lChannel, sEvent Event, int number, int value, bool DoCallback)
{
    return ShortEvent(Time, lChannel, Event, number, value, DoCallback);
}

sMIDIEVENT AddInstrument(std::uint32_t Time, int lChannel, int program)
{
    return ShortEvent(Time, lChannel, seInstrument, program, 0);
}

sMIDIEVENT NoteOnDWord(std::uint32_t Time, int lChannel, int Note, int Level)
{
    return ShortEvent(Time, lChannel, Level == 0 ? seNoteOff : seNoteOn, Note, Level);
}

sMIDIEVENT SetPercussion(std::uint32_t Time, int Instrument, int Level, bool Hit)
{
    const int key = std::clamp(Instrument - 93, 35, 81);
    return ShortEvent(Time, kPercussionChannel, Hit ? seNoteOn : seNoteOff, key, Hit ? Level : 0);
}

sMIDIEVENT ResetChannel(std::uint32_t Time, int lChannel, bool Callback)
{
    return Controller(Time, lChannel, seReset, 121, 0, Callback);
}

sMIDIEVENT DoVolume(std::uint32_t Time, int lChannel, int LevelPC)
{
    return Controller(Time, lChannel, seVolume, 7, Scaled127(LevelPC));
}

sMIDIEVENT DoModulation(std::uint32_t Time, int lChannel, int LevelPC)
{
    return Controller(Time, lChannel, seModulation, 1, Scaled127(LevelPC));
}

sMIDIEVENT DoReverb(std::uint32_t Time, int lChannel, int LevelPC)
{
    return Controller(Time, lChannel, seReverb, 91, Scaled127(LevelPC));
}

sMIDIEVENT DoChorus(std::uint32_t Time, int lChannel, int LevelPC)
{
    return Controller(Time, lChannel, seChorus, 93, Scaled127(LevelPC));
}

sMIDIEVENT DoPan(std::uint32_t Time, int lChannel, int LevelPC)
{
    return Controller(Time, lChannel, sePan, 10, LevelPC * 63 / 100 + 64);
}

sMIDIEVENT DoSustain(std::uint32_t Time, int lChannel, bool EffectOn)
{
    return Controller(Time, lChannel, seSustain, 64, EffectOn ? 127 : 0);
}

std::uint32_t MidiWord(std::uint32_t dw) { return ((dw & 0x3F80) << 1) | (dw & 0x7F); }

std::vector<sMIDIEVENT> DoPitchBend(std::uint32_t TotalTime, int delayPC, int durationPC, int levelPC, int lChannel)
{
    std::vector<sMIDIEVENT> ramp;
    if (TotalTime == 0 || durationPC == 0 || delayPC == 100 || levelPC == 0) return ramp;
    const std::int64_t start = std::int64_t{TotalTime} * delayPC / 100;
    const std::int64_t steps = (std::int64_t{TotalTime} - start) * durationPC / 100;
    if (steps <= 0 || steps > 8191) return ramp;
    const std::int64_t inc = (std::int64_t{levelPC} * 8191 / 120) / steps;
    std::int64_t value = 8192 + inc;
    ramp.reserve(static_cast<std::size_t>(steps));
    for (std::int64_t i = 0; i < steps; ++i) {
        const std::uint32_t delta = i == 0 ? static_cast<std::uint32_t>(start) + 1 : 1;
        const std::uint32_t word = MidiWord(static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, 16383)));
        ramp.push_back(ShortEvent(delta, lChannel, sePitchBend, word & 0x7F, (word >> 8) & 0x7F));
        value += inc;
    }
    return ramp;
}

}  // namespace oxw::midi
