#include "midi/MidiGen.h"

#include <algorithm>

#include "midi/MidiEvents.h"
#include "midi/NoteString.h"
#include "platform/Dialogs.h"
#include "platform/MessagePump.h"

namespace oxw::midi {

namespace {

constexpr int kPercussionChannel = 9;
constexpr std::uint32_t kTimeDivision = 50;

int LimitValue(int lower, int upper, int val) { return std::clamp(val, lower, upper); }

int GetPercentage(int val) { return LimitValue(0, 100, val); }

}  // namespace

TMidiGen::TMidiGen(std::unique_ptr<platform::MidiStreamOutput> output)
    : output_(std::move(output)), fID(uniqueID_++)
{
}

TMidiGen::~TMidiGen()
{
    LoopAllowed = false;
    if (StreamOpen) {
        // Whether ready or still starting: the stream ends here.
        output_->Stop();
        if (!platform::PumpMessagesUntil([this] { return !StreamOpen; }, closeWait_)) {
            // The output never reported the close: end the stream and release the output anyway.
            output_->Reset();
            output_->Close();
        }
    }
    if (currentID_ == fID) currentID_ = 0;
    FreeBuffer();
    output_.reset();
}

void TMidiGen::SetVolume(int v) { fVolume = GetPercentage(v); }
void TMidiGen::SetModulation(int v) { fModulation = GetPercentage(v); }
void TMidiGen::SetChorus(int v) { fChorus = GetPercentage(v); }
void TMidiGen::SetReverb(int v) { fReverb = GetPercentage(v); }
void TMidiGen::SetPitchBend(int v) { fPitchBend = LimitValue(-120, 120, v); }
void TMidiGen::SetPBDelay(int v) { fPBDelay = GetPercentage(v); }
void TMidiGen::SetPBDuration(int v) { fPBDuration = GetPercentage(v); }
void TMidiGen::SetPan(int v) { fPan = LimitValue(-100, 100, v); }
void TMidiGen::SetNote(int v) { fNote = static_cast<TMGNote>(LimitValue(mgC, mgB, v)); }
void TMidiGen::SetOctave(int v) { fOctave = LimitValue(0, 10, v); }
void TMidiGen::SetInstrument(int v) { fInstrument = LimitValue(mgAcousticGrandPiano, mgOpenTriangle, v); }
void TMidiGen::SetChannel(int v) { fChannel = static_cast<TMGChannel>(LimitValue(mgCh01, mgCh16, v)); }

bool TMidiGen::PlayNote(int NoteVal, int ChosenInstrument)
{
    if (!WaitForClose()) return false;
    fInstrument = ChosenInstrument;
    ChannelInUse = fChannel;
    const bool percussion = fInstrument >= 128;
    const bool melodicPlay = ChannelInUse != kPercussionChannel;
    const auto channel = static_cast<TMGChannel>(melodicPlay && !percussion ? ChannelInUse : kPercussionChannel);
    const int data = percussion && melodicPlay ? fInstrument : std::clamp(NoteVal, 0, 127);
    std::vector<event> list;
    if (melodicPlay) list.push_back({0, seInstrument, fInstrument, channel});
    list.push_back({0, seNoteOn, data, channel});
    list.push_back({fDuration, seNoteOff, data, channel});
    return Finish(PlayData(false, true, list));
}

bool TMidiGen::Play(platform::Dialogs& dialogs)
{
    dialogs.ShowMessage(QStringLiteral("Here in TMidiGen.Play"));
    const int note = fNote + 12 * fOctave;
    PlayNote(note, mgXylophone);
    return PlayNote(note, mgAcousticSteelGuitar);
}

bool TMidiGen::PlayString(std::string_view Notes)
{
    if (!WaitForClose()) return false;
    ChannelInUse = fChannel;
    std::vector<event> list;
    const bool chord = ExtractNotes(Notes, list);
    return Finish(!list.empty() && PlayData(false, chord, list));
}

bool TMidiGen::ExtractNotes(std::string_view NoteString, std::vector<event>& Data) const
{
    return midi::ExtractNotes(NoteString, NoteStringStart{fOctave, fDuration, fInstrument, fChannel}, Data);
}

void TMidiGen::Stop()
{
    LoopAllowed = false;
    if (StreamOpen && fCanPlay) output_->Stop();
}

bool TMidiGen::MidiAvailable() { return StreamOpen || output_->Probe(fMidiDevice); }

bool TMidiGen::SetDevice(int Device)
{
    fMidiDevice = static_cast<std::uint32_t>(Device);
    const unsigned devices = output_->DeviceCount();
    return devices > 0 && (Device == -1 || (Device >= 0 && static_cast<unsigned>(Device) < devices));
}

bool TMidiGen::WaitForClose()
{
    if (!fCanPlay || !MidiAvailable()) return false;
    fCanPlay = false;
    LoopAllowed = false;
    if (StreamOpen) output_->Stop();
    if (!platform::PumpMessagesUntil([this] { return !StreamOpen; }, closeWait_)) {
        fCanPlay = true;
        return false;
    }
    return true;
}

// A play that did not leave a stream running: whatever was opened is closed, the buffer freed,
// and the generator is ready again (no position callback will come to make it so).
bool TMidiGen::Finish(bool played)
{
    if (played) return true;
    LoopAllowed = false;
    if (StreamOpen) {
        output_->Reset();
        output_->Close();
    }
    FreeBuffer();
    fCanPlay = true;
    return false;
}

bool TMidiGen::PlayData(bool ResetOnly, bool PitchBendEnabled, std::vector<event>& Data)
{
    if (currentID_ != 0 && currentID_ != fID) return false;
    ChannelInUse = fChannel;
    const bool bending = fPitchBend != 0 && PitchBendEnabled;
    FreeBuffer();
    if (!ResetOnly) AddPreamble();
    AddList(Data, bending);
    Data.clear();
    return StartStream();
}

void TMidiGen::AddPreamble()
{
    const int ch = ChannelInUse;
    AddData(ResetChannel(0, ch, true));
    AddData(ResetChannel(0, kPercussionChannel, false));
    // Registered parameter 0, the bend range: 12 semitones; then no parameter selected.
    AddData(Controller(0, ch, seRPNLSB, 100, 0));
    AddData(Controller(0, ch, seRPNMSB, 101, 0));
    AddData(Controller(0, ch, sePBRange, 6, 12));
    AddData(Controller(0, ch, seRPNLSB, 100, 127));
    AddData(Controller(0, ch, seRPNMSB, 101, 127));
    AddData(DoPan(0, ch, fPan));
    AddData(DoPan(0, kPercussionChannel, fPan));
    AddData(DoModulation(0, ch, fModulation));
    AddData(DoVolume(0, ch, fVolume));
    AddData(DoVolume(0, kPercussionChannel, fVolume));
    AddData(DoSustain(0, ch, fSustain));
    AddData(DoReverb(0, ch, fReverb));
    AddData(DoChorus(0, ch, fChorus));
}

sMIDIEVENT TMidiGen::NoteEvent(std::uint32_t delta, const event& e, bool on) const
{
    if (e.dwChannel == kPercussionChannel && ChannelInUse != kPercussionChannel)
        return SetPercussion(delta, e.dwData, 127, on);
    return NoteOnDWord(delta, e.dwChannel, e.dwData, on ? 127 : 0);
}

void TMidiGen::AddList(const std::vector<event>& Data, bool bending)
{
    std::uint32_t previous = 0;
    bool firstOff = true;
    for (std::size_t i = 0; i < Data.size(); ++i) {
        const event& e = Data[i];
        std::uint32_t delta = e.dwEventStart - previous;
        previous = e.dwEventStart;
        if (i == 0 && e.dwEventType != seInstrument) AddData(AddInstrument(0, ChannelInUse, fInstrument));
        switch (e.dwEventType) {
        case seInstrument: AddData(AddInstrument(delta, e.dwChannel, e.dwData)); break;
        case seNoteOn: AddData(NoteEvent(delta, e, true)); break;
        case seNoteOff:
            if (firstOff && bending) {
                // The ramp lies inside the note: the note off keeps its time after it.
                for (const sMIDIEVENT& step : DoPitchBend(delta, fPBDelay, fPBDuration, fPitchBend, e.dwChannel)) {
                    AddData(step);
                    delta -= step.dwDeltaTime;
                }
            }
            firstOff = false;
            AddData(NoteEvent(delta, e, false));
            break;
        default: break;
        }
    }
}

bool TMidiGen::StartStream()
{
    platform::PumpMessagesUntil([this] { return !StreamOpen; }, closeWait_);
    if (StreamOpen) return false;
    if (!output_->Open(fMidiDevice, [this](platform::MidiStreamMessage m) { WndProc(m); })) return false;
    StreamOpen = true;
    if (!platform::PumpMessagesUntil([this] { return DeviceOpened; }, closeWait_)) return false;
    currentID_ = fID;
    return output_->Reset() && output_->SetTimeDivision(kTimeDivision) && output_->Out(DataBuffer) &&
           output_->Restart();
}

void TMidiGen::WndProc(platform::MidiStreamMessage message)
{
    switch (message) {
    case platform::MidiStreamMessage::Open:
        DeviceOpened = fIsPlaying = LoopAllowed = true;
        LoopCount = fLoops;
        break;
    case platform::MidiStreamMessage::PositionCallback: fCanPlay = true; break;
    case platform::MidiStreamMessage::Done: Done(); break;
    case platform::MidiStreamMessage::Close:
        DeviceOpened = fIsPlaying = LoopAllowed = false;
        StreamOpen = false;
        if (currentID_ == fID) currentID_ = 0;
        ++eventCount_;
        break;
    }
}

// A pass of the buffer has ended: play it again while loops remain, else close the stream.
void TMidiGen::Done()
{
    if (LoopAllowed && (LoopCount == 0 || LoopCount >= 2)) {
        output_->Out(DataBuffer);
        output_->Restart();
        if (LoopCount > 1) --LoopCount;
        return;
    }
    output_->Stop();
    output_->Reset();
    FreeBuffer();
    output_->Close();
}

void TMidiGen::AddData(const sMIDIEVENT& e)
{
    if (BufferSize() + sizeof(sMIDIEVENT) > MaxBufferBytes) return;
    if (DataBuffer.empty()) ++totalAlloc_;
    DataBuffer.push_back(e);
}

void TMidiGen::FreeBuffer()
{
    if (DataBuffer.empty()) return;
    std::vector<sMIDIEVENT>().swap(DataBuffer);
    --totalAlloc_;
}

}  // namespace oxw::midi
