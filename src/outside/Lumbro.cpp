#include "outside/Lumbro.h"

#include "outside/LumbroWindow.h"

#include <QApplication>

extern "C" {

void GetLumbroVersion(std::string& version) {
    version = "1.00 - print layout aid";
}

bool LumbroDesign(StringList& lines, const orvale::CodePage& codePage) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    try {
        TLumbroWindow window(lines, orvale::TextEdge(codePage), QApplication::activeWindow());
        window.exec();
        if (!window.Changed())
            return false;
        lines = window.Statements();
        return true;
    } catch (...) {
        return false;
    }
}
}
