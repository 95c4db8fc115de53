#include "app/ViewFileOutput.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace oxw::app {

TViewFileOutput::TViewFileOutput(QWidget* parent)
    : Form(QStringLiteral("ViewFileOutput"), QStringLiteral("ViewFile"), parent)
{
    ListFileContent = new QListWidget(this);
    ListFileContent->setObjectName(QStringLiteral("ListFileContent"));
    ListFileContent->setUniformItemSizes(true);
    ListFileContent->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ClickToCloseViewFileOutput =
        platform::MakeButton(QStringLiteral("ClickToCloseViewFileOutput"), QStringLiteral("Click to Close"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListFileContent, 1);
    layout->addWidget(ClickToCloseViewFileOutput, 0, Qt::AlignRight);
    resize(900, 600);
    connect(ClickToCloseViewFileOutput, &QPushButton::clicked, this,
            [this] { ClickToCloseViewFileOutputClick(); });
}

void TViewFileOutput::ClickToCloseViewFileOutputClick() {
    ListFileContent->clear();
    hide();
}

}  // namespace oxw::app
