// Live view texts in both languages (UTF-8).
#include "live/live_texts.h"

#include "common/language.h"

namespace velorin {

namespace {

// What both languages share.
LiveTexts MakeCommon() {
    LiveTexts t;
    t.channelLabelFormat = "通道%d:";
    t.initialValue = "0.00";
    t.listChannelFormat = "通道%d";
    t.listColumns[0] = "通道";
    t.listColumns[1] = "类型";
    t.listColumns[2] = "单位";
    t.listColumns[3] = "选定值";
    t.listColumns[4] = "记录时间";
    t.missingValue = "Error";
    t.backgroundCaption = "背景颜色";
    t.backgroundFont = "宋体";
    t.readoutTimeFormat = "%d年%d月%d日%.2d:%.2d:%.2d";
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
    LiveTexts t = MakeCommon();
    t.windowTitle = "在线监测";
    t.noReadingSinceFormat = "自 %s 起无读数";
    t.gaveUpFormat = "记录仪连续 %d 次没有读数（自 %s 起）";
    t.curveBox = "曲线";
    t.scaleBox = "坐标";
    return t;
}

}  // namespace

const LiveTexts& LiveTextsFor(Language language) {
    static const LiveTexts english = MakeEnglish();
    static const LiveTexts chinese = MakeChinese();
    return language == Language::English ? english : chinese;
}

}  // namespace velorin
