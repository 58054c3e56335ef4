// velorin-cli export: a hand-assembled .kv file turned into CSV and TXT tables, the language
// choice, and the exit codes of wrong arguments, unreadable input and unwritable output.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "e2e/process.h"
#include "support/temp_dir.h"

namespace velorin::e2e {
namespace {

// Little-endian .kv bytes, field by field.
class KvBytes {
public:
    void Int(int32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
    }
    void Float(float v) {
        int32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        Int(bits);
    }
    void Short(int16_t v) {
        bytes_.push_back(static_cast<char>(v & 0xFF));
        bytes_.push_back(static_cast<char>((v >> 8) & 0xFF));
    }
    void Byte(uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
    // `text` NUL-padded to `width` bytes.
    void Field(const std::string& text, size_t width) {
        std::string field = text;
        field.resize(width, '\0');
        bytes_ += field;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// Two records of channels 1 and 2 (℃ temperature, %RH humidity); 25.25 tells one decimal
// ("25.2") from two.
std::string TwoRecordFile() {
    KvBytes kv;
    kv.Int(2);
    for (int i = 0; i < 2; ++i) {
        for (int32_t t : {26, 1, 31, 23, 59, 58 + i}) kv.Int(t);
        kv.Float(25.25f);
        kv.Float(-3276.7f);
        for (int c = 2; c < 6; ++c) kv.Float(7.0f);
    }
    for (int c = 0; c < 8; ++c) {
        kv.Float(30.5f);        // max
        kv.Float(-2.0f);        // min
        kv.Int(c < 2 ? 1 : 0);  // enabled
        kv.Float(12.345f);      // average
    }
    kv.Field("AutoStart", 9);
    kv.Field("MemoryFull", 13);
    kv.Field("", 25);
    kv.Field("", 25);
    kv.Field("2026-01-31 23:59:58", 25);
    kv.Field("Lab 3", 31);
    kv.Field("Run 7", 31);
    kv.Int(2);   // device record count
    kv.Int(0);   // overflow count
    kv.Int(60);  // interval in seconds
    kv.Int(0);
    kv.Int(1);
    kv.Int(0);
    kv.Field("AutoMode", 9);
    kv.Field("STOP", 9);
    kv.Int(32000);
    kv.Byte(0);
    kv.Byte(11);
    kv.Field("VLR-T810", 8);
    kv.Field("20261209", 9);
    const std::string units[8] = {"\xA1\xE6", "%RH"};                            // "℃" in GBK
    const std::string quantities[8] = {"\xCE\xC2\xB6\xC8", "\xCA\xAA\xB6\xC8"};  // 温度, 湿度
    for (int c = 0; c < 8; ++c) {
        kv.Int(static_cast<int32_t>(units[c].size()));
        kv.Field(units[c], units[c].size());
        kv.Int(static_cast<int32_t>(quantities[c].size()));
        kv.Field(quantities[c], quantities[c].size());
    }
    for (int c = 0; c < 8; ++c) kv.Byte(1);
    for (int16_t v : {-400, 850, 150, 300}) {
        for (int c = 0; c < 8; ++c) kv.Short(v);
    }
    return kv.Bytes();
}

class CliExport : public ::testing::Test {
protected:
    void SetUp() override { input_ = dir_.MakeFile("run.kv", TwoRecordFile()); }

    RunResult Export(const std::vector<std::string>& args) {
        std::vector<std::string> all = {"export"};
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram("velorin-cli", all, {}, work_.Path());
    }
    std::string Out(const std::string& name) const { return dir_.Path() + "/" + name; }

    velorin::test::TempDir dir_;
    velorin::test::TempDir work_;  // the working directory (no Language.ini unless a test adds one)
    std::string input_;
};

TEST_F(CliExport, FileSizeOfTheHandAssembledInputIsTheDataFileSize) {
    // 48 · N + 492 + ΣU + ΣQ: guards the fixture itself.
    EXPECT_EQ(TwoRecordFile().size(), 48u * 2 + 492 + 5 + 8);
}

TEST_F(CliExport, EnglishCsvWithOneDecimalEverywhere) {
    const RunResult r = Export({input_, "--csv", Out("table"), "--lang", "en"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Out("table.csv") + "\n");
    const std::string expected =
        "\xD3\xC3\xBB\xA7\xC3\xFB:Lab 3\r\n"  // "用户名:" in GBK
        "Title:Run 7\r\n"
        "Record times:2\r\n"
        "Record Interval:00:01:00\r\n"
        "Record mode:AutoMode\r\n"
        "Start channel:CH1 CH2 \r\n"
        "Start time:2026-01-31 23:59:58\r\n"
        "Stop time:2026-01-31 23:59:59\r\n"
        "CH1,  MAX:30.5,  MIN:-2.0,  AVG:12.35,  Channel type:\xCE\xC2\xB6\xC8\r\n"
        "CH2,  MAX:30.5,  MIN:-2.0,  AVG:12.35,  Channel type:\xCA\xAA\xB6\xC8\r\n"
        "\r\n"
        "SN,Record time,CH1(\xA1\xE6),CH2(%RH),\r\n"
        "1,2026-01-31 23:59:58,25.2,-3276.7,\r\n"
        "2,2026-01-31 23:59:59,25.2,-3276.7,\r\n";
    EXPECT_EQ(velorin::test::ReadFileBytes(Out("table.csv")), expected);
}

TEST_F(CliExport, ChineseTxt) {
    const RunResult r = Export({input_, "--txt", Out("list.txt"), "--lang", "zh"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string txt = velorin::test::ReadFileBytes(Out("list.txt"));
    const std::string firstLine = "\xD3\xC3\xBB\xA7\xC3\xFB:Lab 3  \xB1\xEA\xCC\xE2:Run 7\r\n";  // 用户名: 标题:
    EXPECT_EQ(txt.substr(0, firstLine.size()), firstLine);
    EXPECT_NE(txt.find("\r\n\xBC\xC7\xC2\xBC\xB4\xCE\xCA\xFD:2\r\n"), std::string::npos);  // 记录次数:2
    EXPECT_NE(txt.find("\r\n2      2026-01-31 23:59:59   25.2       -3276.7     \r\n"), std::string::npos);
}

TEST_F(CliExport, LanguageFollowsLanguageIniWithoutLangLikeInfo) {
    ASSERT_EQ(Export({input_, "--txt", Out("a")}).exitCode, 0);
    EXPECT_EQ(velorin::test::ReadFileBytes(Out("a.txt")).rfind("\xD3\xC3\xBB\xA7\xC3\xFB:", 0), 0u);  // Chinese
    std::ofstream(work_.Path() + "/Language.ini") << "English";
    ASSERT_EQ(Export({input_, "--txt", Out("b")}).exitCode, 0);
    EXPECT_EQ(velorin::test::ReadFileBytes(Out("b.txt")).rfind("User name:Lab 3", 0), 0u);
}

TEST_F(CliExport, WrongArgumentsAreUsageErrors) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {input_},
        {input_, "--csv", Out("x"), "--txt", Out("y")},
        {input_, "--csv"},
        {input_, "--csv", ""},
        {input_, "--csv", Out("x"), "--lang", "fr"},
        {input_, input_, "--csv", Out("x")},
        {input_, "--csv", Out("x"), "--pdf", Out("y")},
        {input_, "--pdf", Out("x"), "--from", "2"},  // the 2 records end before it
        {input_, "--pdf", Out("x"), "--from", "1", "--to", "1"},
        {input_, "--pdf", Out("x"), "--from", "-1", "--to", "1"},
        {input_, "--pdf", Out("x"), "--from", "0", "--to", "2x"},
        {input_, "--pdf", Out("x"), "--from", "0", "--to", "3"},  // beyond the 2 records
        {input_, "--csv", Out("x"), "--from", "0", "--to", "1"},
    };
    for (const auto& args : wrong) {
        const RunResult r = Export(args);
        EXPECT_EQ(r.exitCode, 1) << testing::PrintToString(args);
        EXPECT_NE(r.err.find("usage: velorin-cli export"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(Out("x.csv")));
    EXPECT_FALSE(std::filesystem::exists(Out("x.pdf")));
}

// The text of a PDF file (pdftotext from poppler-utils).
std::string PdfText(const std::string& path) {
    const RunResult r = RunProgram("/usr/bin/pdftotext", {"-layout", path, "-"});
    return r.exitCode == 0 ? r.out : "<pdftotext failed: " + r.err + ">";
}

TEST_F(CliExport, PdfReportOfTheWholeSetAndOfARange) {
    RunResult r = Export({input_, "--pdf", Out("report"), "--lang", "en"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Out("report.pdf") + "\n");
    std::string text = PdfText(Out("report.pdf"));
    for (const char* expected : {"DataLogger PDF Report", "S/N:20261209", "Page 1/2", "Page 2/2", "01/31/26 23:59:58",
                                 "01/31/26 23:59:59", "25.3", "Err", "2026-01-31 23:59:58"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }

    // Records 1 … 1: the report starts at the second record (--to defaults to the end).
    r = Export({input_, "--pdf", Out("part.pdf"), "--lang", "zh", "--from", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    text = PdfText(Out("part.pdf"));
    EXPECT_NE(text.find("数据记录仪PDF报告"), std::string::npos) << text;
    // The label fits its place before the value; the layout may put more blanks between them.
    const size_t label = text.find("启动时间:");
    ASSERT_NE(label, std::string::npos) << text;
    const size_t value = text.find_first_not_of(' ', label + std::string("启动时间:").size());
    EXPECT_EQ(text.compare(value, 19, "2026-01-31 23:59:59"), 0) << text;
    EXPECT_EQ(text.find("01/31/26 23:59:58"), std::string::npos) << text;
}

TEST_F(CliExport, UnwritablePdfShowsTheReportsFailureMessage) {
    const RunResult r = Export({input_, "--pdf", Out("no/such/folder/x.pdf")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(
        r.err.find("创建PDF文件失败！\n路径: " + Out("no/such/folder/x.pdf") + "\n错误: No such file or directory"),
        std::string::npos)
        << r.err;
}

TEST_F(CliExport, UnreadableInputFailsNamingTheReason) {
    RunResult r = Export({Out("absent.kv"), "--csv", Out("x")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("cannot read " + Out("absent.kv")), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("cannot be opened"), std::string::npos) << r.err;

    const std::string whole = TwoRecordFile();
    const std::string cut = dir_.MakeFile("cut.kv", whole.substr(0, whole.size() - 1));
    r = Export({cut, "--csv", Out("x")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("truncated"), std::string::npos) << r.err;

    std::string huge = whole;
    huge[2] = 0x7F;  // record count far beyond the capacity
    r = Export({dir_.MakeFile("huge.kv", huge), "--csv", Out("x")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("record count"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(Out("x.csv")));
}

TEST_F(CliExport, UnwritableOutputFails) {
    const RunResult r = Export({input_, "--csv", Out("no/such/folder/x")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err,
              "velorin-cli export: cannot write " + Out("no/such/folder/x.csv") + ": No such file or directory\n");
}

}  // namespace
}  // namespace velorin::e2e
