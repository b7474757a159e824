// Settings: the configuration assistant for the card family.
#include "app/mainform.h"
#include "classlib/application.h"
#include "classlib/layouterror.h"
#include "setupctrls/setupclasses.h"
#include "system/dynamiclibrary.h"
#include "system/messagebox.h"

#include <iostream>

int main(int argc, char** argv) {
    // Before anything could load a library: the driver is found by bare name only.
    TDynamicLibrary::HardenLibrarySearch();
    TSetupClasses::Register();
    TApplication application;
    application.Initialize(argc, argv);
    try {
        application.CreateForm<TMainForm>();
    } catch (const std::exception& e) {
        // Without its page the program has nothing to show.
        std::cerr << "Settings: the main window could not be created: " << e.what() << "\n";
        TMessageBox::Show(nullptr, std::string("The main window could not be created: ") + e.what(),
                          "Settings", MB_OK | MB_ICONSTOP);
        return 1;
    }
    return application.Run();
}
