#include "common/lock_leds.h"

#include <dirent.h>

#include <cstdio>
#include <cstring>

namespace velorin {
namespace {

bool EndsWith(const char* name, const char* suffix) {
    const size_t n = std::strlen(name), s = std::strlen(suffix);
    return n >= s && std::strcmp(name + n - s, suffix) == 0;
}

bool Lit(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (f == nullptr) return false;
    int value = 0;
    const bool read = std::fscanf(f, "%d", &value) == 1;
    std::fclose(f);
    return read && value != 0;
}

}  // namespace

LockLeds ReadLockLeds(const std::string& folder) {
    LockLeds leds;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return leds;
    while (const dirent* entry = readdir(dir)) {
        bool* target = nullptr;
        if (EndsWith(entry->d_name, "::capslock"))
            target = &leds.capsLock;
        else if (EndsWith(entry->d_name, "::numlock"))
            target = &leds.numLock;
        else if (EndsWith(entry->d_name, "::scrolllock"))
            target = &leds.scrollLock;
        if (target == nullptr) continue;
        leds.found = true;
        if (Lit(folder + "/" + entry->d_name + "/brightness")) *target = true;
    }
    closedir(dir);
    return leds;
}

}  // namespace velorin
