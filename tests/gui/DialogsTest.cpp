// The dialog interface: Qt filter translation and the scripted dialogs used by the tests.
#include "platform/Dialogs.h"

#include <QDialog>

#include <gtest/gtest.h>

namespace {

using oxw::platform::ScriptedDialogs;
using oxw::platform::ToQtFileFilter;

TEST(Dialogs, FileFilterInQtSyntax)
{
    const struct {
        const char* pipe;
        const char* qt;
    } cases[] = {
        {"Sound files (*.wav)|*.wav|AIF Files (*.AIF)|*.AIF", "Sound files (*.wav);;AIF Files (*.AIF)"},
        {"Text|*.txt;*.log", "Text (*.txt *.log)"},
        {"Data (ASC Format)|*.asc", "Data (ASC Format) (*.asc)"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ToQtFileFilter(c.pipe), QString(c.qt)) << c.pipe;
}

TEST(Dialogs, ScriptedChooserMessagesModalsAndEnd)
{
    ScriptedDialogs d;
    d.FileAnswers = {QString("/tmp/a.wav"), std::nullopt, QString("/tmp/b.wav")};
    EXPECT_EQ(d.ChooseOpenFile("f1"), QString("/tmp/a.wav"));
    EXPECT_EQ(d.ChooseOpenFile("f2"), std::nullopt);
    EXPECT_EQ(d.ChooseOpenFile("f3"), QString("/tmp/b.wav"));
    EXPECT_EQ(d.ChooseOpenFile("f4"), std::nullopt);  // queue used up: cancelled
    EXPECT_EQ(d.Filters, QStringList({"f1", "f2", "f3", "f4"}));

    d.ShowMessage("one");
    d.ShowMessage("two");
    EXPECT_EQ(d.Messages, QStringList({"one", "two"}));

    QDialog dialog;
    dialog.setObjectName("SoundFileCheck");
    EXPECT_EQ(d.ExecModal(dialog), QDialog::Rejected);  // no script: the dialog's result
    int seen = 0;
    d.ModalScript = [&](QDialog& shown) {
        ++seen;
        EXPECT_EQ(&shown, &dialog);
        shown.setResult(QDialog::Accepted);
        return 42;
    };
    EXPECT_EQ(d.ExecModal(dialog), 42);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(d.ModalDialogs, QStringList({"SoundFileCheck", "SoundFileCheck"}));

    d.EndProgram();
    EXPECT_EQ(d.EndProgramCount, 1);
}

}  // namespace
