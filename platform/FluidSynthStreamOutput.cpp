#include "platform/FluidSynthStreamOutput.h"

#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <vector>

namespace oxw::platform {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRetryAfter = std::chrono::seconds(2);
constexpr int kChannels = 16;

bool FileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// Hands one short message of a stream event to the synthesiser.
void SendShortMessage(fluid_synth_t* synth, std::uint32_t word)
{
    if (((word >> 24) & 0x3F) != 0) return;  // not a short message
    const int status = word & 0xF0;
    const int channel = word & 0x0F;
    const int data1 = (word >> 8) & 0x7F;
    const int data2 = (word >> 16) & 0x7F;
    switch (status) {
    case 0x80: fluid_synth_noteoff(synth, channel, data1); break;
    case 0x90:
        if (data2 == 0) fluid_synth_noteoff(synth, channel, data1);
        else fluid_synth_noteon(synth, channel, data1, data2);
        break;
    case 0xA0: fluid_synth_key_pressure(synth, channel, data1, data2); break;
    case 0xB0: fluid_synth_cc(synth, channel, data1, data2); break;
    case 0xC0: fluid_synth_program_change(synth, channel, data1); break;
    case 0xD0: fluid_synth_channel_pressure(synth, channel, data1); break;
    case 0xE0: fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7)); break;
    default: break;
    }
}

}  // namespace

std::string GeneralMidiSoundFont()
{
#ifdef OXW_GM_SOUNDFONT
    if (FileExists(OXW_GM_SOUNDFONT)) return OXW_GM_SOUNDFONT;
#endif
    std::string result;
    if (fluid_settings_t* settings = new_fluid_settings()) {
        char* name = nullptr;
        if (fluid_settings_dupstr(settings, "synth.default-soundfont", &name) == FLUID_OK && name) {
            if (FileExists(name)) result = name;
            fluid_free(name);
        }
        delete_fluid_settings(settings);
    }
    return result;
}

struct FluidSynthStreamOutput::Impl {
    // The events of one time of a buffer, handed to the synthesiser together.
    struct Group {
        std::uint64_t stream;
        std::uint64_t buffer;
        std::vector<std::uint32_t> words;
        bool lastOfBuffer;
    };

    FluidSynthOptions options;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_sequencer_t* sequencer = nullptr;
    fluid_seq_id_t client = -1;
    fluid_audio_driver_t* driver = nullptr;
    bool soundFontLoaded = false;
    int synthCreations = 0;
    Clock::time_point lastFailure{};
    bool failedBefore = false;

    // The stream (GUI thread).
    bool open = false;
    bool running = false;
    std::uint64_t stream = 0;
    std::uint32_t division = 96;
    std::uint32_t tempo = kDefaultMidiTempo;
    unsigned lastEnd = 0;
    std::uint64_t nextBuffer = 1;
    std::vector<std::pair<std::uint64_t, std::vector<MidiStreamEvent>>> queued;
    MidiMessagePoster poster;

    // Shared with the thread that renders the sound.
    std::mutex mutex;
    std::map<std::uint64_t, Group> groups;  // by timer token
    std::set<std::uint64_t> playing;        // buffers scheduled whose Done is not yet posted
    std::uint64_t nextToken = 1;

    explicit Impl(FluidSynthOptions o) : options(std::move(o)) {}
    ~Impl();

    bool EnsureSynth();
    bool EnsureSound();
    bool EnsureDevice();
    void ApplyTimeScale();
    void Schedule();
    void ScheduleBuffer(std::uint64_t id, const std::vector<MidiStreamEvent>& events, unsigned now);
    void Fire(std::uint64_t token);
    std::vector<std::uint64_t> Withdraw();
    void Silence();
    static void OnTimer(unsigned int, fluid_event_t* event, fluid_sequencer_t*, void* data);
};

FluidSynthStreamOutput::Impl::~Impl()
{
    // The sound output's thread goes first, so no callback runs while the rest is taken down;
    // the sequencer must go before the synthesiser it is bound to.
    if (driver) delete_fluid_audio_driver(driver);
    if (sequencer) delete_fluid_sequencer(sequencer);
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
}

bool FluidSynthStreamOutput::Impl::EnsureSynth()
{
    if (synth) return true;
    if (!settings) {
        settings = new_fluid_settings();
        if (!settings) return false;
        if (!options.audioDriver.empty())
            fluid_settings_setstr(settings, "audio.driver", options.audioDriver.c_str());
        if (!options.audioDevice.empty() && !options.audioDriver.empty()) {
            const std::string key = "audio." + options.audioDriver + ".device";
            fluid_settings_setstr(settings, key.c_str(), options.audioDevice.c_str());
        }
    }
    synth = new_fluid_synth(settings);
    if (!synth) return false;
    ++synthCreations;
    // Timed by the synthesiser's sample clock, so offline rendering runs it as well.
    sequencer = new_fluid_sequencer2(0);
    fluid_sequencer_register_fluidsynth(sequencer, synth);
    client = fluid_sequencer_register_client(sequencer, "oxw-stream", &Impl::OnTimer, this);
    ApplyTimeScale();
    return true;
}

bool FluidSynthStreamOutput::Impl::EnsureSound()
{
    if (!options.offline && !driver) {
        driver = new_fluid_audio_driver(settings, synth);
        if (!driver) return false;
    }
    if (!soundFontLoaded) {
        const std::string file = options.soundFont.empty() ? GeneralMidiSoundFont() : options.soundFont;
        soundFontLoaded = FileExists(file) && fluid_synth_sfload(synth, file.c_str(), 1) != FLUID_FAILED;
    }
    return soundFontLoaded;
}

bool FluidSynthStreamOutput::Impl::EnsureDevice()
{
    if (synth && soundFontLoaded && (options.offline || driver)) return true;
    if (failedBefore && Clock::now() - lastFailure < kRetryAfter) return false;
    const bool ok = EnsureSynth() && EnsureSound();
    failedBefore = !ok;
    if (!ok) lastFailure = Clock::now();
    return ok;
}

void FluidSynthStreamOutput::Impl::ApplyTimeScale()
{
    if (sequencer && tempo > 0 && division > 0)
        fluid_sequencer_set_time_scale(sequencer, 1e6 * division / tempo);
}

void FluidSynthStreamOutput::Impl::Schedule()
{
    const unsigned now = fluid_sequencer_get_tick(sequencer);
    auto buffers = std::move(queued);
    queued.clear();
    for (const auto& [id, events] : buffers) ScheduleBuffer(id, events, now);
}

void FluidSynthStreamOutput::Impl::ScheduleBuffer(std::uint64_t id, const std::vector<MidiStreamEvent>& events,
                                                  unsigned now)
{
    if (events.empty()) {
        poster.Post(stream, MidiStreamMessage::Done);
        return;
    }
    // Group the events by their time, keeping their order.
    unsigned time = std::max(now, lastEnd);
    std::vector<std::pair<unsigned, Group>> timed;
    for (const MidiStreamEvent& e : events) {
        time += e.dwDeltaTime;
        if (timed.empty() || timed.back().first != time) timed.push_back({time, Group{stream, id, {}, false}});
        timed.back().second.words.push_back(e.dwEvent);
    }
    timed.back().second.lastOfBuffer = true;
    lastEnd = time;

    std::vector<std::pair<unsigned, std::uint64_t>> timers;
    {
        std::lock_guard lock(mutex);
        playing.insert(id);
        for (auto& [at, group] : timed) {
            groups.emplace(nextToken, std::move(group));
            timers.push_back({at, nextToken++});
        }
    }
    // Outside the lock: the sequencer holds its own while it calls back into Fire.
    fluid_event_t* event = new_fluid_event();
    fluid_event_set_source(event, -1);
    fluid_event_set_dest(event, client);
    for (const auto& [at, token] : timers) {
        fluid_event_timer(event, reinterpret_cast<void*>(static_cast<std::uintptr_t>(token)));
        fluid_sequencer_send_at(sequencer, event, at, 1);
    }
    delete_fluid_event(event);
}

void FluidSynthStreamOutput::Impl::OnTimer(unsigned int, fluid_event_t* event, fluid_sequencer_t*, void* data)
{
    const auto token = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(fluid_event_get_data(event)));
    static_cast<Impl*>(data)->Fire(token);
}

void FluidSynthStreamOutput::Impl::Fire(std::uint64_t token)
{
    std::lock_guard lock(mutex);
    const auto found = groups.find(token);
    if (found == groups.end()) return;  // withdrawn by Stop, Reset or Close
    const Group group = std::move(found->second);
    groups.erase(found);
    for (std::uint32_t word : group.words) {
        SendShortMessage(synth, word);
        if (word & kMidiEventCallback) poster.Post(group.stream, MidiStreamMessage::PositionCallback);
    }
    if (group.lastOfBuffer && playing.erase(group.buffer) > 0) poster.Post(group.stream, MidiStreamMessage::Done);
}

std::vector<std::uint64_t> FluidSynthStreamOutput::Impl::Withdraw()
{
    std::vector<std::uint64_t> handedBack;
    {
        std::lock_guard lock(mutex);
        handedBack.assign(playing.begin(), playing.end());
        playing.clear();
        groups.clear();
    }
    for (const auto& buffer : queued) handedBack.push_back(buffer.first);
    queued.clear();
    running = false;
    lastEnd = 0;
    fluid_sequencer_remove_events(sequencer, -1, client, -1);
    return handedBack;
}

void FluidSynthStreamOutput::Impl::Silence()
{
    // Release the sustain pedal first, or the notes it holds would go on sounding.
    for (int channel = 0; channel < kChannels; ++channel) {
        fluid_synth_cc(synth, channel, 64, 0);
        fluid_synth_all_notes_off(synth, channel);
    }
}

FluidSynthStreamOutput::FluidSynthStreamOutput(FluidSynthOptions options)
    : impl_(std::make_unique<Impl>(std::move(options)))
{
}

FluidSynthStreamOutput::~FluidSynthStreamOutput() = default;

unsigned FluidSynthStreamOutput::DeviceCount() { return impl_->EnsureDevice() ? 1 : 0; }

bool FluidSynthStreamOutput::Probe(std::uint32_t device)
{
    return (device == kMidiMapper || device == 0) && impl_->EnsureDevice();
}

bool FluidSynthStreamOutput::Open(std::uint32_t device, Callback callback)
{
    if (impl_->open || !Probe(device)) return false;
    Impl& s = *impl_;
    s.open = true;
    s.running = false;
    s.lastEnd = 0;
    s.division = 96;
    s.tempo = kDefaultMidiTempo;
    s.ApplyTimeScale();
    s.stream = s.poster.Begin(std::move(callback));
    s.poster.Post(s.stream, MidiStreamMessage::Open);
    return true;
}

bool FluidSynthStreamOutput::SetTimeDivision(std::uint32_t ticksPerQuarter)
{
    if (!impl_->open || ticksPerQuarter == 0) return false;
    impl_->division = ticksPerQuarter;
    impl_->ApplyTimeScale();
    return true;
}

bool FluidSynthStreamOutput::SetTempo(std::uint32_t microsecondsPerQuarter)
{
    if (!impl_->open || microsecondsPerQuarter == 0) return false;
    impl_->tempo = microsecondsPerQuarter;
    impl_->ApplyTimeScale();
    return true;
}

bool FluidSynthStreamOutput::Out(std::span<const MidiStreamEvent> events)
{
    if (!impl_->open) return false;
    impl_->queued.push_back({impl_->nextBuffer++, std::vector<MidiStreamEvent>(events.begin(), events.end())});
    if (impl_->running) impl_->Schedule();
    return true;
}

bool FluidSynthStreamOutput::Restart()
{
    if (!impl_->open) return false;
    impl_->running = true;
    impl_->Schedule();
    return true;
}

bool FluidSynthStreamOutput::Stop()
{
    if (!impl_->open) return false;
    const auto handedBack = impl_->Withdraw();
    impl_->Silence();
    for (std::size_t i = 0; i < handedBack.size(); ++i) impl_->poster.Post(impl_->stream, MidiStreamMessage::Done);
    return true;
}

bool FluidSynthStreamOutput::Reset() { return Stop(); }

bool FluidSynthStreamOutput::Close()
{
    if (!impl_->open) return false;
    impl_->Withdraw();
    impl_->open = false;
    impl_->poster.PostClose(impl_->stream);
    return true;
}

void FluidSynthStreamOutput::Render(float* left, float* right, int frames)
{
    if (!impl_->options.offline || !impl_->EnsureDevice()) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
        return;
    }
    fluid_synth_write_float(impl_->synth, frames, left, 0, 1, right, 0, 1);
}

int FluidSynthStreamOutput::SampleRate() const
{
    double rate = 44100.0;
    if (impl_->settings) fluid_settings_getnum(impl_->settings, "synth.sample-rate", &rate);
    return static_cast<int>(rate);
}

double FluidSynthStreamOutput::TicksPerSecond() const
{
    return impl_->sequencer ? fluid_sequencer_get_time_scale(impl_->sequencer) : 0.0;
}

int FluidSynthStreamOutput::SynthCreations() const { return impl_->synthCreations; }

bool FluidSynthStreamOutput::SoundOutputOpen() const { return impl_->driver != nullptr; }

}  // namespace oxw::platform
