#include "common/texts.h"

namespace velorin {

const Texts& EnglishTexts();
const Texts& ChineseTexts();

bool IsEnglish(const std::string& languageName) { return languageName == "English"; }

const Texts& TextsFor(const std::string& languageName) {
    return IsEnglish(languageName) ? EnglishTexts() : ChineseTexts();
}

}  // namespace velorin
