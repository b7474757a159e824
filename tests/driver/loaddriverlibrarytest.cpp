// Each suite expects a different library on the search path; ctest starts this executable
// once per suite with a matching LD_LIBRARY_PATH (see CMakeLists.txt and README.md).

#include "driver/llztxwdm.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <filesystem>

namespace {

constexpr const char* DriverFileName = "libZTXWDM.so";

struct TBoundVariable {
    const char* Name;
    void* Variable;
};

// Kept apart from the loader's own table on purpose, so a name it forgets is noticed.
#define BOUND_VARIABLE(name)                                                                       \
    { #name, &name }
const TBoundVariable AllEntryPoints[] = {
    BOUND_VARIABLE(GetNumCards),
    BOUND_VARIABLE(QueryCardInfo),
    BOUND_VARIABLE(QueryBARBase),
    BOUND_VARIABLE(WaitForIRQ),
    BOUND_VARIABLE(COSWaitForIRQ),
    BOUND_VARIABLE(WDGHandleIRQ),
    BOUND_VARIABLE(AbortRequest),
    BOUND_VARIABLE(CloseCard),
    BOUND_VARIABLE(WDGInit),
    BOUND_VARIABLE(WDGSetTimeout),
    BOUND_VARIABLE(WDGSetResetDuration),
    BOUND_VARIABLE(WDGPet),
    BOUND_VARIABLE(WDGReadTemp),
    BOUND_VARIABLE(WDGReadStatus),
    BOUND_VARIABLE(WDGStart),
    BOUND_VARIABLE(WDGStop),
    BOUND_VARIABLE(EmergencyReboot),
    BOUND_VARIABLE(InPortB),
    BOUND_VARIABLE(OutPortB),
    BOUND_VARIABLE(InPort),
    BOUND_VARIABLE(OutPort),
    BOUND_VARIABLE(InPortL),
    BOUND_VARIABLE(OutPortL),
    BOUND_VARIABLE(InPortDWord),
    BOUND_VARIABLE(OutPortDWord),
    BOUND_VARIABLE(RelInPortB),
    BOUND_VARIABLE(RelOutPortB),
    BOUND_VARIABLE(RelInPort),
    BOUND_VARIABLE(RelOutPort),
    BOUND_VARIABLE(RelInPortL),
    BOUND_VARIABLE(RelOutPortL),
    BOUND_VARIABLE(RelInPortDWord),
    BOUND_VARIABLE(RelOutPortDWord),
};
#undef BOUND_VARIABLE

void* ValueOf(const TBoundVariable& entry) {
    void* value = nullptr;
    std::memcpy(&value, entry.Variable, sizeof value);
    return value;
}

void Assign(const TBoundVariable& entry, void* value) {
    std::memcpy(entry.Variable, &value, sizeof value);
}

bool NothingBound() {
    for (const TBoundVariable& entry : AllEntryPoints)
        if (ValueOf(entry) != nullptr) return false;
    return !DriverLoaded;
}

// Read during static initialisation, before any test has touched the variables.
const bool StartedWithNothingBound = NothingBound();

// A non-null value no lookup can produce, to see whether a variable was written.
char SentinelTarget;
void* const Sentinel = &SentinelTarget;

void FillWithSentinel() {
    for (const TBoundVariable& entry : AllEntryPoints)
        Assign(entry, Sentinel);
}

// The library as the loader left it in this process, or nullptr if it never got loaded.
void* ResidentDriver() {
    return dlopen(DriverFileName, RTLD_NOLOAD | RTLD_NOW);
}

template <typename TFunction> TFunction StubControl(const char* name) {
    void* address = dlsym(ResidentDriver(), name);
    TFunction function = nullptr;
    std::memcpy(&function, &address, sizeof address);
    return function;
}

// Each test starts as the program does: nothing bound, DriverLoaded false.
class TDriverLoad : public testing::Test {
  protected:
    void SetUp() override {
        DriverLoaded = false;
        for (const TBoundVariable& entry : AllEntryPoints)
            Assign(entry, nullptr);
    }

    // Every variable must hold exactly what the resident library exports under its name.
    static void ExpectBoundToResidentDriver() {
        void* library = ResidentDriver();
        ASSERT_NE(library, nullptr);
        for (const TBoundVariable& entry : AllEntryPoints)
            EXPECT_EQ(ValueOf(entry), dlsym(library, entry.Name)) << entry.Name;
    }
};

using DriverMissing = TDriverLoad;
using DriverIncomplete = TDriverLoad;
using DriverComplete = TDriverLoad;

TEST_F(DriverMissing, ProgramStartsWithNothingBound) {
    EXPECT_TRUE(StartedWithNothingBound);
}

TEST_F(DriverMissing, ReturnsQuietly) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(LoadDriverLibrary());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    EXPECT_TRUE(NothingBound());
    EXPECT_EQ(ResidentDriver(), nullptr);
}

TEST_F(DriverMissing, LeavesVariablesAsTheyWere) {
    FillWithSentinel();
    LoadDriverLibrary();
    EXPECT_FALSE(DriverLoaded);
    for (const TBoundVariable& entry : AllEntryPoints)
        EXPECT_EQ(ValueOf(entry), Sentinel) << entry.Name;
}

// ctest runs this suite inside the complete stub's folder.
TEST_F(DriverMissing, IgnoresCopyInCurrentDirectory) {
    ASSERT_TRUE(std::filesystem::exists(DriverFileName)) << "run through ctest";
    LoadDriverLibrary();
    EXPECT_FALSE(DriverLoaded);
    EXPECT_EQ(ResidentDriver(), nullptr);
}

TEST_F(DriverIncomplete, BindsWhatIsThereButDoesNotCountAsLoaded) {
    FillWithSentinel();
    LoadDriverLibrary();
    ASSERT_NE(ResidentDriver(), nullptr);
    ASSERT_EQ(dlsym(ResidentDriver(), "WDGPet"), nullptr) << "the complete stub was found";

    EXPECT_FALSE(DriverLoaded);
    EXPECT_EQ(WDGPet, nullptr);
    ExpectBoundToResidentDriver();
    int bound = 0;
    for (const TBoundVariable& entry : AllEntryPoints)
        bound += ValueOf(entry) != nullptr;
    EXPECT_EQ(bound, 32);
}

TEST_F(DriverIncomplete, LaterCallLooksEverythingUpAgain) {
    LoadDriverLibrary();
    GetNumCards = nullptr;
    RelOutPortDWord = nullptr;
    WDGPet = reinterpret_cast<TCardRequest>(Sentinel);

    LoadDriverLibrary();
    EXPECT_FALSE(DriverLoaded);
    EXPECT_NE(GetNumCards, nullptr);
    EXPECT_NE(RelOutPortDWord, nullptr);
    EXPECT_EQ(WDGPet, nullptr);
    ExpectBoundToResidentDriver();
}

TEST_F(DriverComplete, BindsEveryEntryPoint) {
    FillWithSentinel();
    LoadDriverLibrary();

    EXPECT_TRUE(DriverLoaded);
    ExpectBoundToResidentDriver();
    for (const TBoundVariable& entry : AllEntryPoints)
        EXPECT_NE(ValueOf(entry), nullptr) << entry.Name;
}

TEST_F(DriverComplete, BindingCallsNoDriverFunction) {
    LoadDriverLibrary();
    ASSERT_TRUE(DriverLoaded);
    const auto callsSoFar = StubControl<int32_t (*)()>("StubGetNumCardsCalls");
    ASSERT_NE(callsSoFar, nullptr);
    const int32_t before = callsSoFar();

    DriverLoaded = false;
    LoadDriverLibrary();
    EXPECT_EQ(callsSoFar(), before);
}

TEST_F(DriverComplete, LaterCallDoesNothing) {
    LoadDriverLibrary();
    ASSERT_TRUE(DriverLoaded);
    GetNumCards = nullptr;
    RelOutPortDWord = nullptr;

    LoadDriverLibrary();
    EXPECT_TRUE(DriverLoaded);
    EXPECT_EQ(GetNumCards, nullptr);
    EXPECT_EQ(RelOutPortDWord, nullptr);
}

class GetNumCardsThroughVariable : public TDriverLoad,
                                   public testing::WithParamInterface<int32_t> {};

TEST_P(GetNumCardsThroughVariable, ReturnsTheDriversCount) {
    LoadDriverLibrary();
    ASSERT_TRUE(DriverLoaded);
    const auto setNumCards = StubControl<void (*)(int32_t)>("StubSetNumCards");
    const auto callsSoFar = StubControl<int32_t (*)()>("StubGetNumCardsCalls");
    ASSERT_NE(setNumCards, nullptr);
    ASSERT_NE(callsSoFar, nullptr);

    setNumCards(GetParam());
    const int32_t before = callsSoFar();
    EXPECT_EQ(GetNumCards(), GetParam());
    EXPECT_EQ(callsSoFar(), before + 1);
}

INSTANTIATE_TEST_SUITE_P(DriverComplete, GetNumCardsThroughVariable, testing::Values(2, 0, -3));

} // namespace
