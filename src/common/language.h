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

// The interface language menus and dialogs follow: the file's choice, or where the file leaves
// it to the system (uiLanguage 0), the system's: Chinese for a Chinese locale ("zh…"), English
// for any other (menus and dialogs exist in these two languages only). `systemLocale` is the
// locale's name as the desktop gives it, e.g. "zh_CN", "en_US", "C".
int EffectiveUiLanguage(const LanguageSetting& setting, const std::string& systemLocale);
constexpr int kUiEnglish = 1033;
constexpr int kUiChinese = 2052;
// The language name whose texts a window built from the interface language shows.
inline const char* UiLanguageName(int uiLanguage) { return uiLanguage == kUiEnglish ? "English" : "Chinese"; }

// "Chinese" ↔ "English"; any other name stays as it is.
std::string SwitchedLanguageName(const std::string& languageName);

// Creates or truncates the file and writes the name's bytes. False when it could not be written.
bool WriteLanguage(const std::string& languageName, const std::string& path = kLanguageFile);

}  // namespace velorin
