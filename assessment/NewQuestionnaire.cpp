#include "assessment/NewQuestionnaire.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace oxw::assessment {

TNewQuestionnaire::TNewQuestionnaire(QWidget* parent)
    : Form(QStringLiteral("NewQuestionnaire"),
           QStringLiteral("OXW Optional Questionnaire for your Personal Noise Sensitivity Perception"), parent)
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    // Pages in the order shown; the object names follow the form's own numbering.
    const std::pair<const char*, const char*> pages[] = {
        {"TabSheet1", "Processing Overview"},
        {"TabSheet2", "Personal"},
        {"TabSheet3", "Your Location"},
        {"TabSheet4", "Your Environment"},
        {"TabSheet5", "Your Disturbance  or Annoyances"},
        {"TabSheet8", "Sound Character"},
        {"TabSheet6", "Noise Sensitivity "},
        {"TabSheet7", "Your Noise Sensitivity "},
    };
    for (const auto& [name, caption] : pages) {
        auto* page = new QWidget(PageControl1);
        page->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(page, QString::fromLatin1(caption));
    }
    Button1 = platform::MakeButton(QStringLiteral("Button1"), QStringLiteral("Close the questionnaire"), this);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    resize(900, 640);
}

}  // namespace oxw::assessment
