// The offscreen Qt application that benchmarks of drawing and windows need, made once and never
// destroyed: a static one would be destroyed after Qt's own globals and crash the program's exit.
#pragma once

#include <QApplication>

inline void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}
