// Start-up: the application, every window of the program in its order (the main window first),
// and the message loop until the main window closes.
#include <QApplication>

#include "app/Forms.h"
#include "app/TForm1.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    oxw::app::Forms forms;
    oxw::app::CreateForms(forms);
    forms.Form1->show();
    const int result = application.exec();
    oxw::app::DestroyForms(forms);
    return result;
}
