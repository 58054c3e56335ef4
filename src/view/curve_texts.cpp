// The curve view's texts in both languages (UTF-8 sources, held as GBK).
#include "view/curve_texts.h"

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {

namespace {

void SetShared(CurveTexts& t) {
    t.readoutTime = Utf8ToGbk("时间: ");
    t.readoutChannel = Utf8ToGbk("通道%d(%s): ");
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
    auto g = Utf8ToGbk;
    CurveTexts t;
    SetShared(t);
    t.channelBox = g("通道%d");
    t.coordinate = g("坐标");
    t.amplification = g("曲线放大");
    t.returnButton = g("返回曲线");
    t.range = g("曲线范围");
    t.compression = g("曲线压缩");
    t.printCurve = g("打印曲线");
    t.printList = g("打印列表");
    t.serialHint = g("（请输入需要打印数据的序号范围）");
    return t;
}

}  // namespace

const CurveTexts& CurveTextsFor(Language language) {
    static const CurveTexts english = MakeEnglish();
    static const CurveTexts chinese = MakeChinese();
    return language == Language::English ? english : chinese;
}

}  // namespace velorin
