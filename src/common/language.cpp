#include "common/language.h"

#include "common/atomic_file.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace velorin {

namespace {
// Nobody writes a language file this long; reading stops there so a stray large file is harmless.
constexpr std::streamsize kMaxLanguageFileBytes = 4096;
}  // namespace

Language LanguageFromName(const std::string& languageName) {
    return languageName == "English" ? Language::English : Language::Chinese;
}

LanguageSetting ReadLanguage(const std::string& path) {
    LanguageSetting setting;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        setting.languageName = "Chinese";
        setting.uiLanguage = kUiChinese;
        return setting;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return setting;  // exists but unreadable: empty name, Chinese texts
    std::string content(static_cast<size_t>(kMaxLanguageFileBytes), '\0');
    in.read(&content[0], kMaxLanguageFileBytes);
    content.resize(static_cast<size_t>(in.gcount()));
    setting.languageName = content;
    setting.language = LanguageFromName(content);
    if (content == "English")
        setting.uiLanguage = kUiEnglish;
    else if (content == "Chinese")
        setting.uiLanguage = kUiChinese;
    return setting;
}

int EffectiveUiLanguage(const LanguageSetting& setting, const std::string& systemLocale) {
    if (setting.uiLanguage != 0) return setting.uiLanguage;
    return systemLocale.compare(0, 2, "zh") == 0 ? kUiChinese : kUiEnglish;
}

std::string SwitchedLanguageName(const std::string& languageName) {
    if (languageName == "Chinese") return "English";
    if (languageName == "English") return "Chinese";
    return languageName;
}

bool WriteLanguage(const std::string& languageName, const std::string& path) {
    return WriteFileAtomically(path, languageName);
}

}  // namespace velorin
