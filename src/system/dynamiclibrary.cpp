#include "system/dynamiclibrary.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

#ifdef _WIN32
// A drive prefix such as "C:name.dll" is relative to that drive's current folder.
constexpr const char* PathCharacters = "/\\:";
#else
constexpr const char* PathCharacters = "/";
#endif

} // namespace

// Windows: LoadLibrary with a bare name also looks in the current directory, which may be
// a folder an attacker controls (a document folder, a download folder). Restricting the
// search to the default directories drops it, while the application folder and System32
// are still searched, so an installed driver keeps being found.
// Linux: the dynamic loader never looks up a bare name in the current directory. The
// remaining risks are an RPATH/RUNPATH in our binary (the build installs without one) and
// an empty entry in LD_LIBRARY_PATH, which is the user's own choice; nothing to do here.
void TDynamicLibrary::HardenLibrarySearch() {
#ifdef _WIN32
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
#endif
}

std::string TDynamicLibrary::SharedLibraryFileName(std::string_view baseName) {
#ifdef _WIN32
    return std::string(baseName) + ".dll";
#else
    return "lib" + std::string(baseName) + ".so";
#endif
}

bool TDynamicLibrary::IsBareName(const char* fileName) {
    return fileName != nullptr && *fileName != '\0' &&
           std::strpbrk(fileName, PathCharacters) == nullptr;
}

void* TDynamicLibrary::LoadByBareName(const char* fileName) {
    if (!IsBareName(fileName)) return nullptr;
#ifdef _WIN32
    return LoadLibraryA(fileName);
#else
    return dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
#endif
}

void* TDynamicLibrary::FindSymbol(void* handle, const char* name) {
    if (handle == nullptr || name == nullptr) return nullptr;
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
    return dlsym(handle, name);
#endif
}
