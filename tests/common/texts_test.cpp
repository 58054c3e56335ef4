// The text tables hold UTF-8. Where a text becomes bytes the logger or another program reads —
// a label stored in DeviceInfo, a panel line joined with the logger's fields, a message — it
// must still be exactly the GBK it always was (the bytes below are written out, not converted).
#include <gtest/gtest.h>

#include <string>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {
namespace {

TEST(TextTables, ChineseTextsBecomeTheGbkBytesTheyAlwaysWere) {
    const Texts& t = TextsFor(Language::Chinese);
    EXPECT_EQ(Utf8ToGbk(t.startModeLabel[1]), "\xB6\xA8\xCA\xB1\xC6\xF4\xB6\xAF");  // stored in DeviceInfo
    EXPECT_EQ(Utf8ToGbk(t.workStateStopped), "\xCD\xA3\xD6\xB9\xD7\xB4\xCC\xAC");
    EXPECT_EQ(Utf8ToGbk(t.userName), "\xD3\xC3 \xBB\xA7 \xC3\xFB\xA3\xBA");  // full-width colon
    EXPECT_EQ(Utf8ToGbk(Fixed().stopQuestion),
              "\xC4\xFA\xC8\xB7\xB6\xA8\xD2\xAA\xCD\xA3\xD6\xB9\xBC\xC7\xC2\xBC\xC2\xF0\xA3\xBF");
}

// Some English texts carry full-width colons: they are not ASCII and go through the same
// conversion.
TEST(TextTables, EnglishTextsBecomeTheGbkBytesTheyAlwaysWere) {
    const Texts& t = TextsFor(Language::English);
    EXPECT_EQ(Utf8ToGbk(t.recordModeManual), "HandMode");
    EXPECT_EQ(Utf8ToGbk(t.recordIntervalFormat), "Rec Inter \xA3\xBA%02d:%02d:%02d");
    EXPECT_EQ(Utf8ToGbk(t.serialNumber), "SN\xA3\xBA");
}

// What the GUI shows directly and what a file or message holds must be the same text: no table
// text may use a character GBK cannot hold.
TEST(TextTables, TextsSurviveTheWayToGbkAndBack) {
    for (Language language : {Language::English, Language::Chinese}) {
        const Texts& t = TextsFor(language);
        for (const std::string* text :
             {&t.userName, &t.recordIntervalFormat, &t.communicationTimeout, &t.hardwareNotFound, &t.storeFailed,
              &t.helpFileMissing, &t.aboutStatement, &t.portPermissionFormat, &t.toolbarLabel[0], &t.menuFile,
              &t.initialBasic[0], &t.initialChannel[6], &t.stopModeLabel[3], &t.downloadStarting}) {
            EXPECT_EQ(GbkToUtf8(Utf8ToGbk(*text)), *text);
        }
    }
    const FixedTexts& f = Fixed();
    for (const std::string* text : {&f.stopQuestion, &f.closeQuestion, &f.kvExtensionRefused, &f.downloadChooseButton,
                                    &f.downloadShowing, &f.downloadSaveFilter}) {
        EXPECT_EQ(GbkToUtf8(Utf8ToGbk(*text)), *text);
    }
}

}  // namespace
}  // namespace velorin
