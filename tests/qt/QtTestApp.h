// The one QApplication a widget test program needs, made on first use. It is never destroyed:
// tearing it down among the other statics at exit crashes.
#pragma once

#include <QApplication>

inline QApplication& qtTestApp() {
    static int argc = 1;
    static char name[] = "test_qt";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
