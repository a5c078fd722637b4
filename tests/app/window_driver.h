#pragma once
// Small helpers the window tests share: finding controls by their names and running a
// command to its end.

#include "data/data_table.h"
#include "imaging/imagick.h"
#include "app/tfm_main.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

// As the program starts: the image library first, then the application.
#define TULVO_WINDOW_TEST_MAIN(TestObject)                                                     \
    int main(int argc, char* argv[])                                                           \
    {                                                                                          \
        ImagickSession imageLibrary;                                                           \
        QApplication application(argc, argv);                                                  \
        TestObject test;                                                                       \
        return QTest::qExec(&test, argc, argv);                                                \
    }

template <class T>
T* Control(Tfm_main& window, const char* name)
{
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    if (!control)
        qFatal("no control named %s", name);
    return control;
}

// Runs `start` (which must start a command) and waits for the command's end.
template <class F>
bool RunToEnd(Tfm_main& window, F start)
{
    QSignalSpy finished(&window.Runner(), &TCommandRunner::finished);
    start();
    if (!window.Runner().IsRunning())
        return false;
    return finished.wait(60000);
}
