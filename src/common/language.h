// The interface language: the file "Language.ini" in the working directory holds exactly the
// language name ("English" or "Chinese", seven bytes, no line break, no key).
//
// The name is turned into a Language once, where the file is read; everything that shows or
// writes texts takes that value. The name itself is kept only to switch and rewrite the file.
#pragma once

#include <string>

namespace velorin {

constexpr const char* kLanguageFile = "Language.ini";

// The language of every bilingual text. Headers that only pass it on may forward-declare it as
// `enum class Language;` (the underlying type stays the default int for that reason).
enum class Language { English, Chinese };

// English exactly when `languageName` is "English" byte for byte; anything else ("english",
// "English\n", an empty name from an unreadable file) is Chinese.
Language LanguageFromName(const std::string& languageName);

struct LanguageSetting {
    std::string languageName;               // the file's content; "Chinese" when there is no file
    Language language = Language::Chinese;  // LanguageFromName(languageName)
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
// The language whose texts a window built from the interface language (menus, the About box)
// shows: English for kUiEnglish, Chinese otherwise.
inline Language UiTextLanguage(int uiLanguage) {
    return uiLanguage == kUiEnglish ? Language::English : Language::Chinese;
}

// "Chinese" ↔ "English"; any other name stays as it is.
std::string SwitchedLanguageName(const std::string& languageName);

// Creates or truncates the file and writes the name's bytes. False when it could not be written.
bool WriteLanguage(const std::string& languageName, const std::string& path = kLanguageFile);

}  // namespace velorin
