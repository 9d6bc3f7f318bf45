// The one QApplication a widget test program needs, made on first use.
#pragma once

#include <QApplication>

inline QApplication& qtTestApp() {
    static int argc = 1;
    static char name[] = "test_qt";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
