#include "midi/Form45.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace oxw::midi {

TForm45::TForm45(QWidget* parent) : Form(QStringLiteral("Form45"), QStringLiteral("Form45"), parent)
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
}

}  // namespace oxw::midi
