// The comparison window's texts in both languages (UTF-8).
#include "analysis/compare_texts.h"

#include "common/language.h"

namespace velorin {

namespace {

CompareTexts MakeEnglish() {
    CompareTexts t;
    t.command = "Compare…";
    t.windowTitle = "Comparison";
    t.chooserTitle = "Compare data files";
    t.chooserHint = "Choose two or more data files (at most 32):";
    t.openWindows = "Open data windows";
    t.addFiles = "Add files...";
    t.remove = "Remove";
    t.compare = "Compare";
    t.cancel = "Cancel";
    t.fileFilter = "Data files (*.kv)";
    t.pan = "Pan";
    t.cursorHint = "Click: cursor 1, right click: cursor 2";
    t.clearCursors = "Clear cursors";
    t.curvesTab = "Curves";
    t.statisticsTab = "Statistics";
    t.columnFile = "File";
    t.columnChannel = "Channel";
    t.columnPointer = "At pointer";
    t.columnCursor1 = "Cursor 1";
    t.columnCursor2 = "Cursor 2";
    t.columnDelta = "Δ";
    t.channelLabel = "CH%d %s (%s)";
    t.pointerAt = "Pointer: %s";
    t.cursorAt = "Cursor %d: %s";
    t.deltaTime = "Δt: %s";
    t.noRecord = "-";
    t.missing = "Error";
    t.statsRange = "Shown range: %s to %s";
    t.unreadable = "%s could not be read: %s";
    t.tooMany = "At most 32 data files can be compared at once.";
    t.tooFew = "Choose at least two data files to compare.";
    return t;
}

CompareTexts MakeChinese() {
    CompareTexts t;
    t.command = "多文件对比…";
    t.windowTitle = "多文件对比";
    t.chooserTitle = "对比数据文件";
    t.chooserHint = "请选择两个或更多数据文件（最多32个）：";
    t.openWindows = "已打开的数据窗口";
    t.addFiles = "添加文件...";
    t.remove = "移除";
    t.compare = "对比";
    t.cancel = "取消";
    t.fileFilter = "数据文件 (*.kv)";
    t.pan = "平移";
    t.cursorHint = "单击：游标1，右击：游标2";
    t.clearCursors = "清除游标";
    t.curvesTab = "曲线";
    t.statisticsTab = "统计";
    t.columnFile = "文件";
    t.columnChannel = "通道";
    t.columnPointer = "指针处";
    t.columnCursor1 = "游标1";
    t.columnCursor2 = "游标2";
    t.columnDelta = "Δ";
    t.channelLabel = "通道%d %s (%s)";
    t.pointerAt = "指针：%s";
    t.cursorAt = "游标%d：%s";
    t.deltaTime = "Δt：%s";
    t.noRecord = "-";
    t.missing = "Error";
    t.statsRange = "显示范围：%s 至 %s";
    t.unreadable = "无法读取 %s：%s";
    t.tooMany = "一次最多可对比32个数据文件。";
    t.tooFew = "请至少选择两个数据文件进行对比。";
    return t;
}

}  // namespace

const CompareTexts& CompareTextsFor(Language language) {
    static const CompareTexts english = MakeEnglish();
    static const CompareTexts chinese = MakeChinese();
    return language == Language::English ? english : chinese;
}

}  // namespace velorin
