#include "common/manual_path.h"

#include <filesystem>

#include "common/texts.h"

namespace velorin {

std::string ManualFolder(const std::string& executableFolder) {
    return (std::filesystem::path(executableFolder) / ".." / "share" / "doc" / "velorin" / "manual")
        .lexically_normal()
        .string();
}

std::string ManualPath(const std::string& manualFolder, Language language) {
    // The file names are ASCII, the same bytes in GBK and UTF-8.
    return (std::filesystem::path(manualFolder) / TextsFor(language).helpFile).lexically_normal().string();
}

}  // namespace velorin
