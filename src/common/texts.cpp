#include "common/texts.h"

#include "common/language.h"

namespace velorin {

const Texts& EnglishTexts();
const Texts& ChineseTexts();

const FixedTexts& Fixed() {
    static const FixedTexts texts = [] {
        FixedTexts t;
        t.stopQuestion = "您确定要停止记录吗？";
        t.stopTitle = "停止记录";
        t.stopFailed = "无法停止记录";
        t.closeQuestion = "您确定要关闭吗？请确认数据已保存！";
        t.closeTitle = "关闭";
        t.historyCountFailed = "历史数据下载失败了!";
        t.historyBlockFailed = "历史数据下载失败!";
        t.kvExtensionRefused = "  您执行了非法操作,\n\n请选择扩展名为(.kv)的文件进行操作";
        t.downloading = "正在下载数据，请稍候";
        t.downloadChooseButton = "请点击按钮“OK”或“取消”";
        t.downloadShowing = "正在显示数据，请稍候……";
        t.downloadSaveFilter = "数据记录仪文件(*.kv)";
        return t;
    }();
    return texts;
}

const Texts& TextsFor(Language language) { return language == Language::English ? EnglishTexts() : ChineseTexts(); }

}  // namespace velorin
