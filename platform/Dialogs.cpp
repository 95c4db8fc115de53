#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace oxw::platform {

QString ToQtFileFilter(const QString& pipeFilter)
{
    if (pipeFilter.trimmed().isEmpty()) return {};
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QStringLiteral("*");
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
        filters << (description.endsWith(shown) ? description
                                                : (description + QLatin1Char(' ') + shown).trimmed());
    }
    return filters.join(QStringLiteral(";;"));
}

void QtDialogs::ShowMessage(const QString& text)
{
    QMessageBox::information(parent_, QString::fromLatin1(kMessageTitle), text);
}

std::optional<QString> QtDialogs::ChooseOpenFile(const QString& filter)
{
    const QString path =
        QFileDialog::getOpenFileName(parent_, QStringLiteral("Open"), QString(), ToQtFileFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

int QtDialogs::ExecModal(QDialog& dialog) { return dialog.exec(); }

void QtDialogs::EndProgram() { QCoreApplication::exit(0); }

std::optional<QString> QtDialogs::ChooseSaveFile(const QString& filter)
{
    const QString path =
        QFileDialog::getSaveFileName(parent_, QStringLiteral("Save As"), QString(), ToQtFileFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

namespace {

// The front answer of a scripted chooser; cancelled when none is left.
std::optional<QString> TakeAnswer(std::deque<std::optional<QString>>& answers)
{
    if (answers.empty()) return std::nullopt;
    const bool cancelled = !answers.front().has_value();
    QString path = cancelled ? QString() : *answers.front();
    answers.pop_front();
    if (cancelled) return std::nullopt;
    return path;
}

}  // namespace

std::optional<QString> ScriptedDialogs::ChooseOpenFile(const QString& filter)
{
    Filters << filter;
    return TakeAnswer(FileAnswers);
}

std::optional<QString> ScriptedDialogs::ChooseSaveFile(const QString& filter)
{
    SaveFilters << filter;
    return TakeAnswer(SaveFileAnswers);
}

int ScriptedDialogs::ExecModal(QDialog& dialog)
{
    ModalDialogs << dialog.objectName();
    if (ModalScript) return ModalScript(dialog);
    return dialog.result();
}

std::optional<QColor> QtDialogs::ChooseColor(const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent_);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

std::optional<QColor> ScriptedDialogs::ChooseColor(const QColor& initial)
{
    ColorRequests << initial;
    if (ColorAnswers.empty()) return std::nullopt;
    const std::optional<QColor> answer = ColorAnswers.front();
    ColorAnswers.pop_front();
    return answer;
}

Dialogs& PlatformDialogs()
{
    static QtDialogs dialogs;
    return dialogs;
}

}  // namespace oxw::platform
