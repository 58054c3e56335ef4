// The UTF-8 forms of the CSV and TXT tables against the GBK ones: the same bytes run through the
// system's iconv program, for both languages, a user name and title in Chinese, an empty set and
// one long enough to be written in several batches; only the CSV carries a byte-order mark.
#include <gtest/gtest.h>

#include <string>

#include "common/language.h"
#include "history/record_set.h"
#include "report/export_test_data.h"
#include "report/text_export.h"
#include "support/command_output.h"
#include "support/temp_dir.h"

namespace velorin::test {
namespace {

constexpr const char* kBom = "\xEF\xBB\xBF";

// What `iconv -f GBK -t UTF-8` makes of a file; "<iconv failed>" when it rejects the bytes.
std::string IconvToUtf8(const std::string& path) {
    const std::string out = CommandOutput("iconv -f GBK -t UTF-8 '" + path + "' && echo OK");
    if (out.size() < 3 || out.compare(out.size() - 3, 3, "OK\n") != 0) return "<iconv failed>";
    return out.substr(0, out.size() - 3);
}

RecordSet ChineseNamedSet(int records) {
    RecordSet set = SmallSet(records);
    StoreInField(set.userName, G("实验室 3"));
    StoreInField(set.title, G("灭菌批次 7"));
    return set;
}

struct Form {
    const char* name;
    ExportResult (*write)(const RecordSet&, const std::string&, const ExportOptions&);
    bool bom;
};

TEST(Utf8Export, EqualsTheGbkTableConvertedByIconv) {
    TempDir dir;
    const Form forms[] = {{"csv", ExportCsv, true}, {"txt", ExportTxt, false}};
    // 4000 records make a table of several 64 KiB batches: each is converted on its own.
    for (int records : {0, 3, 4000}) {
        const RecordSet set = ChineseNamedSet(records);
        for (bool english : {true, false}) {
            for (const Form& form : forms) {
                SCOPED_TRACE(std::string(form.name) + (english ? " English " : " Chinese ") + std::to_string(records));
                ExportOptions options;
                options.display.language = english ? Language::English : Language::Chinese;
                const std::string base =
                    dir.Path() + "/" + form.name + std::to_string(records) + (english ? "en" : "zh");
                const ExportResult gbk = form.write(set, base + "-gbk", options);
                options.encoding = ExportEncoding::Utf8;
                const ExportResult utf8 = form.write(set, base + "-utf8", options);
                ASSERT_TRUE(gbk.ok && utf8.ok) << gbk.detail << utf8.detail;
                EXPECT_EQ(utf8.path, base + "-utf8." + form.name);

                const std::string converted = IconvToUtf8(gbk.path);
                ASSERT_NE(converted, "<iconv failed>");
                ASSERT_NE(converted, ReadFileBytes(gbk.path));  // the head does hold Chinese texts
                EXPECT_EQ(ReadFileBytes(utf8.path), (form.bom ? kBom : "") + converted);
            }
        }
    }
}

TEST(Utf8Export, DefaultStaysGbkWithoutAByteOrderMark) {
    TempDir dir;
    ExportOptions options;  // no encoding named
    const ExportResult r = ExportCsv(ChineseNamedSet(1), dir.Path() + "/t", options);
    ASSERT_TRUE(r.ok);
    const std::string bytes = ReadFileBytes(r.path);
    EXPECT_EQ(bytes.rfind(G("用户名:实验室 3\r\n"), 0), 0u) << bytes.substr(0, 20);
}

}  // namespace
}  // namespace velorin::test
