// Where the Help command finds the user manual: an HTML manual per language under
// <prefix>/share/doc/velorin/manual/, found from the program's own folder (<prefix>/bin), so
// the installed program and the one in the build folder (which holds a copy) both find theirs.
#pragma once

#include <string>

namespace velorin {

enum class Language;

// "<executableFolder>/../share/doc/velorin/manual", without the "..".
std::string ManualFolder(const std::string& executableFolder);

// The manual of the interface language in `manualFolder`: the text table's help file name
// ("en/index.html" in English, "zh/index.html" in Chinese) below it, without "." or "..".
std::string ManualPath(const std::string& manualFolder, Language language);

}  // namespace velorin
