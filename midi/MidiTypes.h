#pragma once
// The MIDI generator's types: notes, channels, instruments (General MIDI programs, then the
// percussion keys), the kinds of event it builds and the timed event of its event list.

#include <cstdint>

#include "platform/MidiStreamOutput.h"

namespace oxw::midi {

enum TMGNote { mgC, mgCsharp, mgD, mgDsharp, mgE, mgF, mgFsharp, mgG, mgGsharp, mgA, mgAsharp, mgB };

// Names of the semitones 0..11 from C, as the note players and the panel's note buttons name them.
inline constexpr const char* kNoteNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

// MIDI channels 0..15.
enum TMGChannel {
    mgCh01, mgCh02, mgCh03, mgCh04, mgCh05, mgCh06, mgCh07, mgCh08,
    mgCh09, mgCh10, mgCh11, mgCh12, mgCh13, mgCh14, mgCh15, mgCh16
};

enum TMGInstrument {
    // The 128 General MIDI programs.
    mgAcousticGrandPiano, mgBrightAcousticPiano, mgElectricGrandPiano, mgHonkyTonkPiano,
    mgElectricPiano1, mgElectricPiano2, mgHarpsichord, mgClavinet, mgCelesta, mgGlockenspiel,
    mgMusicBox, mgVibraphone, mgMarimba, mgXylophone, mgTubularBells, mgDulcimer, mgDrawbarOrgan,
    mgPercussiveOrgan, mgRockOrgan, mgChurchOrgan, mgReedOrgan, mgAccordion, mgHarmonica,
    mgTangoAccordion, mgAcousticNylonGuitar, mgAcousticSteelGuitar, mgJazzElectricGuitar,
    mgCleanElectricGuitar, mgMutedElectricGuitar, mgOverdrivenGuitar, mgDistortionGuitar,
    mgGuitarHarmonics, mgAcousticBass, mgFingeredElectricBass, mgPickedElectricBass,
    mgFretlessBass, mgSlapBass1, mgSlapBass2, mgSynthBass1, mgSynthBass2, mgViolin, mgViola,
    mgCello, mgContrabass, mgTremoloStrings, mgPizzicatoStrings, mgOrchestralHarp, mgTimpani,
    mgStringEnsemble1, mgStringEnsemble2, mgSynthStrings1, mgSynthStrings2, mgChoirAahs,
    mgVoiceOohs, mgSynthVoice, mgOrchestraHit, mgTrumpet, mgTrombone, mgTuba, mgMutedTrumpet,
    mgFrenchHorn, mgBrassSection, mgSynthBrass1, mgSynthBrass2, mgSopranoSax, mgAltoSax,
    mgTenorSax, mgBaritoneSax, mgOboe, mgEnglishHorn, mgBassoon, mgClarinet, mgPiccolo, mgFlute,
    mgRecorder, mgPanFlute, mgBlownBottle, mgShakuhachi, mgWhistle, mgOcarina, mgSquareLead,
    mgSawtoothLead, mgCalliopeLead, mgChiffLead, mgCharangLead, mgVoiceLead, mgFifthsLead,
    mgBassandLead, mgNewAgePad, mgWarmPad, mgPolySynthPad, mgChoirPad, mgBowedPad, mgMetallicPad,
    mgHaloPad, mgSweepPad, mgSynthFXRain, mgSynthFXSoundtrack, mgSynthFXCrystal,
    mgSynthFXAtmosphere, mgSynthFXBrightness, mgSynthFXGoblins, mgSynthFXEchoes, mgSynthFXSciFi,
    mgSitar, mgBanjo, mgShamisen, mgKoto, mgKalimba, mgBagpipe, mgFiddle, mgShanai, mgTinkleBell,
    mgAgogo, mgSteelDrums, mgWoodblock, mgTaikoDrum, mgMelodicTom, mgSynthDrum, mgReverseCymbal,
    mgGuitarFretNoise, mgBreathNoise, mgSeashore, mgBirdTweet, mgTelephoneRing, mgHelicopter,
    mgApplause, mgGunshot,
    // The 47 General MIDI percussion keys 35..81: the key of a value is value - 93.
    mgAcousticBassDrum = 128, mgBassDrum1, mgSideStick, mgAcousticSnare, mgHandClap,
    mgElectricSnare, mgLowFloorTom, mgClosedHiHat, mgHighFloorTom, mgPedalHiHat, mgLowTom,
    mgOpenHiHat, mgLowMidTom, mgHiMidTom, mgCrashCymbal1, mgHighTom, mgRideCymbal1,
    mgChineseCymbal, mgRideBell, mgTambourine, mgSplashCymbal, mgCowbell, mgCrashCymbal2,
    mgVibraslap, mgRideCymbal2, mgHiBongo, mgLowBongo, mgMuteHiConga, mgOpenHiConga, mgLowConga,
    mgHighTimbale, mgLowTimbale, mgHighAgogo, mgLowAgogo, mgCabasa, mgMaracas, mgShortWhistle,
    mgLongWhistle, mgShortGuiro, mgLongGuiro, mgClaves, mgHiWoodBlock, mgLowWoodBlock, mgMuteCuica,
    mgOpenCuica, mgMuteTriangle, mgOpenTriangle,
};

// Percentages 0..100 of the effect properties.
using TMGPercentage = int;

// Kinds of event, with their MIDI status: program change (seInstrument), note on (seNoteOn,
// and seNoteOff with velocity 0), pitch bend (sePitchBend), controllers (the rest).
enum sEvent : std::uint8_t {
    sePBRange, seRPNLSB, seRPNMSB, seReverb, seChorus, seSustain, seInstrument, seReset, seNoteOn,
    seNoteOff, sePitchBend, seVolume, sePan, seModulation
};

// One timed event of the event list: its start in ticks from the start of the stream, its kind,
// its data (note number, program or percussion value) and its channel.
struct event {
    std::uint32_t dwEventStart = 0;
    sEvent dwEventType = seNoteOn;
    std::int32_t dwData = 0;
    TMGChannel dwChannel = mgCh01;
};

// A stream event of the platform's MIDI stream output.
using sMIDIEVENT = platform::MidiStreamEvent;

}  // namespace oxw::midi
