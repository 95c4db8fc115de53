// The dialog interface's translation of file filters into Qt's syntax.
#include "platform/Dialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(Dialogs, FileFilterInQtSyntax)
{
    const struct { const char* pipe; const char* qt; } cases[] = {
        {"Sound files (*.wav)|*.wav|AIF Files (*.AIF)|*.AIF", "Sound files (*.wav);;AIF Files (*.AIF)"},
        {"Text|*.txt;*.log", "Text (*.txt *.log)"},
        {"Data (ASC Format)|*.asc", "Data (ASC Format) (*.asc)"},
        {"All", "All (*)"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(oxw::platform::ToQtFileFilter(c.pipe), QString(c.qt)) << c.pipe;
}

}  // namespace
