#include "device/kvusb_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {

std::string KvusbLibraryPath(const std::string& executableFolder) {
    const char* overridePath = std::getenv("VELORIN_KVUSB");
    if (overridePath != nullptr && *overridePath != '\0') return overridePath;
    return executableFolder + "/libkvusb.so";
}

std::string ExecutableFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

KvusbLoadResult LoadKvusb(const std::string& executableFolder, KvusbApi& api) {
    api = KvusbApi{};
    KvusbLoadResult result;
    result.path = KvusbLibraryPath(executableFolder);
    // The library stays loaded for the life of the process (its handles live that long).
    void* module = dlopen(result.path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = dlerror();
        result.status = KvusbLoadStatus::LibraryMissing;
        // Messages are GBK; the path is the file system's UTF-8.
        result.message = std::string(fixed_text::kUsbLibraryMissing) + Utf8ToGbk(result.path);
        result.detail = why != nullptr ? why : "";
        return result;
    }
    KvusbApi loaded;
    loaded.findDevice = reinterpret_cast<FindDeviceFn>(dlsym(module, "FindDevice"));
    loaded.sendHWriteData = reinterpret_cast<SendHWriteDataFn>(dlsym(module, "SendHWriteData"));
    loaded.sendHReadData = reinterpret_cast<SendHReadDataFn>(dlsym(module, "SendHReadData"));
    loaded.closeDevice = reinterpret_cast<CloseDeviceFn>(dlsym(module, "CloseDevice"));
    if (!loaded.Available()) {
        dlclose(module);
        result.status = KvusbLoadStatus::ApiMissing;
        result.message = std::string(fixed_text::kUsbApiMissing) + " (" + Utf8ToGbk(result.path) + ")";
        return result;
    }
    api = loaded;
    result.status = KvusbLoadStatus::Loaded;
    return result;
}

}  // namespace velorin
