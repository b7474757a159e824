// Test entry: an offscreen Qt application and the library's application object around every
// test, with the classes of the program registered for stored layouts.
#include "classlib/application.h"
#include "setupctrls/setupclasses.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication qtApp(argc, argv);
    TSetupClasses::Register();
    TApplication application;
    application.Initialize(argc, argv);
    return RUN_ALL_TESTS();
}
