#include "pty_port.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace velorin::sim {

namespace {
std::string Errno(const char* what) { return std::string(what) + ": " + std::strerror(errno); }
}  // namespace

bool MakeFolders(const std::string& path) {
    if (path.empty()) return false;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

PtyPort::~PtyPort() { Close(); }

bool PtyPort::Open(std::string* error) {
    Close();
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) {
        *error = Errno("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
        *error = Errno("pseudo-terminal setup");
        Close();
        return false;
    }
    slavePath_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (slave_ < 0) {
        *error = Errno("open slave");
        Close();
        return false;
    }
    // No echo, no line editing, no translation: the line carries binary frames.
    struct termios tio {};
    if (tcgetattr(master_, &tio) == 0) {
        cfmakeraw(&tio);
        cfsetispeed(&tio, B115200);
        cfsetospeed(&tio, B115200);
        tcsetattr(master_, TCSANOW, &tio);
    }
    const int flags = fcntl(master_, F_GETFL);
    fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    return true;
}

bool PtyPort::Link(const std::string& linkPath, std::string* error) {
    const size_t slash = linkPath.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(linkPath.substr(0, slash))) {
        *error = Errno(("cannot create folder for " + linkPath).c_str());
        return false;
    }
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            *error = linkPath + " exists and is not a symlink";
            return false;
        }
    }
    // Build the new link beside the old one and rename it over: the name never disappears.
    const std::string temp = linkPath + ".tmp" + std::to_string(getpid());
    unlink(temp.c_str());
    if (symlink(slavePath_.c_str(), temp.c_str()) != 0 || rename(temp.c_str(), linkPath.c_str()) != 0) {
        *error = Errno(("cannot create link " + linkPath).c_str());
        unlink(temp.c_str());
        return false;
    }
    linkPath_ = linkPath;
    return true;
}

void PtyPort::Close() {
    if (!linkPath_.empty()) {
        char target[256] = {};
        const ssize_t n = readlink(linkPath_.c_str(), target, sizeof target - 1);
        // Another simulator may have taken the name over since; leave its link alone.
        if (n > 0 && slavePath_ == std::string(target, static_cast<size_t>(n))) unlink(linkPath_.c_str());
        linkPath_.clear();
    }
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
    slave_ = master_ = -1;
}

}  // namespace velorin::sim
