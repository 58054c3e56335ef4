// The program's version: the one number of the build (CMake's project version), shown by
// `velorin --version`, `velorin-cli --version` and the About box, and carried by the package.
#pragma once

namespace velorin {

// "MAJOR.MINOR.PATCH".
const char* ProgramVersion();

}  // namespace velorin
