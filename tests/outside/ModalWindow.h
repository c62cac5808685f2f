#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

// Runs Act on the modal window of class ClassName once its loop is running. A library's window
// is the library's own copy of its class, so it is recognised by class name and reached
// through its named controls. A window that is not the expected one is closed, so that a
// failing test does not hang.
inline void WhenModalShown(const char* className, std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [className, act] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window || !window->inherits(className)) {
            ADD_FAILURE() << className << " is not showing";
            if (window)
                window->close();
            return;
        }
        act(*window);
    });
}

// The control Name of Window; a missing one fails the test.
template <class T> T* Control(QWidget& window, const char* name) {
    T* control = window.findChild<T*>(name);
    if (!control)
        ADD_FAILURE() << "no control " << name;
    return control;
}
