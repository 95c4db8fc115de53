#include "app/SoundFileCheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/RadioButton.h"

namespace oxw::app {

using platform::MakeButton;
using platform::MakeEdit;
using platform::MakeLabel;
using platform::RadioButton;

namespace {

QGroupBox* Group(const QString& name, const QString& caption, QWidget* parent)
{
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    return group;
}

// A read-only header edit with its label in a form layout.
QLineEdit* HeaderRow(QFormLayout* form, QGroupBox* group, const QString& name, const QString& label,
                     QLabel** labelOut = nullptr)
{
    QLineEdit* edit = MakeEdit(name, QString(), group, true);
    QLabel* text = MakeLabel(name + QStringLiteral("Label"), label, group);
    form->addRow(text, edit);
    if (labelOut) *labelOut = text;
    return edit;
}

RadioButton* Radio(QGroupBox* group, const QString& name, const QString& caption, bool checked, bool enabled,
                   bool visible = true)
{
    auto* radio = new RadioButton(name, caption, group);
    radio->setChecked(checked);
    radio->setEnabled(enabled);
    if (!visible) radio->hide();
    group->layout()->addWidget(radio);
    return radio;
}

QComboBox* List(const QString& name, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(true);  // the analysis may set a text that is not among the entries
    return list;
}

}  // namespace

TSoundFileCheck::TSoundFileCheck(QWidget* parent)
    : Form(QStringLiteral("SoundFileCheck"), QStringLiteral("OXW Analysing Sound File Header Data"), parent)
{
    // No frame buttons: the dialog is left only through its own buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    AnalysisTerminateMessage = MakeLabel(QStringLiteral("AnalysisTerminateMessage"),
                                         QStringLiteral("Click Continue or Terminate.   "), this);
    AnalysisTerminateMessage->hide();
    ContnueAnalysis = MakeButton(QStringLiteral("ContnueAnalysis"), QStringLiteral("Continue Analysis"), this);
    TerminateAnalysis = MakeButton(QStringLiteral("TerminateAnalysis"), QStringLiteral("Terminate Analysis"), this);
    Button1 = MakeButton(QStringLiteral("Button1"), QStringLiteral("Left click to continue"), this);
    Button1->hide();
    DoAnalyseThis = MakeButton(QStringLiteral("DoAnalyseThis"), QStringLiteral("Select Sound to be Analysed"), this);
    DoAnalyseThis->setEnabled(false);
    DoAnalyseThis->hide();

    auto* facts = new QHBoxLayout;
    facts->addWidget(BuildPropertiesGroup());
    facts->addWidget(BuildProcessingDataGroup());
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ContnueAnalysis, TerminateAnalysis, Button1, DoAnalyseThis}) buttons->addWidget(b);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(facts);
    layout->addWidget(AnalysisTerminateMessage);
    layout->addLayout(buttons);
    BuildSettingGroups();
    auto* settings = new QGridLayout;
    settings->addWidget(SelectTimesGroup, 0, 0);
    settings->addWidget(SelectProcessingGroup, 0, 1);
    settings->addWidget(SelectResolutionGroup, 0, 2);
    settings->addWidget(SelectCalibrationGroup, 0, 3);
    settings->addWidget(SelectTerhardtGroup, 1, 0);
    settings->addWidget(FilterOptions, 1, 1, 2, 1);
    settings->addWidget(SwapInputBytes, 1, 2);
    settings->addWidget(ChannelAnalysisSelection, 1, 3);
    settings->addWidget(MakeLogFile, 2, 2);
    settings->addWidget(TraceComputations, 2, 3);
    layout->addLayout(settings);
    layout->addStretch();
    resize(860, 600);
}

QGroupBox* TSoundFileCheck::BuildPropertiesGroup()
{
    SoundFilePropertiesGroup = Group(QStringLiteral("SoundFilePropertiesGroup"),
                                     QStringLiteral("Sound File Properties "), this);
    auto* form = new QFormLayout(SoundFilePropertiesGroup);
    QGroupBox* g = SoundFilePropertiesGroup;
    SoundFileIdentifier = HeaderRow(form, g, QStringLiteral("SoundFileIdentifier"),
                                    QStringLiteral("Sound File Identifier is RIFF"));
    SoundFileType = HeaderRow(form, g, QStringLiteral("SoundFileType"), QStringLiteral("Sound File Type is WAVE"));
    SoundFileFormatDataDetected = HeaderRow(form, g, QStringLiteral("SoundFileFormatDataDetected"),
                                            QStringLiteral("Sound File Data Chunk Detected"));
    SoundFileCompressionCode = HeaderRow(form, g, QStringLiteral("SoundFileCompressionCode"),
                                         QStringLiteral("Sound File Compression is PCM/uncompressed"));
    SoundFileNoOfChannels = HeaderRow(form, g, QStringLiteral("SoundFileNoOfChannels"),
                                      QStringLiteral("Sound File Number of Channels"), &Label11);
    Label11->setObjectName(QStringLiteral("Label11"));
    SoundFileBitsPerSample = HeaderRow(form, g, QStringLiteral("SoundFileBitsPerSample"),
                                       QStringLiteral("Sound File Bits Per Sample"));
    return g;
}

QGroupBox* TSoundFileCheck::BuildProcessingDataGroup()
{
    SoundFileProcessingGroup = Group(QStringLiteral("SoundFileProcessingGroup"),
                                     QStringLiteral("Sound File Processing Data"), this);
    auto* form = new QFormLayout(SoundFileProcessingGroup);
    QGroupBox* g = SoundFileProcessingGroup;
    SoundFileSize = HeaderRow(form, g, QStringLiteral("SoundFileSize"), QStringLiteral("Sound File Size in bytes"));
    SoundFileTotalBytes = HeaderRow(form, g, QStringLiteral("SoundFileTotalBytes"),
                                    QStringLiteral("Number of bytes of sound data"));
    SoundFileSampleRate = HeaderRow(form, g, QStringLiteral("SoundFileSampleRate"),
                                    QStringLiteral("Sample slices per second"));
    SoundFileAvBytesPerSecond = HeaderRow(form, g, QStringLiteral("SoundFileAvBytesPerSecond"),
                                          QStringLiteral("Average bytes/second"));
    SoundFileBytePerSampleSlice = HeaderRow(form, g, QStringLiteral("SoundFileBytePerSampleSlice"),
                                            QStringLiteral("Bytes per Sample Slice"));
    SoundFileEstimatedRunTime = HeaderRow(form, g, QStringLiteral("SoundFileEstimatedRunTime"),
                                          QStringLiteral("Estimated Run Time (seconds)"));
    return g;
}

QGroupBox* TSoundFileCheck::BuildTimesGroup()
{
    SelectTimesGroup = Group(QStringLiteral("SelectTimesGroup"), QStringLiteral("Set Analysis Times (seconds)"), this);
    SoundFileStartTime = List(QStringLiteral("SoundFileStartTime"), SelectTimesGroup);
    SoundFileEndTime = List(QStringLiteral("SoundFileEndTime"), SelectTimesGroup);
    auto* form = new QFormLayout(SelectTimesGroup);
    form->addRow(QStringLiteral("Start"), SoundFileStartTime);
    form->addRow(QStringLiteral("End"), SoundFileEndTime);
    return SelectTimesGroup;
}

void TSoundFileCheck::BuildSettingGroups()
{
    BuildTimesGroup();

    SelectProcessingGroup = Group(QStringLiteral("SelectProcessingGroup"), QStringLiteral("Set Processing"), this);
    new QVBoxLayout(SelectProcessingGroup);
    ProcessingFree = Radio(SelectProcessingGroup, QStringLiteral("ProcessingFree"), QStringLiteral("Free Field"),
                           true, true);
    ProcessingDiffuse = Radio(SelectProcessingGroup, QStringLiteral("ProcessingDiffuse"),
                              QStringLiteral("Diffuse Field"), false, false);
    ProcessingEardrum = Radio(SelectProcessingGroup, QStringLiteral("ProcessingEardrum"),
                              QStringLiteral("Eardrum Level"), false, false);

    SelectResolutionGroup = Group(QStringLiteral("SelectResolutionGroup"), QStringLiteral("Set Resolution"), this);
    new QVBoxLayout(SelectResolutionGroup);
    HighResolution = Radio(SelectResolutionGroup, QStringLiteral("HighResolution"), QStringLiteral("High"), false,
                           false);
    LowResolution = Radio(SelectResolutionGroup, QStringLiteral("LowResolution"), QStringLiteral("Normal"), true,
                          false);

    SelectCalibrationGroup = Group(QStringLiteral("SelectCalibrationGroup"), QStringLiteral("Set Calibration (dB)"),
                                   this);
    InputCalibration = MakeEdit(QStringLiteral("InputCalibration"), QStringLiteral("0"), SelectCalibrationGroup);
    InputCalibration->setEnabled(false);
    OutputCompression = List(QStringLiteral("OutputCompression"), SelectCalibrationGroup);
    for (int i = 1; i <= 10; ++i) OutputCompression->addItem(QString::number(i));
    OutputCompression->setCurrentIndex(0);
    OutputCompression->setEnabled(false);
    auto* calibration = new QFormLayout(SelectCalibrationGroup);
    calibration->addRow(QStringLiteral("Calibration"), InputCalibration);
    calibration->addRow(QStringLiteral("Compression"), OutputCompression);

    SelectTerhardtGroup = Group(QStringLiteral("SelectTerhardtGroup"), QStringLiteral("Set Terhardt"), this);
    new QVBoxLayout(SelectTerhardtGroup);
    IncludeTerhardt = Radio(SelectTerhardtGroup, QStringLiteral("IncludeTerhardt"), QStringLiteral("Include"), true,
                            false);
    OmitTerhardt = Radio(SelectTerhardtGroup, QStringLiteral("OmitTerhardt"), QStringLiteral("Omit"), false, false);

    BuildFilterGroup();

    SwapInputBytes = Group(QStringLiteral("SwapInputBytes"), QStringLiteral("Input File"), this);
    new QVBoxLayout(SwapInputBytes);
    WavFile = Radio(SwapInputBytes, QStringLiteral("WavFile"), QStringLiteral("Wav file"), true, true);
    AIFFFile = Radio(SwapInputBytes, QStringLiteral("AIFFFile"), QStringLiteral("AIFF File"), false, false);

    MakeLogFile = new QCheckBox(QStringLiteral("Make Log File"), this);
    MakeLogFile->setObjectName(QStringLiteral("MakeLogFile"));
    TraceComputations = new QCheckBox(QStringLiteral("Trace Computations"), this);
    TraceComputations->setObjectName(QStringLiteral("TraceComputations"));
    TraceComputations->setEnabled(false);

    ChannelAnalysisSelection = Group(QStringLiteral("ChannelAnalysisSelection"), QStringLiteral("2 Channel File"),
                                     this);
    new QVBoxLayout(ChannelAnalysisSelection);
    DoChannel1 = Radio(ChannelAnalysisSelection, QStringLiteral("DoChannel1"), QStringLiteral("Channel 1"), false,
                       false);
    DoChannel2 = Radio(ChannelAnalysisSelection, QStringLiteral("DoChannel2"), QStringLiteral("Channel 2"), false,
                       false, false);
    DoChannelBoth = Radio(ChannelAnalysisSelection, QStringLiteral("DoChannelBoth"), QStringLiteral("Both"), true,
                          true);

    for (QWidget* w : std::initializer_list<QWidget*>{
             SelectTimesGroup, SelectProcessingGroup, SelectResolutionGroup, SelectCalibrationGroup,
             SelectTerhardtGroup, FilterOptions, SwapInputBytes, MakeLogFile, TraceComputations,
             ChannelAnalysisSelection}) {
        w->hide();
    }
}

QGroupBox* TSoundFileCheck::BuildFilterGroup()
{
    FilterOptions = Group(QStringLiteral("FilterOptions"), QStringLiteral("Set User Filter"), this);
    new QVBoxLayout(FilterOptions);
    QGroupBox* g = FilterOptions;
    RectangularFilter = Radio(g, QStringLiteral("RectangularFilter"), QStringLiteral("Rectangular"), false, false);
    HanningFilter = Radio(g, QStringLiteral("HanningFilter"), QStringLiteral("Hanning"), true, true);
    TriangularFilter = Radio(g, QStringLiteral("TriangularFilter"), QStringLiteral("Triangular"), false, false);
    WelchFilter = Radio(g, QStringLiteral("WelchFilter"), QStringLiteral("Welch"), false, false, false);
    BlackmanFilter = Radio(g, QStringLiteral("BlackmanFilter"), QStringLiteral("Blackman"), false, false);
    KaiserBesselFilter = Radio(g, QStringLiteral("KaiserBesselFilter"), QStringLiteral("Kaiser-Bessel"), false,
                               false, false);
    FlatTopFilter = Radio(g, QStringLiteral("FlatTopFilter"), QStringLiteral("Flat Top"), false, false, false);
    HammingFilter = Radio(g, QStringLiteral("HammingFilter"), QStringLiteral("Hamming"), false, false);
    return g;
}

}  // namespace oxw::app
