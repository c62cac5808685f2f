#pragma once

#include <QApplication>

namespace orvale::test {

// The one application object that widget tests need, made on first use and kept until the
// test program ends (the tests run on the offscreen platform that CTest sets). Every widget
// test calls this rather than making its own, since a second application object is an error.
inline QApplication& QtApp() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *app;
    static int argc = 1;
    static char name[] = "orvale-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: widgets of static lifetime may outlive any point it could be freed at.
    return *new QApplication(argc, argv);
}

} // namespace orvale::test
