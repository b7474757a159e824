#include "driver/llztxwdm.h"

#include "system/dynamiclibrary.h"

#include <cstring>
#include <iterator>
#include <string>

bool DriverLoaded = false;

TGetNumCards GetNumCards = nullptr;
TQueryCardInfo QueryCardInfo = nullptr;
TQueryBARBase QueryBARBase = nullptr;
TWaitForIRQ WaitForIRQ = nullptr;
TCOSWaitForIRQ COSWaitForIRQ = nullptr;
TCardRequest WDGHandleIRQ = nullptr;
TCardRequest AbortRequest = nullptr;
TCardRequest CloseCard = nullptr;
TCardRequest WDGInit = nullptr;
TWDGSetDuration WDGSetTimeout = nullptr;
TWDGSetDuration WDGSetResetDuration = nullptr;
TCardRequest WDGPet = nullptr;
TWDGReadTemp WDGReadTemp = nullptr;
TWDGReadStatus WDGReadStatus = nullptr;
TCardRequest WDGStart = nullptr;
TCardRequest WDGStop = nullptr;
TEmergencyReboot EmergencyReboot = nullptr;
TInPortB InPortB = nullptr;
TOutPortB OutPortB = nullptr;
TInPort InPort = nullptr;
TOutPort OutPort = nullptr;
TInPortL InPortL = nullptr;
TOutPortL OutPortL = nullptr;
TInPortL InPortDWord = nullptr;
TOutPortL OutPortDWord = nullptr;
TRelInPortB RelInPortB = nullptr;
TRelOutPortB RelOutPortB = nullptr;
TRelInPort RelInPort = nullptr;
TRelOutPort RelOutPort = nullptr;
TRelInPortL RelInPortL = nullptr;
TRelOutPortL RelOutPortL = nullptr;
TRelInPortL RelInPortDWord = nullptr;
TRelOutPortL RelOutPortDWord = nullptr;

namespace {

constexpr const char* DriverBaseName = "ZTXWDM";

// The symbol address is copied into the function pointer byte for byte, the way POSIX
// documents for dlsym results; this needs both pointers to have the same size.
static_assert(sizeof(void*) == sizeof(TGetNumCards));

struct TEntryPoint {
    const char* Name;
    void* Variable;
};

// Spelling the export name from the variable name keeps the two from drifting apart.
#define DRIVER_ENTRY_POINT(name)                                                                   \
    { #name, &name }

const TEntryPoint EntryPoints[] = {
    DRIVER_ENTRY_POINT(GetNumCards),
    DRIVER_ENTRY_POINT(QueryCardInfo),
    DRIVER_ENTRY_POINT(QueryBARBase),
    DRIVER_ENTRY_POINT(WaitForIRQ),
    DRIVER_ENTRY_POINT(COSWaitForIRQ),
    DRIVER_ENTRY_POINT(WDGHandleIRQ),
    DRIVER_ENTRY_POINT(AbortRequest),
    DRIVER_ENTRY_POINT(CloseCard),
    DRIVER_ENTRY_POINT(WDGInit),
    DRIVER_ENTRY_POINT(WDGSetTimeout),
    DRIVER_ENTRY_POINT(WDGSetResetDuration),
    DRIVER_ENTRY_POINT(WDGPet),
    DRIVER_ENTRY_POINT(WDGReadTemp),
    DRIVER_ENTRY_POINT(WDGReadStatus),
    DRIVER_ENTRY_POINT(WDGStart),
    DRIVER_ENTRY_POINT(WDGStop),
    DRIVER_ENTRY_POINT(EmergencyReboot),
    DRIVER_ENTRY_POINT(InPortB),
    DRIVER_ENTRY_POINT(OutPortB),
    DRIVER_ENTRY_POINT(InPort),
    DRIVER_ENTRY_POINT(OutPort),
    DRIVER_ENTRY_POINT(InPortL),
    DRIVER_ENTRY_POINT(OutPortL),
    DRIVER_ENTRY_POINT(InPortDWord),
    DRIVER_ENTRY_POINT(OutPortDWord),
    DRIVER_ENTRY_POINT(RelInPortB),
    DRIVER_ENTRY_POINT(RelOutPortB),
    DRIVER_ENTRY_POINT(RelInPort),
    DRIVER_ENTRY_POINT(RelOutPort),
    DRIVER_ENTRY_POINT(RelInPortL),
    DRIVER_ENTRY_POINT(RelOutPortL),
    DRIVER_ENTRY_POINT(RelInPortDWord),
    DRIVER_ENTRY_POINT(RelOutPortDWord),
};

#undef DRIVER_ENTRY_POINT

static_assert(std::size(EntryPoints) == 33);

// Every entry is looked up and stored, found or not, so a partial driver leaves a
// consistent picture of what it offers.
bool BindAllEntryPoints(void* library) {
    bool allFound = true;
    for (const TEntryPoint& entry : EntryPoints) {
        void* address = TDynamicLibrary::FindSymbol(library, entry.Name);
        std::memcpy(entry.Variable, &address, sizeof address);
        allFound = allFound && address != nullptr;
    }
    return allFound;
}

} // namespace

// The library handle is deliberately dropped: the entry points must stay callable until
// the process ends, so the library is never unloaded.
void LoadDriverLibrary() {
    if (DriverLoaded) return;
    const std::string fileName = TDynamicLibrary::SharedLibraryFileName(DriverBaseName);
    void* library = TDynamicLibrary::LoadByBareName(fileName.c_str());
    if (library == nullptr) return;
    DriverLoaded = BindAllEntryPoints(library);
}
