#include "app/SoundFileCheckBinding.h"

#include <QStringList>

#include "app/SoundFileCheck.h"
#include "engine/SoundFileCheckForm.h"
#include "engine/SoundFileIntake.h"
#include "platform/Dialogs.h"

namespace oxw::app {

namespace {

const char* kMarked = "color: #FF0000; font-weight: bold;";

QString Q(const std::string& s) { return QString::fromStdString(s); }

void ShowField(QLineEdit* edit, const engine::CheckField& field) {
    edit->setText(Q(field.Text));
    edit->setStyleSheet(field.Marked ? kMarked : "color: #000000; font-weight: normal;");
}

void FillList(QComboBox* box, const std::vector<std::string>& items, const std::string& text) {
    box->clear();
    for (const auto& item : items) box->addItem(Q(item));
    box->setEditText(Q(text));
    const int at = box->findText(Q(text));
    if (at >= 0) box->setCurrentIndex(at);
    else if (box->isEditable()) box->setEditText(Q(text));
    else {
        box->addItem(Q(text));
        box->setCurrentIndex(box->count() - 1);
    }
}

struct WindowRadio {
    platform::RadioButton* TSoundFileCheck::*radio;
    char letter;
};
constexpr WindowRadio kWindowRadios[] = {
    {&TSoundFileCheck::RectangularFilter, 'R'}, {&TSoundFileCheck::HanningFilter, 'N'},
    {&TSoundFileCheck::TriangularFilter, 'T'},  {&TSoundFileCheck::WelchFilter, 'W'},
    {&TSoundFileCheck::BlackmanFilter, 'B'},    {&TSoundFileCheck::KaiserBesselFilter, 'K'},
    {&TSoundFileCheck::FlatTopFilter, 'F'},     {&TSoundFileCheck::HammingFilter, 'M'}};

}  // namespace

void LoadCheckForm(TSoundFileCheck& d, const engine::SoundFileCheckForm& f) {
    d.setWindowTitle(Q(f.Caption));
    ShowField(d.SoundFileIdentifier, f.SoundFileIdentifier);
    ShowField(d.SoundFileType, f.SoundFileType);
    ShowField(d.SoundFileFormatDataDetected, f.SoundFileFormatDataDetected);
    ShowField(d.SoundFileCompressionCode, f.SoundFileCompressionCode);
    ShowField(d.SoundFileNoOfChannels, f.SoundFileNoOfChannels);
    ShowField(d.SoundFileBitsPerSample, f.SoundFileBitsPerSample);
    ShowField(d.SoundFileSize, f.SoundFileSize);
    ShowField(d.SoundFileTotalBytes, f.SoundFileTotalBytes);
    ShowField(d.SoundFileSampleRate, f.SoundFileSampleRate);
    ShowField(d.SoundFileAvBytesPerSecond, f.SoundFileAvBytesPerSecond);
    ShowField(d.SoundFileBytePerSampleSlice, f.SoundFileBytePerSampleSlice);
    ShowField(d.SoundFileEstimatedRunTime, f.SoundFileEstimatedRunTime);
    d.Label11->setText(Q(f.Label11));
    d.Label11->setStyleSheet(f.Label11Marked ? kMarked : "");

    d.AnalysisTerminateMessage->setText(Q(f.AnalysisTerminateMessage));
    d.AnalysisTerminateMessage->setVisible(f.AnalysisTerminateMessageVisible);
    d.ContnueAnalysis->setVisible(f.ContnueAnalysisVisible);
    d.TerminateAnalysis->setVisible(f.TerminateAnalysisVisible);
    d.Button1->setVisible(f.Button1Visible);

    FillList(d.SoundFileStartTime, f.StartTimeItems, f.SoundFileStartTime);
    FillList(d.SoundFileEndTime, f.EndTimeItems, f.SoundFileEndTime);
    d.SelectTimesGroup->setEnabled(f.SelectTimesGroupEnabled);
    d.SelectProcessingGroup->setEnabled(f.SelectProcessingGroupEnabled);
    d.SelectResolutionGroup->setEnabled(f.SelectResolutionGroupEnabled);
    d.SelectCalibrationGroup->setEnabled(f.SelectCalibrationGroupEnabled);
    d.SelectTerhardtGroup->setEnabled(f.SelectTerhardtGroupEnabled);
    d.FilterOptions->setEnabled(f.FilterOptionsEnabled);
    d.ChannelAnalysisSelection->setEnabled(f.ChannelAnalysisSelectionEnabled);
    d.SwapInputBytes->setEnabled(f.SwapInputBytesEnabled);
    for (QWidget* w : std::initializer_list<QWidget*>{
             d.SelectTimesGroup, d.SelectProcessingGroup, d.SelectResolutionGroup,
             d.SelectCalibrationGroup, d.SelectTerhardtGroup, d.FilterOptions, d.SwapInputBytes,
             d.MakeLogFile, d.TraceComputations}) {
        w->setVisible(f.SettingsVisible);
    }
    d.ChannelAnalysisSelection->setVisible(f.ChannelAnalysisSelectionVisible);

    d.ProcessingFree->setChecked(f.ProcessingFree);
    d.ProcessingDiffuse->setChecked(f.ProcessingDiffuse);
    d.ProcessingEardrum->setChecked(f.ProcessingEardrum);
    d.HighResolution->setChecked(f.HighResolution);
    d.LowResolution->setChecked(f.LowResolution);
    d.IncludeTerhardt->setChecked(f.IncludeTerhardt);
    d.OmitTerhardt->setChecked(f.OmitTerhardt);
    d.DoChannel1->setChecked(f.DoChannel1);
    d.DoChannel2->setChecked(f.DoChannel2);
    d.DoChannelBoth->setChecked(f.DoChannelBoth);
    d.InputCalibration->setText(Q(f.InputCalibration));
    FillList(d.OutputCompression, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
             f.OutputCompression);
    for (const auto& w : kWindowRadios) (d.*w.radio)->setChecked(w.letter == f.WINFUNCT);
}

void StoreCheckForm(const TSoundFileCheck& d, engine::SoundFileCheckForm& f) {
    f.SoundFileStartTime = d.SoundFileStartTime->currentText().toStdString();
    f.SoundFileEndTime = d.SoundFileEndTime->currentText().toStdString();
    f.ProcessingFree = d.ProcessingFree->isChecked();
    f.ProcessingDiffuse = d.ProcessingDiffuse->isChecked();
    f.ProcessingEardrum = d.ProcessingEardrum->isChecked();
    f.HighResolution = d.HighResolution->isChecked();
    f.LowResolution = d.LowResolution->isChecked();
    f.IncludeTerhardt = d.IncludeTerhardt->isChecked();
    f.OmitTerhardt = d.OmitTerhardt->isChecked();
    f.DoChannel1 = d.DoChannel1->isChecked();
    f.DoChannel2 = d.DoChannel2->isChecked();
    f.DoChannelBoth = d.DoChannelBoth->isChecked();
    f.ChannelAnalysisSelectionVisible = !d.ChannelAnalysisSelection->isHidden();
    f.InputCalibration = d.InputCalibration->text().toStdString();
    f.OutputCompression = d.OutputCompression->currentText().toStdString();
    for (const auto& w : kWindowRadios)
        if ((d.*w.radio)->isChecked()) f.WINFUNCT = w.letter;
}

CheckOutcome RunSoundFileCheck(TSoundFileCheck& d, engine::SoundFileCheckForm& f,
                               platform::Dialogs& dialogs) {
    bool terminated = false;
    bool accepted = false;
    auto terminate = [&] {
        dialogs.ShowMessage(engine::kTerminateMessage);
        terminated = true;
        d.reject();
    };
    LoadCheckForm(d, f);
    QList<QMetaObject::Connection> links;
    links << QObject::connect(d.ContnueAnalysis, &QPushButton::clicked, &d, [&] {
        StoreCheckForm(d, f);
        engine::RevealSettings(f);
        LoadCheckForm(d, f);
        d.AnalysisTerminateMessage->setStyleSheet("color: #008000; font-weight: bold;");
        d.repaint();
        d.AnalysisTerminateMessage->setStyleSheet("color: #FF0000; font-weight: bold;");
    });
    links << QObject::connect(d.TerminateAnalysis, &QPushButton::clicked, &d, terminate);
    links << QObject::connect(d.Button1, &QPushButton::clicked, &d, [&] {
        StoreCheckForm(d, f);
        if (auto refusal = engine::AcceptanceRefusal(f)) {
            dialogs.ShowMessage(Q(*refusal));
            terminate();
            return;
        }
        accepted = true;
        d.accept();
    });
    dialogs.ExecModal(d);
    for (const auto& l : links) QObject::disconnect(l);
    if (terminated) return CheckOutcome::Terminated;
    if (!accepted) return CheckOutcome::Closed;
    StoreCheckForm(d, f);
    return CheckOutcome::Accepted;
}

}  // namespace oxw::app
