// The interface language: the file "Language.ini" in the working directory holds exactly the
// language name ("English" or "Chinese", seven bytes, no line break, no key).
#pragma once

#include <string>

namespace velorin {

constexpr const char* kLanguageFile = "Language.ini";

struct LanguageSetting {
    std::string languageName;  // the file's content; "Chinese" when there is no file
    // Interface language the menus and dialogs follow: 1033 English, 2052 Chinese, 0 = left as
    // the system set it (unreadable file or other content).
    int uiLanguage = 0;
};

// Reads `path` (default: Language.ini in the working directory).
LanguageSetting ReadLanguage(const std::string& path = kLanguageFile);

// "Chinese" ↔ "English"; any other name stays as it is.
std::string SwitchedLanguageName(const std::string& languageName);

// Creates or truncates the file and writes the name's bytes. False when it could not be written.
bool WriteLanguage(const std::string& languageName, const std::string& path = kLanguageFile);

}  // namespace velorin
