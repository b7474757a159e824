// ctest runs this suite with the complete stub's folder on LD_LIBRARY_PATH.

#include "system/dynamiclibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

constexpr const char* DriverFileName = "libZTXWDM.so";

TEST(DynamicLibrary, NamesSharedLibrariesThePlatformWay) {
    EXPECT_EQ(TDynamicLibrary::SharedLibraryFileName("ZTXWDM"), DriverFileName);
}

TEST(DynamicLibrary, TellsBareNamesFromPaths) {
    const struct {
        const char* Name;
        bool Bare;
    } cases[] = {
        {"libZTXWDM.so", true},
        {"lib.with.dots.so", true},
        {"dir/libZTXWDM.so", false},
        {"/libZTXWDM.so", false},
        {"./libZTXWDM.so", false},
        {"libZTXWDM.so/", false},
        {"", false},
        {nullptr, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TDynamicLibrary::IsBareName(c.Name), c.Bare) << (c.Name ? c.Name : "nullptr");
}

// Every path given here names a file that exists and would load, so a refusal is the only
// way to get nullptr back.
TEST(DynamicLibrary, RefusesExistingLibraryGivenWithADirectory) {
    const std::filesystem::path absolute = DRIVER_STUB_COMPLETE_PATH;
    ASSERT_TRUE(std::filesystem::exists(absolute));
    const std::filesystem::path relative = std::filesystem::relative(absolute);
    const std::string paths[] = {absolute.string(), relative.string(), "./" + relative.string()};

    for (const std::string& path : paths)
        EXPECT_EQ(TDynamicLibrary::LoadByBareName(path.c_str()), nullptr) << path;
}

TEST(DynamicLibrary, RefusesEmptyName) {
    EXPECT_EQ(TDynamicLibrary::LoadByBareName(""), nullptr);
    EXPECT_EQ(TDynamicLibrary::LoadByBareName(nullptr), nullptr);
}

TEST(DynamicLibrary, FindsLibraryOnSearchPathAfterHardening) {
    TDynamicLibrary::HardenLibrarySearch();
    void* library = TDynamicLibrary::LoadByBareName(DriverFileName);
    ASSERT_NE(library, nullptr) << "run through ctest";

    EXPECT_NE(TDynamicLibrary::FindSymbol(library, "GetNumCards"), nullptr);
    EXPECT_EQ(TDynamicLibrary::FindSymbol(library, "NoSuchExport"), nullptr);
    EXPECT_EQ(TDynamicLibrary::FindSymbol(library, nullptr), nullptr);
}

// A null handle must not fall through to a search of the whole process.
TEST(DynamicLibrary, NullHandleFindsNothing) {
    EXPECT_EQ(TDynamicLibrary::FindSymbol(nullptr, "malloc"), nullptr);
}

} // namespace
