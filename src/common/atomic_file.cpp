#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace velorin {

AtomicFile::AtomicFile(std::string targetPath) : target_(std::move(targetPath)) {
    std::vector<char> name(target_.begin(), target_.end());
    const std::string suffix = ".tmp-XXXXXX";
    name.insert(name.end(), suffix.begin(), suffix.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) return;
    temporary_ = name.data();
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
        ::close(fd);
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

AtomicFile::~AtomicFile() {
    if (file_ != nullptr) std::fclose(file_);
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool AtomicFile::Write(const void* bytes, size_t count) {
    if (file_ == nullptr || failed_) return false;
    if (count > 0 && std::fwrite(bytes, 1, count, file_) != count) failed_ = true;
    return !failed_;
}

bool AtomicFile::Commit() {
    if (file_ == nullptr || failed_) return false;
    bool ok = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    // Keep the permissions an ordinary new file would get (mkstemp creates 0600).
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fileno(file_), 0666 & ~mask);
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    if (!ok || std::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    temporary_.clear();
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    AtomicFile file(path);
    return file.Write(bytes) && file.Commit();
}

}  // namespace velorin
