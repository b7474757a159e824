// Substitute for the card maker's driver library, built twice as libZTXWDM.so:
// complete, and with STUB_WITHOUT_WDGPET defined, lacking exactly the WDGPet export.
// The card functions only answer "no such card"; what the tests look at is which names
// are exported, what GetNumCards returns and how often it is called.

#include <cstdint>

#define STUB_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int32_t NoSuchCard = -1;

int32_t NumCards = 0;
int32_t GetNumCardsCalls = 0;

} // namespace

// Test controls, not part of the real driver's exports.
STUB_EXPORT void StubSetNumCards(int32_t count) {
    NumCards = count;
}
STUB_EXPORT int32_t StubGetNumCardsCalls() {
    return GetNumCardsCalls;
}

STUB_EXPORT int32_t GetNumCards() {
    ++GetNumCardsCalls;
    return NumCards;
}

STUB_EXPORT int32_t QueryCardInfo(int32_t, uint32_t*, uint32_t*, uint32_t*) {
    return NoSuchCard;
}
STUB_EXPORT uint32_t QueryBARBase(int32_t, int32_t) {
    return 0;
}
STUB_EXPORT int32_t WaitForIRQ(int32_t, uint32_t) {
    return NoSuchCard;
}
STUB_EXPORT int32_t COSWaitForIRQ(int32_t, uint32_t, uint32_t*) {
    return NoSuchCard;
}
STUB_EXPORT int32_t WDGHandleIRQ(int32_t) {
    return NoSuchCard;
}
STUB_EXPORT int32_t AbortRequest(int32_t) {
    return NoSuchCard;
}
STUB_EXPORT int32_t CloseCard(int32_t) {
    return NoSuchCard;
}
STUB_EXPORT int32_t WDGInit(int32_t) {
    return NoSuchCard;
}
STUB_EXPORT int32_t WDGSetTimeout(int32_t, uint32_t) {
    return NoSuchCard;
}
STUB_EXPORT int32_t WDGSetResetDuration(int32_t, uint32_t) {
    return NoSuchCard;
}
#ifndef STUB_WITHOUT_WDGPET
STUB_EXPORT int32_t WDGPet(int32_t) {
    return NoSuchCard;
}
#endif
STUB_EXPORT int32_t WDGReadTemp(int32_t, float*) {
    return NoSuchCard;
}
STUB_EXPORT int32_t WDGReadStatus(int32_t, uint32_t*) {
    return NoSuchCard;
}
STUB_EXPORT int32_t WDGStart(int32_t) {
    return NoSuchCard;
}
STUB_EXPORT int32_t WDGStop(int32_t) {
    return NoSuchCard;
}
STUB_EXPORT void EmergencyReboot() {}

STUB_EXPORT uint8_t InPortB(uint32_t) {
    return 0xFF;
}
STUB_EXPORT void OutPortB(uint32_t, uint8_t) {}
STUB_EXPORT uint16_t InPort(uint32_t) {
    return 0xFFFF;
}
STUB_EXPORT void OutPort(uint32_t, uint16_t) {}
STUB_EXPORT uint32_t InPortL(uint32_t) {
    return 0xFFFFFFFF;
}
STUB_EXPORT void OutPortL(uint32_t, uint32_t) {}
STUB_EXPORT uint32_t InPortDWord(uint32_t) {
    return 0xFFFFFFFF;
}
STUB_EXPORT void OutPortDWord(uint32_t, uint32_t) {}

STUB_EXPORT uint8_t RelInPortB(int32_t, uint32_t) {
    return 0xFF;
}
STUB_EXPORT void RelOutPortB(int32_t, uint32_t, uint8_t) {}
STUB_EXPORT uint16_t RelInPort(int32_t, uint32_t) {
    return 0xFFFF;
}
STUB_EXPORT void RelOutPort(int32_t, uint32_t, uint16_t) {}
STUB_EXPORT uint32_t RelInPortL(int32_t, uint32_t) {
    return 0xFFFFFFFF;
}
STUB_EXPORT void RelOutPortL(int32_t, uint32_t, uint32_t) {}
STUB_EXPORT uint32_t RelInPortDWord(int32_t, uint32_t) {
    return 0xFFFFFFFF;
}
STUB_EXPORT void RelOutPortDWord(int32_t, uint32_t, uint32_t) {}
