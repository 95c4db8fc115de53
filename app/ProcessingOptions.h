#pragma once
// The choice of analysis: the processing-option and FFT-size steps (their windows are never
// shown) that turn a click on an analysis panel into a run and the FFT size into settings texts.
namespace oxw::app {

struct Forms;

// "Acoustical Analysis": one pass on 4096-point spectra. Returns false when the user cancelled
// the file choice (nothing ran).
bool ProcessIntroductory(Forms& forms);
// "Acoustical Analysis plus Joint Nordic Tone Analysis": pass 1, then the tone pass.
bool ProcessAdvanced(Forms& forms);
// The FFT-size dialog's "Continue": settings texts for the checked size.
void SelectFFTSizeButton1Click(Forms& forms);

}  // namespace oxw::app
