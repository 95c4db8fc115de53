#include "app/ProcessingOptions.h"

#include <QLineEdit>
#include <QRadioButton>

#include "app/Forms.h"
#include "app/TForm1.h"

namespace oxw::app {

namespace {

// Records the option; the batch flag is always off on this route.
void SelectOption(Forms& forms, const char* option) {
    engine::RunState& s = forms.Form1->Engine().S();
    s.ProcessingOptionSelected = option;
    s.ProcessingABatch = false;
}

// Run reset, file choice and the analysis.
bool Run(Forms& forms) {
    engine::Engine& engine = forms.Form1->Engine();
    engine.MainLineProcess1();
    if (!engine.MainLineProcess2SingleFile()) return false;
    engine.Open1Click();
    return true;
}

}  // namespace

bool ProcessIntroductory(Forms& forms) {
    auto* options = forms.UserProcessingOptions;
    options->ProcessIntermediate->setChecked(false);
    options->ProcessAdvanced->setChecked(false);
    SelectOption(forms, "Introductory");
    forms.SelectFFTSize->Selected4096->setChecked(true);
    SelectFFTSizeButton1Click(forms);
    return Run(forms);
}

bool ProcessAdvanced(Forms& forms) {
    auto* options = forms.UserProcessingOptions;
    options->ProcessIntroductory->setChecked(false);
    options->ProcessIntermediate->setChecked(false);
    SelectOption(forms, "Advanced");
    SelectFFTSizeButton1Click(forms);
    return Run(forms);
}

void SelectFFTSizeButton1Click(Forms& forms) {
    TForm1& main = *forms.Form1;
    auto* fft = forms.SelectFFTSize;
    if (main.GetText("CurrentProcessingMode").empty()) main.SetText("CurrentProcessingMode", "Standard");
    engine::RunState& s = main.Engine().S();
    if (fft->Selected4096->isChecked()) {
        main.SetText("MusicFFTSampleSize", "4096");
        s.DravolekSizeOfCompactSpectrum = 108;
        main.SetText("MusicBinCount", "108");
    }
    if (fft->Selected32768->isChecked()) {
        main.SetText("QualityFFTSampleSize", "32768");
        main.SetText("AnalysisChannel", "Both");
        forms.SoundFileCheck->ChannelAnalysisSelection->setEnabled(false);
        main.Engine().SoundFileCheck().ChannelAnalysisSelectionEnabled = false;
        s.NordicSizeOfCompactSpectrum = 121;
        main.SetText("QualityBinCount", "121");
        main.repaint();
    }
}

}  // namespace oxw::app
