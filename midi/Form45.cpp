#include "midi/Form45.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/FluidSynthStreamOutput.h"

namespace oxw::midi {

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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NotePan);
    layout->addWidget(StringDataMem, 1);
    resize(480, 320);
    if (!output) output = std::make_unique<platform::FluidSynthStreamOutput>();
    MidiGen1 = std::make_unique<TMidiGen>(std::move(output));
}

// The generator goes first, while the panel is whole: it may wait for its stream to close.
TForm45::~TForm45() { MidiGen1.reset(); }

}  // namespace oxw::midi
