#include "outside/Caddis.h"

#include "frame/ProgramDir.h"
#include "outside/CaddisWindow.h"

#include <QApplication>

extern "C" {

void GetCaddisVersion(std::string& version) {
    version = "1.00 - program repository";
}

void CaddisShowRepository() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    try {
        TCaddisWindow window(CurrentProgramDir(), orvale::Prompter::Default(),
                             QApplication::activeWindow());
        window.exec();
    } catch (...) {
    }
}
}
