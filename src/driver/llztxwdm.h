#pragma once

// Entry points of the card maker's driver library, bound at run time so the program still
// starts (and can say that no driver is installed) on a machine without it.
//
// Each variable is named like the export it holds and is nullptr until LoadDriverLibrary
// has found that export. Only call through them when DriverLoaded is true.

#include <cstdint>

extern "C" {
using TGetNumCards = int32_t (*)();
using TQueryCardInfo = int32_t (*)(int32_t cardIndex, uint32_t* vendorDeviceId,
                                   uint32_t* subsystemId, uint32_t* busSlot);
using TQueryBARBase = uint32_t (*)(int32_t cardIndex, int32_t barIndex);
using TWaitForIRQ = int32_t (*)(int32_t cardIndex, uint32_t timeoutMs);
using TCOSWaitForIRQ = int32_t (*)(int32_t cardIndex, uint32_t timeoutMs, uint32_t* changedBits);
using TCardRequest = int32_t (*)(int32_t cardIndex);
using TWDGSetDuration = int32_t (*)(int32_t cardIndex, uint32_t milliseconds);
using TWDGReadTemp = int32_t (*)(int32_t cardIndex, float* celsius);
using TWDGReadStatus = int32_t (*)(int32_t cardIndex, uint32_t* status);
using TEmergencyReboot = void (*)();

using TInPortB = uint8_t (*)(uint32_t port);
using TOutPortB = void (*)(uint32_t port, uint8_t value);
using TInPort = uint16_t (*)(uint32_t port);
using TOutPort = void (*)(uint32_t port, uint16_t value);
using TInPortL = uint32_t (*)(uint32_t port);
using TOutPortL = void (*)(uint32_t port, uint32_t value);

using TRelInPortB = uint8_t (*)(int32_t cardIndex, uint32_t offset);
using TRelOutPortB = void (*)(int32_t cardIndex, uint32_t offset, uint8_t value);
using TRelInPort = uint16_t (*)(int32_t cardIndex, uint32_t offset);
using TRelOutPort = void (*)(int32_t cardIndex, uint32_t offset, uint16_t value);
using TRelInPortL = uint32_t (*)(int32_t cardIndex, uint32_t offset);
using TRelOutPortL = void (*)(int32_t cardIndex, uint32_t offset, uint32_t value);
}

extern bool DriverLoaded;

extern TGetNumCards GetNumCards;
extern TQueryCardInfo QueryCardInfo;
extern TQueryBARBase QueryBARBase;
extern TWaitForIRQ WaitForIRQ;
extern TCOSWaitForIRQ COSWaitForIRQ;
extern TCardRequest WDGHandleIRQ;
extern TCardRequest AbortRequest;
extern TCardRequest CloseCard;
extern TCardRequest WDGInit;
extern TWDGSetDuration WDGSetTimeout;
extern TWDGSetDuration WDGSetResetDuration;
extern TCardRequest WDGPet;
extern TWDGReadTemp WDGReadTemp;
extern TWDGReadStatus WDGReadStatus;
extern TCardRequest WDGStart;
extern TCardRequest WDGStop;
extern TEmergencyReboot EmergencyReboot;
extern TInPortB InPortB;
extern TOutPortB OutPortB;
extern TInPort InPort;
extern TOutPort OutPort;
extern TInPortL InPortL;
extern TOutPortL OutPortL;
extern TInPortL InPortDWord;
extern TOutPortL OutPortDWord;
extern TRelInPortB RelInPortB;
extern TRelOutPortB RelOutPortB;
extern TRelInPort RelInPort;
extern TRelOutPort RelOutPort;
extern TRelInPortL RelInPortL;
extern TRelOutPortL RelOutPortL;
extern TRelInPortL RelInPortDWord;
extern TRelOutPortL RelOutPortDWord;

// Binds the driver library once. Quiet on failure: DriverLoaded stays false, and a later
// call tries again from the start. Once everything is bound, further calls do nothing.
void LoadDriverLibrary();
