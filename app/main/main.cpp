// Start-up: a file size limit made a failed write like a full disk, the application, every window
// of the program in its order (the main window first), and the message loop until the main window
// closes.
#include <QApplication>

#include "app/Forms.h"
#include "app/TForm1.h"
#include "app/report/TextFile.h"
#include "platform/Dialogs.h"
#include "platform/SoundPlayer.h"

int main(int argc, char** argv) {
    oxw::report::IgnoreFileSizeSignal();
    QApplication application(argc, argv);
    oxw::platform::QtDialogs dialogs;
    oxw::platform::QtSoundSystem sound;
    oxw::app::Forms forms;
    oxw::app::CreateForms(forms, dialogs, sound);
    dialogs.SetParent(forms.Form1);
    forms.Form1->show();
    const int result = application.exec();
    oxw::app::DestroyForms(forms);
    return result;
}
