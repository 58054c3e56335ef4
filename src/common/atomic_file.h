// Writing a file so that a failed or interrupted write never destroys the file it replaces:
// the bytes go to a temporary file in the same folder, which is renamed over the target only
// when it is complete.
#pragma once

#include <cstdio>
#include <string>

namespace velorin {

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

// Writes `bytes` as the whole content of `path` through an AtomicFile.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace velorin
