// Why a serial port could not be opened, in words a user can act on.
#pragma once

#include <string>

namespace velorin {

enum class Language;

// When `openError` is a permission error (EACCES/EPERM), the group that owns `devicePath`
// (usually "dialout"); the COM<N> link is followed to the device. Empty otherwise, when the
// device cannot be inspected, and whenever joining the group would not help: the group is root,
// it lacks read and write permission on the device, or the process holds it already.
std::string GroupToJoin(const std::string& devicePath, int openError);

// The status text for a refused port in the given language (GBK); empty when GroupToJoin is
// empty, so that the caller shows its general error instead.
std::string PortPermissionHint(const std::string& devicePath, int openError, Language language);

// What went wrong opening port `port` at `devicePath` (empty: the number names no device), in the
// given language (GBK): no such port (ENOENT, ENXIO, ENODEV), not a serial device (ENOTTY), no
// permission (EACCES, EPERM; with the group to join when joining would help), in use (EBUSY),
// otherwise the system's text. Empty for `openError` 0.
std::string PortOpenProblem(const std::string& devicePath, int port, int openError, Language language);

}  // namespace velorin
