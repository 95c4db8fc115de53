#include "midi/Form45.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <iterator>
#include <utility>

#include "platform/FluidSynthStreamOutput.h"

namespace oxw::midi {

namespace {

QSlider* Slider(const char* name, int low, int high, int position, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Vertical, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(low, high);
    slider->setValue(position);
    return slider;
}

QSpinBox* Selector(const char* name, int low, int high, int step, int value, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setSingleStep(step);
    box->setValue(value);
    return box;
}

QListWidget* List(const char* name, int first, int last, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (int i = first; i <= last; ++i) list->addItem(QString::number(i));
    list->setCurrentRow(0);
    return list;
}

}  // namespace

TForm45::TForm45(QWidget* parent, std::unique_ptr<platform::MidiStreamOutput> output)
    : Form(QStringLiteral("Form45"), QStringLiteral("Form45"), parent)
{
    NotePan = platform::MakeLabel(QStringLiteral("NotePan"), QString(), this);
    NotePan->setFrameShape(QFrame::Panel);
    NotePan->setFrameShadow(QFrame::Raised);
    NotePan->setAlignment(Qt::AlignCenter);
    NotePan->setMinimumHeight(32);
    StringDataMem = new QPlainTextEdit(this);
    StringDataMem->setObjectName(QStringLiteral("StringDataMem"));
    auto* strings = new QHBoxLayout;
    strings->addWidget(StringDataMem, 1);
    auto* demos = new QVBoxLayout;
    for (std::size_t i = 0; i < DemoButtons.size(); ++i) {
        const QString n = QString::number(i + 1);
        DemoButtons[i] = platform::MakeButton(QStringLiteral("DemoButton") + n, QStringLiteral("Demo ") + n, this);
        demos->addWidget(DemoButtons[i]);
    }
    demos->addStretch();
    strings->addLayout(demos);
    RandomPlayTimer = new QTimer(this);
    RandomPlayTimer->setObjectName(QStringLiteral("RandomPlayTimer"));

    auto* controls = new QHBoxLayout;
    controls->addLayout(BuildSliders());
    controls->addLayout(BuildSelectors());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NotePan);
    layout->addLayout(controls);
    layout->addLayout(BuildNoteButtons());
    layout->addLayout(strings, 1);
    resize(720, 560);
    if (!output) output = std::make_unique<platform::FluidSynthStreamOutput>();
    MidiGen1 = std::make_unique<TMidiGen>(std::move(output));
}

// The generator goes first, while the panel is whole: it may wait for its stream to close.
TForm45::~TForm45() { MidiGen1.reset(); }

QLayout* TForm45::BuildSliders()
{
    VolumeBar = Slider("VolumeBar", 0, 100, 0, this);  // volume 100
    PanBar = Slider("PanBar", 0, 200, 100, this);      // centre
    ModulationBar = Slider("ModulationBar", 0, 100, 100, this);
    ReverbBar = Slider("ReverbBar", 0, 100, 100, this);
    ChorusBar = Slider("ChorusBar", 0, 100, 100, this);
    PitchBendBar = Slider("PitchBendBar", -12, 12, 0, this);
    BendDelayBar = Slider("BendDelayBar", 0, 100, 100, this);     // at once
    BendDurationBar = Slider("BendDurationBar", 0, 100, 0, this);  // the whole rest of the note
    auto* grid = new QGridLayout;
    const std::pair<QSlider*, const char*> sliders[] = {
        {VolumeBar, "Volume"},       {PanBar, "Pan"},           {ModulationBar, "Modulation"},
        {ReverbBar, "Reverb"},       {ChorusBar, "Chorus"},     {PitchBendBar, "Level"},
        {BendDelayBar, "Bend Delay"}, {BendDurationBar, "Bend Duration"}};
    for (int i = 0; i < static_cast<int>(std::size(sliders)); ++i) {
        grid->addWidget(sliders[i].first, 0, i, Qt::AlignHCenter);
        grid->addWidget(platform::MakeLabel(QString(), QString::fromLatin1(sliders[i].second), this), 1, i,
                        Qt::AlignHCenter);
    }
    return grid;
}

QLayout* TForm45::BuildSelectors()
{
    OctaveSel = Selector("OctaveSel", 0, 10, 1, 4, this);
    SustainSel = new QCheckBox(QStringLiteral("Sustain"), this);
    SustainSel->setObjectName(QStringLiteral("SustainSel"));
    LoopsSel = Selector("LoopsSel", 0, 100, 1, 3, this);
    DurationSel = Selector("DurationSel", 0, 10000, 10, 50, this);
    InstrumentList = List("InstrumentList", 0, 174, this);
    ChannelList = List("ChannelList", 1, 16, this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Octave"), OctaveSel);
    form->addRow(QString(), SustainSel);
    form->addRow(QStringLiteral("Loops"), LoopsSel);
    form->addRow(QStringLiteral("Duration"), DurationSel);
    form->addRow(QStringLiteral("Instrument"), InstrumentList);
    form->addRow(QStringLiteral("Channel"), ChannelList);
    return form;
}

// The note buttons play nothing: no handler is known for them.
QLayout* TForm45::BuildNoteButtons()
{
    auto* row = new QHBoxLayout;
    for (std::size_t i = 0; i < NoteButtons.size(); ++i) {
        NoteButtons[i] = platform::MakeButton(QStringLiteral("NoteButton%1").arg(i + 1),
                                              QString::fromLatin1(kNoteNames[i]), this);
        row->addWidget(NoteButtons[i]);
    }
    return row;
}

}  // namespace oxw::midi
