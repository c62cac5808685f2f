// The Orvale program: the main frame, its login and its message boxes. No argument is read;
// the program's own location gives its program directory.

#include "platform/Prompter.h"
#include "ui/MainForm.h"
#include "ui/MessageBoxPrompter.h"
#include "ui/TreeImages.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("orvale");
    // The caption of the message boxes and of the frame.
    QApplication::setApplicationDisplayName(kApplicationName);
    QApplication::setDesktopFileName("orvale");
    // The installed icon, or the program picture of the section tree where none is installed.
    QApplication::setWindowIcon(QIcon::fromTheme("orvale", ProgramTreeImages().value(0)));

    TMessageBoxPrompter prompter;
    orvale::Prompter::SetDefault(&prompter);
    int status = 0;
    {
        TMainForm form(prompter);
        form.show();
        status = QApplication::exec();
    }
    orvale::Prompter::SetDefault(nullptr);
    return status;
}
