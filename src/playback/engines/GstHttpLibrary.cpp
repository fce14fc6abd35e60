#include "GstHttpLibrary.h"

#include <dlfcn.h>

namespace {

constexpr const char *kLibsoup2 = "libsoup-2.4.so.1";
constexpr const char *kLibsoup3 = "libsoup-3.0.so.0";

bool isLoaded(const char *library)
{
    void *handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

}

bool loadSafeHttpLibrary()
{
    // Kept loaded for the whole run: the HTTP source holds on to it.
    static const bool onLibsoup2 = !isLoaded(kLibsoup3)
        && dlopen(kLibsoup2, RTLD_LAZY | RTLD_LOCAL) != nullptr;
    return onLibsoup2;
}
