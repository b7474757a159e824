// Entry of the installed-cards tests: an offscreen Qt application and the library's
// application object around every test, with the program's classes registered, as the
// program itself starts.
#include "classlib/application.h"
#include "setupctrls/setupclasses.h"
#include "system/dynamiclibrary.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    TDynamicLibrary::HardenLibrarySearch();
    QApplication qtApp(argc, argv);
    TSetupClasses::Register();
    TApplication application;
    application.Initialize(argc, argv);
    return RUN_ALL_TESTS();
}
