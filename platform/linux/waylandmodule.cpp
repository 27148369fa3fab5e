// Finding and loading the Wayland backend's module: one dlopen of one file, and one dlsym of
// its entry point. Every symbol the module needs from the program is bound when it is loaded
// (RTLD_NOW), so a module that does not fit the program says so here, in dlerror's words,
// rather than ending the program halfway through its first window.
#include "waylandmodule.h"
#include "printable.h"

#include <climits>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace waylandmodule {

namespace {

// Compiled in by platform/CMakeLists.txt: the module's file name, and the directory it is
// installed in relative to the executable's, which holds whether the tree is installed where
// CMake's prefix says or moved as a whole (CPack puts it under /usr).
const char kFileName[] = VURAZEVEDADAR_WAYLAND_MODULE;
const char kInstalledDirectory[] = VURAZEVEDADAR_WAYLAND_MODULE_DIR;

const char kCannotLoad[] = "cannot load the Wayland backend: ";

// The module loaded, until it is unloaded; null before and after.
void* s_pModule = nullptr;

// The directory of the running executable, ending in a slash; empty when the kernel does not
// say (no /proc), as a relative path would have dlopen search the library path instead.
std::string ExecutableDirectory()
{
    std::string strPath(PATH_MAX, '\0');
    const ssize_t nLength = readlink("/proc/self/exe", &strPath[0], strPath.size());
    if (nLength <= 0 || static_cast<size_t>(nLength) >= strPath.size())
        return std::string();
    strPath.resize(static_cast<size_t>(nLength));
    return strPath.substr(0, strPath.rfind('/') + 1);
}

// The installed module's directory, from the executable's (which the kernel gives with no
// symbolic link in it): each leading "../" climbs one directory, so that a message names the
// directory as a user would write it.
std::string InstalledDirectory(std::string strDirectory)
{
    const char* lpszRest = kInstalledDirectory;
    while (std::strncmp(lpszRest, "../", 3) == 0 && strDirectory.size() > 1) {
        strDirectory.pop_back();
        strDirectory.erase(strDirectory.rfind('/') + 1);
        lpszRest += 3;
    }
    return strDirectory + lpszRest + "/";
}

// A module beside the executable is the build tree's, or one unpacked by hand with the
// program: when it is there, it is the one meant, and a fault of it is reported rather than
// passed over for an installed module of another build.
std::string ModulePath(const std::string& strDirectory)
{
    const std::string strBeside = strDirectory + kFileName;
    if (access(strBeside.c_str(), F_OK) == 0)
        return strBeside;
    return InstalledDirectory(strDirectory) + kFileName;
}

}  // namespace

const portable::CBackendTable* Load(std::string* pstrError)
{
    const std::string strDirectory = ExecutableDirectory();
    if (strDirectory.empty()) {
        *pstrError = std::string(kCannotLoad) + "/proc/self/exe does not say where the program is";
        return nullptr;
    }
    const std::string strPath = ModulePath(strDirectory);
    // Kept loaded for the rest of a Wayland run: the table and the windows it makes live in it.
    void* pModule = dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (pModule == nullptr) {
        const char* lpszWhy = dlerror();
        *pstrError = kCannotLoad + portable::PrintableText(lpszWhy != nullptr ? lpszWhy
                                                                              : strPath.c_str());
        return nullptr;
    }
    using EntryPoint = const portable::CBackendTable* (*)();
    // POSIX guarantees that an object pointer from dlsym converts to a function pointer.
    const auto pfnEntryPoint = reinterpret_cast<EntryPoint>(dlsym(pModule, kEntryPoint));
    if (pfnEntryPoint == nullptr) {
        *pstrError = kCannotLoad + portable::PrintableText(strPath.c_str()) + " has no " +
                     kEntryPoint;
        dlclose(pModule);
        return nullptr;
    }
    s_pModule = pModule;
    return pfnEntryPoint();
}

void Unload()
{
    if (s_pModule != nullptr)
        dlclose(s_pModule);
    s_pModule = nullptr;
}

}  // namespace waylandmodule
