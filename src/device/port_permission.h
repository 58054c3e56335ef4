// Why a serial port could not be opened, in words a user can act on.
#pragma once

#include <string>

namespace velorin {

// When `openError` is a permission error (EACCES/EPERM), the group that owns `devicePath`
// (usually "dialout"); empty otherwise or when the device cannot be inspected.
std::string GroupToJoin(const std::string& devicePath, int openError);

// The status text for a refused port in the given language (GBK); empty when the error was not
// a permission error.
std::string PortPermissionHint(const std::string& devicePath, int openError,
                               const std::string& languageName);

}  // namespace velorin
