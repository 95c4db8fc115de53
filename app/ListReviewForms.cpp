#include "app/ListReviewForms.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace oxw::app {

ListReviewForm::ListReviewForm(const QString& objectName, const QString& caption, QWidget* parent)
    : Form(objectName, caption, parent)
{
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    RowCount = platform::MakeEdit(QStringLiteral("RowCount"), QString(), this, true);
    DisplayOptionLabel = platform::MakeLabel(QStringLiteral("DisplayOptionLabel"),
                                             QStringLiteral("Display Option Not Selected"), this);
    CloseButton = platform::MakeButton(QStringLiteral("CloseButton"), QStringLiteral("Close"), this);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::hide);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(RowCount);
    bottom->addWidget(DisplayOptionLabel, 1);
    bottom->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(bottom);
    resize(480, 520);
}

TForm6::TForm6(QWidget* parent)
    : ListReviewForm(QStringLiteral("Form6"), QStringLiteral("Imaginary Input to FFT - ImagIn"), parent)
{
}

TForm7::TForm7(QWidget* parent)
    : ListReviewForm(QStringLiteral("Form7"),
                     QStringLiteral("Compact Spectrum Frequencies Array CompactF"), parent)
{
}

TOctS::TOctS(QWidget* parent)
    : ListReviewForm(QStringLiteral("OctS"), QStringLiteral("Overall Octave Spectrum - Oct_S"), parent)
{
}

TForm9::TForm9(QWidget* parent)
    : ListReviewForm(QStringLiteral("Form9"), QStringLiteral("Generated File Names"), parent)
{
}

TOverallThirdOctaveSpectrum::TOverallThirdOctaveSpectrum(QWidget* parent)
    : ListReviewForm(QStringLiteral("OverallThirdOctaveSpectrum"),
                     QStringLiteral("Overall Third Octave Spectrum - ThirdOct_S"), parent)
{
}

TOverallSpecificLoudnessS::TOverallSpecificLoudnessS(QWidget* parent)
    : ListReviewForm(QStringLiteral("OverallSpecificLoudnessS"),
                     QStringLiteral("Overall Specific Loudness - SpecLoud_S"), parent)
{
}

TMeanChromaSalienceParncutt::TMeanChromaSalienceParncutt(QWidget* parent)
    : ListReviewForm(QStringLiteral("MeanChromaSalienceParncutt"),
                     QStringLiteral("Mean Chroma Salience - ChromaSalience_S"), parent)
{
}

TPitchSalienceS::TPitchSalienceS(QWidget* parent)
    : ListReviewForm(QStringLiteral("PitchSalienceS"),
                     QStringLiteral("Mean Pitch Salience - PitchSalience_S"), parent)
{
}

TMakeSpectrumResults::TMakeSpectrumResults(QWidget* parent)
    : ListReviewForm(QStringLiteral("MakeSpectrumResults"),
                     QStringLiteral("Spectrum Results - Intensity"), parent)
{
}

TRoexResults::TRoexResults(QWidget* parent)
    : ListReviewForm(QStringLiteral("RoexResults"), QStringLiteral("Roex Filter Results - RoexL"), parent)
{
}

TEsigResults::TEsigResults(QWidget* parent)
    : ListReviewForm(QStringLiteral("EsigResults"), QStringLiteral("Excitation Results - Esig"), parent)
{
}

TSpecLoudResults::TSpecLoudResults(QWidget* parent)
    : ListReviewForm(QStringLiteral("SpecLoudResults"),
                     QStringLiteral("Specific Loudness Results - SpecLoud"), parent)
{
}

TSharpnessResults::TSharpnessResults(QWidget* parent)
    : ListReviewForm(QStringLiteral("SharpnessResults"), QStringLiteral("Sharpness Results"), parent)
{
}

TNTonesResults::TNTonesResults(QWidget* parent)
    : ListReviewForm(QStringLiteral("NTonesResults"),
                     QStringLiteral("Tonal Component Results - NTones"), parent)
{
}

TToneDissonanceResults::TToneDissonanceResults(QWidget* parent)
    : ListReviewForm(QStringLiteral("ToneDissonanceResults"),
                     QStringLiteral("Tone Dissonance Results"), parent)
{
}

TFindLevelsAboveMaskingResults::TFindLevelsAboveMaskingResults(QWidget* parent)
    : ListReviewForm(QStringLiteral("FindLevelsAboveMaskingResults"),
                     QStringLiteral("Tone Levels Above Masking Results"), parent)
{
}

TSortToneArraysResults::TSortToneArraysResults(QWidget* parent)
    : ListReviewForm(QStringLiteral("SortToneArraysResults"),
                     QStringLiteral("Sorted Tone Array Results"), parent)
{
}

TFindVirtualPitchesResults::TFindVirtualPitchesResults(QWidget* parent)
    : ListReviewForm(QStringLiteral("FindVirtualPitchesResults"),
                     QStringLiteral("Virtual Pitch Results"), parent)
{
}

}  // namespace oxw::app
