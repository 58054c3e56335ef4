#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

namespace velorin {

namespace {

// Appended to the target's own name; six random letters and digits make it unique.
constexpr char kTemporaryMark[] = ".tmp-";
constexpr size_t kRandomChars = 6;
constexpr int kNameAttempts = 64;

// Longest name one folder entry may have (NAME_MAX on Linux file systems).
size_t LongestName(const std::string& folder) {
    const long max = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return max > 0 ? static_cast<size_t>(max) : static_cast<size_t>(NAME_MAX);
}

// Bytes of `name` that may stay so that `keep` bytes fit: cut before a UTF-8 continuation byte,
// so the temporary name never ends in half a character.
size_t CutName(const std::string& name, size_t keep) {
    if (name.size() <= keep) return name.size();
    size_t n = keep;
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
    return n;
}

}  // namespace

std::string TemporaryNameFor(const std::string& targetPath, const std::string& randomPart) {
    const size_t slash = targetPath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : targetPath.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? targetPath : targetPath.substr(slash + 1);
    const size_t extra = sizeof kTemporaryMark - 1 + randomPart.size();
    const size_t longest = LongestName(folder);
    const size_t room = longest > extra ? longest - extra : 0;
    return folder + base.substr(0, CutName(base, room)) + kTemporaryMark + randomPart;
}

AtomicFile::AtomicFile(std::string targetPath) : target_(std::move(targetPath)) {
    // The replaced file's mode and owner are taken over; a new file gets what open() gives an
    // ordinary new file (0666 less the umask), without touching the process's umask.
    struct stat old {};
    const bool replacing = ::stat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    std::random_device seed;
    std::mt19937 random(seed());
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        std::string randomPart;
        for (size_t i = 0; i < kRandomChars; ++i) randomPart += kAlphabet[pick(random)];
        temporary_ = TemporaryNameFor(target_, randomPart);
        fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        temporary_.clear();
        return;
    }
    if (replacing) {
        // Owner first: a change of owner clears the set-id bits, which the mode then restores.
        // Another user's file cannot be given away by an ordinary user; its group may still be
        // kept when the user belongs to it. Both failures leave the file as the user's own.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        (void)::fchmod(fd, old.st_mode & 07777);
    }
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
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    if (!ok || std::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    temporary_.clear();
    return true;
}

WriteCheck CheckReplaceable(const std::string& path) {
    WriteCheck check;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        check.detail = std::strerror(EISDIR);
        return check;
    }
    errno = 0;
    AtomicFile probe(path);  // discarded unwritten by its destructor
    check.ok = probe.IsOpen();
    if (!check.ok) check.detail = std::strerror(errno != 0 ? errno : EACCES);
    return check;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    AtomicFile file(path);
    return file.Write(bytes) && file.Commit();
}

}  // namespace velorin
