#pragma once

#include <string>
#include <string_view>

// Loads shared libraries that are found through the platform's own search order only.
// Names with a directory part are refused, so no caller can make us pick up a library
// from a folder that happens to be writable or current.
class TDynamicLibrary {
  public:
    // Call once at program start, before any library is loaded.
    static void HardenLibrarySearch();

    // "libNAME.so" on Linux, "NAME.dll" on Windows.
    static std::string SharedLibraryFileName(std::string_view baseName);

    // True for a non-empty name without any path separator (or drive prefix on Windows).
    static bool IsBareName(const char* fileName);

    // Returns an opaque handle, or nullptr if the name is not bare or nothing was found.
    // The handle stays valid for the life of the process: there is no matching unload.
    static void* LoadByBareName(const char* fileName);

    // Returns the address of an exported symbol, or nullptr.
    static void* FindSymbol(void* handle, const char* name);
};
