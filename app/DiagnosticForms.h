#pragma once
// Further windows created at start-up that the workflow never shows: the analysis flowchart,
// the basic help and about texts, the batch summary, the loudness value table, the chart
// demonstration and two empty forms.

#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeWidget>

#include "controls/NTabEd.h"
#include "controls/NumLab.h"
#include "controls/RChart.h"
#include "platform/Form.h"

namespace oxw::app {

class TDataAnalysisFlowchart : public platform::Form {
    Q_OBJECT
public:
    explicit TDataAnalysisFlowchart(QWidget* parent = nullptr);

    QTreeWidget* TreeView1;  // fully expanded when created
};

class TForm27 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm27(QWidget* parent = nullptr);
};

class THelpInputAndOutput : public platform::Form {
    Q_OBJECT
public:
    explicit THelpInputAndOutput(QWidget* parent = nullptr);

    QTextEdit* RichEdit1;
};

class TForm46 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm46(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
};

class TBatchFileSummary : public platform::Form {
    Q_OBJECT
public:
    explicit TBatchFileSummary(QWidget* parent = nullptr);
};

class TLoudValuesForm : public platform::Form {
    Q_OBJECT
public:
    explicit TLoudValuesForm(QWidget* parent = nullptr);

    TNTabEd* LoudValues;
};

// The chart demonstration: three charts showing one item list (RChart2 and RChart3 show
// RChart1's), a tone table and two numeric read-outs. Nothing fills them.
class TFrmShared : public platform::Form {
    Q_OBJECT
public:
    explicit TFrmShared(QWidget* parent = nullptr);

    TRChart* RChart1;
    TRChart* RChart2;
    TRChart* RChart3;
    TNTabEd* NTabEd1;  // the tones
    TNumLab* NumLab1;
    TNumLab* NumLab2;
};

class TForm48 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm48(QWidget* parent = nullptr);
};

}  // namespace oxw::app
