// The curve view's texts in both languages (UTF-8).
#include "view/curve_texts.h"

#include "common/language.h"

namespace velorin {

namespace {

void SetShared(CurveTexts& t) {
    t.readoutTime = "时间: ";
    t.readoutChannel = "通道%d(%s): ";
    t.error = "Error";
    t.chooserCaption = "Dialog";
    t.from = "from";
    t.to = "to";
    t.ok = "OK";
    t.cancel = "Cancel";
}

CurveTexts MakeEnglish() {
    CurveTexts t;
    SetShared(t);
    t.channelBox = "CH%d";
    t.coordinate = "Coordinate";
    t.amplification = "Amplification";
    t.returnButton = "Return";
    t.range = "Range";
    t.compression = "Compression";
    t.printCurve = "Print Curve";
    t.printList = "Print List";
    t.serialHint = "(Please enter the range of serial numbers for which data needs to be printed)";
    return t;
}

CurveTexts MakeChinese() {
    CurveTexts t;
    SetShared(t);
    t.channelBox = "通道%d";
    t.coordinate = "坐标";
    t.amplification = "曲线放大";
    t.returnButton = "返回曲线";
    t.range = "曲线范围";
    t.compression = "曲线压缩";
    t.printCurve = "打印曲线";
    t.printList = "打印列表";
    t.serialHint = "（请输入需要打印数据的序号范围）";
    return t;
}

}  // namespace

const CurveTexts& CurveTextsFor(Language language) {
    static const CurveTexts english = MakeEnglish();
    static const CurveTexts chinese = MakeChinese();
    return language == Language::English ? english : chinese;
}

}  // namespace velorin
