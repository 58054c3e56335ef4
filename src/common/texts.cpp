#include "common/texts.h"

#include "common/text_codec.h"

namespace velorin {

const Texts& EnglishTexts();
const Texts& ChineseTexts();

const FixedTexts& Fixed() {
    static const FixedTexts texts = [] {
        FixedTexts t;
        t.stopQuestion = Utf8ToGbk("您确定要停止记录吗？");
        t.stopTitle = Utf8ToGbk("停止记录");
        t.stopFailed = Utf8ToGbk("无法停止记录");
        t.closeQuestion = Utf8ToGbk("您确定要关闭吗？请确认数据已保存！");
        t.closeTitle = Utf8ToGbk("关闭");
        return t;
    }();
    return texts;
}

bool IsEnglish(const std::string& languageName) { return languageName == "English"; }

const Texts& TextsFor(const std::string& languageName) {
    return IsEnglish(languageName) ? EnglishTexts() : ChineseTexts();
}

}  // namespace velorin
