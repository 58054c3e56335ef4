// The labels the configuration stores in DeviceInfo (and so in every data file downloaded
// afterwards) are Chinese in both interface languages and keep their GBK bytes, written out
// here rather than converted.
#include <gtest/gtest.h>

#include "common/language.h"
#include "common/text_codec.h"
#include "config/config_texts.h"

namespace velorin {
namespace {

TEST(ConfigTexts, StoredLabelsAreTheSameGbkInBothLanguages) {
    for (Language language : {Language::English, Language::Chinese}) {
        const ConfigTexts& t = ConfigTextsFor(language);
        EXPECT_EQ(Utf8ToGbk(t.recordManual), "\xCA\xD6\xB6\xAF\xC4\xA3\xCA\xBD");
        EXPECT_EQ(Utf8ToGbk(t.startImmediate), "\xC1\xA2\xBC\xB4\xC6\xF4\xB6\xAF");
        EXPECT_EQ(Utf8ToGbk(t.stopFifo), "\xCF\xC8\xBD\xF8\xCF\xC8\xB3\xF6");
    }
}

}  // namespace
}  // namespace velorin
