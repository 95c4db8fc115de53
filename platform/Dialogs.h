#pragma once
// What the program takes from the platform's standard dialogs: message boxes, the open-file and
// save-file choosers, the colour dialog, modal showing of a window and ending the program. The
// program reaches them only through this interface, so tests can script every answer
// (ScriptedDialogs).

#include <QColor>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace oxw::platform {

// Title of the program's message boxes.
inline constexpr const char* kMessageTitle = "OXW Sound File Analysis";

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An information box with an OK button; returns when the user has closed it.
    virtual void ShowMessage(const QString& text) = 0;
    // The open-file chooser. The filter is given in pairs "description|patterns|..." with
    // patterns separated by ';' ("Sound files (*.wav)|*.wav|AIF Files (*.AIF)|*.AIF").
    // Returns the full path of the chosen file, nullopt when the user cancels.
    virtual std::optional<QString> ChooseOpenFile(const QString& filter) = 0;
    // Shows the dialog modally; returns its result code (QDialog::Accepted / Rejected or the
    // value given to done()).
    virtual int ExecModal(QDialog& dialog) = 0;
    // Ends the program: the application leaves its event loops and exits with code 0.
    virtual void EndProgram() = 0;

    // The save-file chooser, with a filter as ChooseOpenFile's. Returns the full path of the
    // chosen file (the file may exist), nullopt when the user cancels.
    virtual std::optional<QString> ChooseSaveFile(const QString& filter) = 0;

    // The colour dialog, opened with `initial`; the chosen colour, nullopt when the user cancels.
    virtual std::optional<QColor> ChooseColor(const QColor& initial) = 0;
};

// The chooser filter in Qt's syntax: "Sound files (*.wav);;AIF Files (*.AIF)". A description
// that does not already show its patterns gets them appended in parentheses.
QString ToQtFileFilter(const QString& pipeFilter);

// The real dialogs of the platform.
class QtDialogs : public Dialogs {
public:
    // `parent` (may be null) is the window the dialogs are centred over.
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void ShowMessage(const QString& text) override;
    std::optional<QString> ChooseOpenFile(const QString& filter) override;
    int ExecModal(QDialog& dialog) override;
    void EndProgram() override;

    std::optional<QString> ChooseSaveFile(const QString& filter) override;
    std::optional<QColor> ChooseColor(const QColor& initial) override;

private:
    QWidget* parent_;
};

// Dialogs for tests: the chooser answers from a queue, messages are recorded, a modal dialog
// runs a script instead of an event loop, and ending the program is only counted.
class ScriptedDialogs : public Dialogs {
public:
    // Answers of the chooser, taken from the front; an empty queue answers "cancelled".
    std::deque<std::optional<QString>> FileAnswers;
    // Filters the chooser was called with, in order.
    QStringList Filters;
    // Texts of every message shown, in order.
    QStringList Messages;
    // Object names of the dialogs shown modally, in order.
    QStringList ModalDialogs;
    // Runs on the dialog in place of its event loop; its result is the modal result. Without a
    // script the dialog's current result() is returned.
    std::function<int(QDialog&)> ModalScript;
    // How often the program was asked to end.
    int EndProgramCount = 0;

    void ShowMessage(const QString& text) override { Messages << text; }
    std::optional<QString> ChooseOpenFile(const QString& filter) override;
    int ExecModal(QDialog& dialog) override;
    void EndProgram() override { ++EndProgramCount; }

    // Answers of the save-file chooser, taken from the front; an empty queue answers
    // "cancelled". The filters it was called with, in order.
    std::deque<std::optional<QString>> SaveFileAnswers;
    QStringList SaveFilters;
    std::optional<QString> ChooseSaveFile(const QString& filter) override;

    // The colours the colour dialog was opened with, in order, and its answers, taken from the front
    // (an empty queue answers "cancelled").
    QList<QColor> ColorRequests;
    std::deque<std::optional<QColor>> ColorAnswers;
    std::optional<QColor> ChooseColor(const QColor& initial) override;
};

// The platform's own dialogs, for controls that were given none.
Dialogs& PlatformDialogs();

}  // namespace oxw::platform
