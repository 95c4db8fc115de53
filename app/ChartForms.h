#pragma once
// Chart review windows of the whole-file arrays (octave, third-octave, specific loudness,
// chroma and pitch) and their data windows. Created at start-up and never shown by the
// workflow: "Close Chart" hides a chart window, its second button shows its data window.

#include <QPointer>

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "platform/Form.h"

namespace oxw::app {

class ChartDataForm : public platform::Form {
    Q_OBJECT
public:
    ChartDataForm(const QString& objectName, const QString& caption, QWidget* parent);

    QTableWidget* StringGrid1;
    QPushButton* CloseButton;
};

class ChartReviewForm : public platform::Form {
    Q_OBJECT
public:
    ChartReviewForm(const QString& objectName, const QString& caption, QWidget* parent);

    // The data window that the second button shows.
    void SetDataForm(ChartDataForm* form) { dataForm_ = form; }
    ChartDataForm* DataForm() const { return dataForm_; }

    QLabel* Image1;
    QTableWidget* StringGrid1;
    QPushButton* CloseChart;  // "Close Chart"
    QPushButton* ShowData;    // shows the data window

private:
    QPointer<ChartDataForm> dataForm_;
};

class TGraphOctS : public ChartReviewForm {
    Q_OBJECT
public:
    explicit TGraphOctS(QWidget* parent = nullptr);
};

class TGraphOctSData : public ChartDataForm {
    Q_OBJECT
public:
    explicit TGraphOctSData(QWidget* parent = nullptr);
};

class TGraphThirdOctS : public ChartReviewForm {
    Q_OBJECT
public:
    explicit TGraphThirdOctS(QWidget* parent = nullptr);
};

class TGraphThirdOctSData : public ChartDataForm {
    Q_OBJECT
public:
    explicit TGraphThirdOctSData(QWidget* parent = nullptr);
};

class TGraphSpecLoudS : public ChartReviewForm {
    Q_OBJECT
public:
    explicit TGraphSpecLoudS(QWidget* parent = nullptr);
};

class TGraphSpecLoudSData : public ChartDataForm {
    Q_OBJECT
public:
    explicit TGraphSpecLoudSData(QWidget* parent = nullptr);
};

class TGraphChromaSalienceS : public ChartReviewForm {
    Q_OBJECT
public:
    explicit TGraphChromaSalienceS(QWidget* parent = nullptr);
};

class TGraphChromaSalienceSData : public ChartDataForm {
    Q_OBJECT
public:
    explicit TGraphChromaSalienceSData(QWidget* parent = nullptr);
};

class TGraphPitchSalienceS : public ChartReviewForm {
    Q_OBJECT
public:
    explicit TGraphPitchSalienceS(QWidget* parent = nullptr);
};

class TGraphPitchSalienceSData : public ChartDataForm {
    Q_OBJECT
public:
    explicit TGraphPitchSalienceSData(QWidget* parent = nullptr);
};

}  // namespace oxw::app
