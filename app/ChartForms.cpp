#include "app/ChartForms.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace oxw::app {

ChartDataForm::ChartDataForm(const QString& objectName, const QString& caption, QWidget* parent)
    : Form(objectName, caption, parent)
{
    StringGrid1 = new QTableWidget(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    CloseButton = platform::MakeButton(QStringLiteral("CloseButton"), QStringLiteral("Close"), this);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(CloseButton, 0, Qt::AlignRight);
    resize(480, 400);
}

ChartReviewForm::ChartReviewForm(const QString& objectName, const QString& caption, QWidget* parent)
    : Form(objectName, caption, parent)
{
    Image1 = platform::MakeLabel(QStringLiteral("Image1"), QString(), this);
    Image1->setMinimumSize(400, 240);
    StringGrid1 = new QTableWidget(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    CloseChart = platform::MakeButton(QStringLiteral("CloseChart"), QStringLiteral("Close Chart"), this);
    ShowData = platform::MakeButton(QStringLiteral("ShowData"), QStringLiteral("Show Data"), this);
    connect(CloseChart, &QPushButton::clicked, this, &QWidget::hide);
    connect(ShowData, &QPushButton::clicked, this, [this] {
        if (dataForm_) dataForm_->show();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ShowData);
    buttons->addWidget(CloseChart);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image1, 1);
    layout->addWidget(StringGrid1);
    layout->addLayout(buttons);
    resize(560, 520);
}

TGraphOctS::TGraphOctS(QWidget* parent)
    : ChartReviewForm(QStringLiteral("GraphOctS"),
                      QStringLiteral("Overall Octave Spectrum Chart"), parent)
{
}

TGraphOctSData::TGraphOctSData(QWidget* parent)
    : ChartDataForm(QStringLiteral("GraphOctSData"),
                    QStringLiteral("Overall Octave Spectrum Chart Data"), parent)
{
}

TGraphThirdOctS::TGraphThirdOctS(QWidget* parent)
    : ChartReviewForm(QStringLiteral("GraphThirdOctS"),
                      QStringLiteral("Overall Third Octave Spectrum Chart"), parent)
{
}

TGraphThirdOctSData::TGraphThirdOctSData(QWidget* parent)
    : ChartDataForm(QStringLiteral("GraphThirdOctSData"),
                    QStringLiteral("Overall Third Octave Spectrum Chart Data"), parent)
{
}

TGraphSpecLoudS::TGraphSpecLoudS(QWidget* parent)
    : ChartReviewForm(QStringLiteral("GraphSpecLoudS"),
                      QStringLiteral("Overall Specific Loudness Chart"), parent)
{
}

TGraphSpecLoudSData::TGraphSpecLoudSData(QWidget* parent)
    : ChartDataForm(QStringLiteral("GraphSpecLoudSData"),
                    QStringLiteral("Overall Specific Loudness Chart Data"), parent)
{
}

TGraphChromaSalienceS::TGraphChromaSalienceS(QWidget* parent)
    : ChartReviewForm(QStringLiteral("GraphChromaSalienceS"),
                      QStringLiteral("Mean Chroma Salience Chart"), parent)
{
}

TGraphChromaSalienceSData::TGraphChromaSalienceSData(QWidget* parent)
    : ChartDataForm(QStringLiteral("GraphChromaSalienceSData"),
                    QStringLiteral("Mean Chroma Salience Chart Data"), parent)
{
}

TGraphPitchSalienceS::TGraphPitchSalienceS(QWidget* parent)
    : ChartReviewForm(QStringLiteral("GraphPitchSalienceS"),
                      QStringLiteral("Mean Pitch Salience Chart"), parent)
{
}

TGraphPitchSalienceSData::TGraphPitchSalienceSData(QWidget* parent)
    : ChartDataForm(QStringLiteral("GraphPitchSalienceSData"),
                    QStringLiteral("Mean Pitch Salience Chart Data"), parent)
{
}

}  // namespace oxw::app
