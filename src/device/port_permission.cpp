// Threading: plain functions without shared state; callable from any thread (getgrgid_r).
#include "device/port_permission.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "common/format.h"
#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {

namespace {

// Upper bound for the group record buffer: a group with thousands of members needs more than the
// usual few kilobytes, but nothing legitimate needs more than this.
constexpr size_t kMaxGroupBuffer = 1 << 20;

std::string GroupName(gid_t gid) {
    const long suggested = sysconf(_SC_GETGR_R_SIZE_MAX);
    size_t size = suggested > 0 ? static_cast<size_t>(suggested) : 4096;
    while (size <= kMaxGroupBuffer) {
        std::vector<char> buffer(size);
        group entry{};
        group* found = nullptr;
        const int rc = getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found);
        if (rc == ERANGE) {
            size *= 2;
            continue;
        }
        if (rc != 0 || found == nullptr || found->gr_name == nullptr) return std::string();
        return found->gr_name;
    }
    return std::string();
}

// Whether the calling process already holds `gid` (then joining it cannot be the remedy).
bool ProcessHasGroup(gid_t gid) {
    if (getegid() == gid) return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int n = getgroups(count, groups.data());
    for (int i = 0; i < n; ++i) {
        if (groups[static_cast<size_t>(i)] == gid) return true;
    }
    return false;
}

}  // namespace

std::string GroupToJoin(const std::string& devicePath, int openError) {
    if (openError != EACCES && openError != EPERM) return std::string();
    struct stat st {};
    // stat follows the COM<N> link to the device itself.
    if (devicePath.empty() || stat(devicePath.c_str(), &st) != 0) return std::string();
    // Joining helps only when the group may read and write the device, the group is not root,
    // and the process does not hold that group already.
    if (st.st_gid == 0) return std::string();
    if ((st.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) return std::string();
    if (ProcessHasGroup(st.st_gid)) return std::string();
    return GroupName(st.st_gid);
}

std::string PortPermissionHint(const std::string& devicePath, int openError, Language language) {
    const std::string group = GroupToJoin(devicePath, openError);
    if (group.empty()) return std::string();
    // File and group names are UTF-8 like the texts; the message is GBK like every message.
    return Utf8ToGbk(
        FormatC(TextsFor(language).portPermissionFormat.c_str(), devicePath.c_str(), group.c_str(), group.c_str()));
}

std::string PortOpenProblem(const std::string& devicePath, int port, int openError, Language language) {
    if (openError == 0) return std::string();
    const Texts& t = TextsFor(language);
    // Formatted in UTF-8 (the texts, the path, the system's error text), returned in GBK.
    const std::string path = devicePath.empty() ? FormatC("COM%d", port) : devicePath;
    switch (openError) {
        case ENOENT:
        case ENXIO:
        case ENODEV: return Utf8ToGbk(FormatC(t.portMissingFormat.c_str(), port, path.c_str()));
        case ENOTTY: return Utf8ToGbk(FormatC(t.portNotSerialFormat.c_str(), path.c_str(), port));
        case EACCES:
        case EPERM: {
            const std::string hint = PortPermissionHint(devicePath, openError, language);
            return hint.empty() ? Utf8ToGbk(FormatC(t.portNoPermissionFormat.c_str(), path.c_str())) : hint;
        }
        case EBUSY: return Utf8ToGbk(FormatC(t.portBusyFormat.c_str(), path.c_str()));
        default: return Utf8ToGbk(FormatC(t.portOpenFailedFormat.c_str(), path.c_str(), std::strerror(openError)));
    }
}

}  // namespace velorin
