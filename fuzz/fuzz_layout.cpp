// Feeds arbitrary bytes to the stored-layout reader: the text parser, then the component
// factory, the property setters (the card photograph among them) and the reference fixups, into
// a fresh root form that is destroyed again afterwards. A malformed layout may only end in
// ELayoutError naming a line of the input, or in the library's Exception; anything else
// escaping is a finding.
#include "classlib/application.h"
#include "classlib/classregistry.h"
#include "classlib/exceptions.h"
#include "classlib/form.h"
#include "classlib/layouterror.h"
#include "classlib/reader.h"
#include "setupctrls/setupclasses.h"

#include <QApplication>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// The class the real page layout names as its root, publishing the event handlers that layout
// binds (doing nothing), so inputs derived from it get past the event bindings to what follows.
class TFuzzRootForm : public TForm {
  public:
    explicit TFuzzRootForm(TComponent* owner) : TForm(owner) {
        for (const char* name : {"FormCreate", "FilterCheckClick", "Exit2Click", "DisplayClick",
                                 "Howtousethisprogram1Click", "TechnicalSupport1Click"})
            PublishMethod(name, [](TObject*) {});
    }
    DECLARE_CLASS_NAME(TMainForm)
};

int LineCount(std::string_view text) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

void CheckNamesALine(const ELayoutError& error, std::string_view layout) {
    if (error.Line() >= 1 && error.Line() <= LineCount(layout)) return;
    std::fprintf(stderr, "fuzz_layout: error names no line of the input: %s\n", error.what());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    // Both live for the whole process, as in the program; the fuzzer never returns to free them.
    static int argc = 1;
    static char name[] = "fuzz_layout";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    TSetupClasses::Register();
    TClassRegistry::Instance().Register("TMainForm", "TForm");
    auto* application = new TApplication();
    application->Initialize(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view layout(reinterpret_cast<const char*>(data), size);
    auto* form = new TFuzzRootForm(nullptr);
    try {
        // Warnings (a photograph that cannot be shown) leave a usable page; nothing to check.
        TReader::ReadRoot(layout, form);
    } catch (const ELayoutError& error) {
        CheckNamesALine(error, layout);
    } catch (const Exception&) {
    }
    delete form;
    return 0;
}
