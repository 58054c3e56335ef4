// Run-time loading of the USB access library (libkvusb.so beside the executable, or the file
// named by $VELORIN_KVUSB).
#pragma once

#include <string>

#include "kvusb.h"

namespace velorin {

// The library's entry points. All empty when the library is missing or incomplete: then the
// USB link is unavailable and nothing ever calls into it.
struct KvusbApi {
    FindDeviceFn findDevice = nullptr;
    SendHWriteDataFn sendHWriteData = nullptr;
    SendHReadDataFn sendHReadData = nullptr;
    CloseDeviceFn closeDevice = nullptr;  // optional
    bool Available() const { return findDevice && sendHWriteData && sendHReadData; }
};

enum class KvusbLoadStatus { Loaded, LibraryMissing, ApiMissing };

struct KvusbLoadResult {
    KvusbLoadStatus status = KvusbLoadStatus::LibraryMissing;
    std::string path;     // the file actually tried
    std::string message;  // what to tell the user (GBK, like every message); empty when loaded
    std::string detail;   // the loader's own explanation (dlerror), for diagnostics
};

// The file to load: $VELORIN_KVUSB when set and not empty, else `executableFolder`/libkvusb.so.
std::string KvusbLibraryPath(const std::string& executableFolder);

// Loads the library and resolves FindDevice, SendHWriteData, SendHReadData (and CloseDevice
// when present). On any failure `api` is left empty and the library is unloaded again.
KvusbLoadResult LoadKvusb(const std::string& executableFolder, KvusbApi& api);

// Folder of the running executable (from /proc/self/exe), without trailing slash.
std::string ExecutableFolder();

}  // namespace velorin
