#include "VlcModules.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// libVLC reads the folders of extra modules when its first instance starts. The
// environment is changed while the program is still on one thread, before main.
bool addOwnModules()
{
    const std::string folder = ZELFOR_VLC_MODULE_DIR;
    std::error_code error;
    if (!std::filesystem::is_regular_file(folder + "/" ZELFOR_VLC_MANIFEST_GUARD, error))
        return false;
    const char *paths = std::getenv("VLC_PLUGIN_PATH");
    const std::string joined = paths && *paths ? std::string(paths) + ":" + folder : folder;
    return setenv("VLC_PLUGIN_PATH", joined.c_str(), 1) == 0;
}

const bool kAdded = addOwnModules();

}

bool ownVlcModulesAdded()
{
    return kAdded;
}
