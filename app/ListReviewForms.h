#pragma once
// Review windows that would list intermediate arrays of a run, one list each. They are created
// at start-up and never shown by the workflow; their close button hides them.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "platform/Form.h"

namespace oxw::app {

class ListReviewForm : public platform::Form {
    Q_OBJECT
public:
    ListReviewForm(const QString& objectName, const QString& caption, QWidget* parent);

    QListWidget* ListBox1;
    QLineEdit* RowCount;         // number of rows listed
    QLabel* DisplayOptionLabel;  // "Display Option Not Selected"
    QPushButton* CloseButton;
};

class TForm6 : public ListReviewForm {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
};

class TForm7 : public ListReviewForm {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
};

class TOctS : public ListReviewForm {
    Q_OBJECT
public:
    explicit TOctS(QWidget* parent = nullptr);
};

class TForm9 : public ListReviewForm {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);
};

class TOverallThirdOctaveSpectrum : public ListReviewForm {
    Q_OBJECT
public:
    explicit TOverallThirdOctaveSpectrum(QWidget* parent = nullptr);
};

class TOverallSpecificLoudnessS : public ListReviewForm {
    Q_OBJECT
public:
    explicit TOverallSpecificLoudnessS(QWidget* parent = nullptr);
};

class TMeanChromaSalienceParncutt : public ListReviewForm {
    Q_OBJECT
public:
    explicit TMeanChromaSalienceParncutt(QWidget* parent = nullptr);
};

class TPitchSalienceS : public ListReviewForm {
    Q_OBJECT
public:
    explicit TPitchSalienceS(QWidget* parent = nullptr);
};

class TMakeSpectrumResults : public ListReviewForm {
    Q_OBJECT
public:
    explicit TMakeSpectrumResults(QWidget* parent = nullptr);
};

class TRoexResults : public ListReviewForm {
    Q_OBJECT
public:
    explicit TRoexResults(QWidget* parent = nullptr);
};

class TEsigResults : public ListReviewForm {
    Q_OBJECT
public:
    explicit TEsigResults(QWidget* parent = nullptr);
};

class TSpecLoudResults : public ListReviewForm {
    Q_OBJECT
public:
    explicit TSpecLoudResults(QWidget* parent = nullptr);
};

class TSharpnessResults : public ListReviewForm {
    Q_OBJECT
public:
    explicit TSharpnessResults(QWidget* parent = nullptr);
};

class TNTonesResults : public ListReviewForm {
    Q_OBJECT
public:
    explicit TNTonesResults(QWidget* parent = nullptr);
};

class TToneDissonanceResults : public ListReviewForm {
    Q_OBJECT
public:
    explicit TToneDissonanceResults(QWidget* parent = nullptr);
};

class TFindLevelsAboveMaskingResults : public ListReviewForm {
    Q_OBJECT
public:
    explicit TFindLevelsAboveMaskingResults(QWidget* parent = nullptr);
};

class TSortToneArraysResults : public ListReviewForm {
    Q_OBJECT
public:
    explicit TSortToneArraysResults(QWidget* parent = nullptr);
};

class TFindVirtualPitchesResults : public ListReviewForm {
    Q_OBJECT
public:
    explicit TFindVirtualPitchesResults(QWidget* parent = nullptr);
};

}  // namespace oxw::app
