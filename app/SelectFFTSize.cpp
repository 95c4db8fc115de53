#include "app/SelectFFTSize.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/RadioButton.h"

namespace oxw::app {

using platform::RadioButton;

TSelectFFTSize::TSelectFFTSize(QWidget* parent)
    : Form(QStringLiteral("SelectFFTSize"), QStringLiteral("FFT Sample Size Selection"), parent)
{
    auto* sizes = new QGroupBox(QStringLiteral("FFT Sample Size"), this);
    sizes->setObjectName(QStringLiteral("FFTSampleSizeGroup"));
    Selected4096 = new RadioButton(QStringLiteral("Selected4096"),
                                   QStringLiteral("Original Dravolek FFT Analysis - Fastest"), sizes);
    Selected32768 = new RadioButton(QStringLiteral("Selected32768"),
                                    QStringLiteral("Scan for Low Frequencies 20Hz and above  - Slower"), sizes);
    Selected65536 = new RadioButton(
        QStringLiteral("Selected65536"),
        QStringLiteral("Deep scan for Low Frequencies including 0 - 20 Hz - Slowest"), sizes);
    Selected8192 = new RadioButton(QStringLiteral("Selected8192"), QStringLiteral("8192"), sizes);
    Selected4096->setChecked(true);
    Selected32768->setEnabled(false);
    Selected65536->setEnabled(false);
    Selected8192->hide();
    auto* sizesLayout = new QVBoxLayout(sizes);
    for (RadioButton* r : {Selected4096, Selected32768, Selected65536, Selected8192}) sizesLayout->addWidget(r);

    auto* algorithm = new QGroupBox(QStringLiteral("Select the FFT Algorithm"), this);
    algorithm->setObjectName(QStringLiteral("FFTAlgorithmGroup"));
    OriginalLibrary = new RadioButton(QStringLiteral("OriginalLibrary"), QStringLiteral("Original Library"), algorithm);
    VKRLibrary = new RadioButton(QStringLiteral("VKRLibrary"), QStringLiteral("VKR Library"), algorithm);
    OriginalLibrary->setEnabled(false);
    VKRLibrary->setChecked(true);
    auto* algorithmLayout = new QVBoxLayout(algorithm);
    algorithmLayout->addWidget(OriginalLibrary);
    algorithmLayout->addWidget(VKRLibrary);

    Button1 = platform::MakeButton(QStringLiteral("Button1"), QStringLiteral("Continue"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sizes);
    layout->addWidget(algorithm);
    layout->addWidget(Button1, 0, Qt::AlignRight);
}

}  // namespace oxw::app
