// Writing a file so that a failed or interrupted write never destroys the file it replaces:
// the bytes go to a temporary file in the same folder, which is renamed over the target only
// when it is complete. The replacement keeps the replaced file's mode, and its owner and group
// where the user may set them.
#pragma once

#include <cstdio>
#include <string>

namespace velorin {

// The temporary name used beside `targetPath`: the target's name, cut (at a character boundary)
// so that the name with ".tmp-" and `randomPart` still fits the folder's longest name.
std::string TemporaryNameFor(const std::string& targetPath, const std::string& randomPart);

class AtomicFile {
public:
    explicit AtomicFile(std::string targetPath);
    ~AtomicFile();  // discards the temporary file unless Commit() succeeded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    bool Write(const void* bytes, size_t count);
    bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
    // Flushes, syncs and renames over the target. False (target untouched) on any failure.
    bool Commit();

private:
    std::string target_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// Whether an AtomicFile could replace `path` now: the folder takes a new file (tried by creating
// and removing a temporary file beside the target) and `path` is not a folder. Lets a command
// refuse before long work whose result could not be stored. `detail`: the system's reason.
struct WriteCheck {
    bool ok = false;
    std::string detail;
};
WriteCheck CheckReplaceable(const std::string& path);

// Writes `bytes` as the whole content of `path` through an AtomicFile.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace velorin
