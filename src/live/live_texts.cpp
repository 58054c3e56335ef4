// Live view texts in both languages (UTF-8 sources, held as GBK).
#include "live/live_texts.h"

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {

namespace {

// What both languages share.
LiveTexts MakeCommon() {
    auto g = Utf8ToGbk;
    LiveTexts t;
    t.channelLabelFormat = g("通道%d:");
    t.initialValue = "0.00";
    t.listChannelFormat = g("通道%d");
    t.listColumns[0] = g("通道");
    t.listColumns[1] = g("类型");
    t.listColumns[2] = g("单位");
    t.listColumns[3] = g("选定值");
    t.listColumns[4] = g("记录时间");
    t.missingValue = "Error";
    t.backgroundCaption = g("背景颜色");
    t.backgroundFont = g("宋体");
    t.readoutTimeFormat = g("%d年%d月%d日%.2d:%.2d:%.2d");
    return t;
}

LiveTexts MakeEnglish() {
    LiveTexts t = MakeCommon();
    t.windowTitle = "Online";
    t.noReadingSinceFormat = "No reading since %s";
    t.gaveUpFormat = "The logger gave no reading in %d polls (none since %s)";
    // The boxes are 45 pixels wide: short words.
    t.curveBox = "Line";
    t.scaleBox = "Axis";
    return t;
}

LiveTexts MakeChinese() {
    auto g = Utf8ToGbk;
    LiveTexts t = MakeCommon();
    t.windowTitle = g("在线监测");
    t.noReadingSinceFormat = g("自 %s 起无读数");
    t.gaveUpFormat = g("记录仪连续 %d 次没有读数（自 %s 起）");
    t.curveBox = g("曲线");
    t.scaleBox = g("坐标");
    return t;
}

}  // namespace

const LiveTexts& LiveTextsFor(Language language) {
    static const LiveTexts english = MakeEnglish();
    static const LiveTexts chinese = MakeChinese();
    return language == Language::English ? english : chinese;
}

}  // namespace velorin
