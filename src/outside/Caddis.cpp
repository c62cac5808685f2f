#include "outside/Caddis.h"

#include "frame/ProgramDir.h"
#include "outside/CaddisWindow.h"

#include <QApplication>

extern "C" {

void GetCaddisVersion(std::string& version) {
    version = "1.00 - program repository";
}

void CaddisShowRepository(const orvale::CodePage& codePage) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    try {
        TCaddisWindow window(CurrentProgramDir(), orvale::Prompter::Default(),
                             orvale::TextEdge(codePage), QApplication::activeWindow());
        window.exec();
    } catch (...) {
    }
}
}
