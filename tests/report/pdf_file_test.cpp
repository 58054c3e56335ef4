// The PDF report as a real file: its text read back with pdftotext, its fonts embedded
// (pdffonts), its page count and document information (pdfinfo), the failure message, an
// existing file kept when the report cannot be written, and the report without its logo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/language.h"
#include "report/report_test_data.h"
#include "report/report_texts.h"
#include "support/command_output.h"
#include "support/temp_dir.h"

namespace velorin::test {
namespace {

class PdfFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(CommandOutput("command -v pdftotext pdffonts pdfinfo"), "")
            << "poppler-utils is missing (scripts/install-deps.sh installs it)";
    }
    TempDir dir_;
};

TEST_F(PdfFile, ChineseReportHasItsTextsPagesInformationAndEmbeddedFont) {
    RecordSet set = ReportSet(300, {1, 2});
    SetUnitText(set, 0, G("℃"));
    SetQuantityText(set, 0, G("温度"));
    set.records[3].value[0] = 45.0f;
    const PdfResult r = ExportPdf(set, dir_.Path() + "/report", ReportOptions(Language::Chinese));
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_EQ(r.path, dir_.Path() + "/report.pdf");
    EXPECT_EQ(r.pages, 3);  // 300 rows at 280 a page, plus the first page
    EXPECT_TRUE(r.warnings.empty()) << "font used: " << r.fontUsed;

    const std::string text = CommandOutput("pdftotext -layout '" + r.path + "' -");
    for (const char* expected : {"数据记录仪PDF报告", "配置信息:", "报警信息:", "数据曲线图", "1:Upper limit>30.0",
                                 "超上限报警", "S/N:A1234567", "Report Creation Time:03/04/26 05:06:07",
                                 "03/09/25 07:08:00", "45.0", "Page 3/3", "www.velorin.example"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
    const std::string fonts = CommandOutput("pdffonts '" + r.path + "'");
    EXPECT_NE(fonts.find("UMing"), std::string::npos) << fonts;
    // Every font line says "emb yes".
    size_t lines = 0, embedded = 0;
    for (size_t p = fonts.find("UMing"); p != std::string::npos; p = fonts.find("UMing", p + 1)) {
        const size_t end = fonts.find('\n', p);
        const std::string line = fonts.substr(p, end - p);
        ++lines;
        embedded += line.find(" yes yes ") != std::string::npos ? 1 : 0;
    }
    EXPECT_GT(lines, 0u);
    EXPECT_EQ(embedded, lines) << fonts;
    const std::string info = CommandOutput("pdfinfo '" + r.path + "'");
    EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           Morvane Datalog PDF"), std::string::npos) << info;
    EXPECT_NE(info.find("Creator:         PDF Creator"), std::string::npos) << info;
    EXPECT_NE(info.find("Keywords:        velorin.example"), std::string::npos) << info;
    EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos) << info;
}

struct Word {
    double xMin, yMin, xMax;
    std::string text;
};

// The words of page `page` with their boxes (pdftotext -bbox; y from the top of the page).
std::vector<Word> WordsOf(const std::string& path, int page) {
    const std::string p = std::to_string(page);
    const std::string html = CommandOutput("pdftotext -bbox -f " + p + " -l " + p + " '" + path + "' -");
    std::vector<Word> words;
    for (size_t at = html.find("<word "); at != std::string::npos; at = html.find("<word ", at + 1)) {
        Word w{};
        if (std::sscanf(html.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\"", &w.xMin, &w.yMin, &w.xMax) !=
            3) {
            continue;
        }
        const size_t open = html.find('>', at) + 1;
        w.text = html.substr(open, html.find("</word>", open) - open);
        words.push_back(w);
    }
    return words;
}

const Word* Find(const std::vector<Word>& words, const std::string& text) {
    for (const Word& w : words) {
        if (w.text == text) return &w;
    }
    return nullptr;
}

TEST_F(PdfFile, TextsFitTheReportsPositionsWithoutOverlapping) {
    RecordSet set = ReportSet(300, {1, 2, 3});
    // A red slot-1 cell with its arrow still ends before slot 2. (A slot's 20 points cannot
    // hold every value: " -12.2 " with an arrow reaches into the next slot, as the fixed
    // positions make it.)
    set.records[0].value[0] = 35.0f;
    const PdfResult r = ExportPdf(set, dir_.Path() + "/fit.pdf", ReportOptions(Language::English));
    ASSERT_TRUE(r.ok) << r.detail;

    const std::vector<Word> first = WordsOf(r.path, 1);
    struct Label {
        const char* lastWord;
        double valueX;
    };
    for (const Label& l :
         {Label{"creation:", 90}, Label{"Interval:", 82}, Label{"channel:", 230}, Label{"mode:", 82}}) {
        const Word* w = Find(first, l.lastWord);
        ASSERT_NE(w, nullptr) << l.lastWord;
        EXPECT_LE(w->xMax, l.valueX + 0.01) << l.lastWord;
    }
    // The curve's eleven value labels ("lo/lo/lo/" left of the frame) end at the ticks' x 70.
    int labels = 0;
    for (const Word& w : first) {
        if (w.xMin >= 64 || w.text.find('/') == std::string::npos) continue;
        ++labels;
        EXPECT_LE(w.xMax, 70.01) << w.text;
    }
    EXPECT_EQ(labels, 11);

    // On a table page no word runs into the next one of its line.
    std::vector<Word> table = WordsOf(r.path, 2);
    ASSERT_GT(table.size(), 200u);
    std::sort(table.begin(), table.end(),
              [](const Word& a, const Word& b) { return a.yMin != b.yMin ? a.yMin < b.yMin : a.xMin < b.xMin; });
    for (size_t i = 0; i + 1 < table.size(); ++i) {
        if (table[i].yMin != table[i + 1].yMin) continue;
        EXPECT_LE(table[i].xMax, table[i + 1].xMin + 0.01) << table[i].text << " | " << table[i + 1].text;
    }
}

struct Box {
    double xMin, yMin, xMax, yMax;
    std::string text;
};

// The words of page `page` with their whole boxes.
std::vector<Box> BoxesOf(const std::string& path, int page) {
    const std::string p = std::to_string(page);
    const std::string html = CommandOutput("pdftotext -bbox -f " + p + " -l " + p + " '" + path + "' -");
    std::vector<Box> boxes;
    for (size_t at = html.find("<word "); at != std::string::npos; at = html.find("<word ", at + 1)) {
        Box b{};
        if (std::sscanf(html.c_str() + at, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"", &b.xMin,
                        &b.yMin, &b.xMax, &b.yMax) != 4) {
            continue;
        }
        const size_t open = html.find('>', at) + 1;
        b.text = html.substr(open, html.find("</word>", open) - open);
        boxes.push_back(b);
    }
    return boxes;
}

TEST_F(PdfFile, NoTextOverlapsAnotherInEitherLanguage) {
    // Three channels, red cells with arrows (" 230.2 ↑" is wider than a 20-point slot), an
    // error cell beside them, and the longest user name and title the logger holds.
    RecordSet set = ReportSet(300, {1, 2, 3});
    for (int i = 0; i < 40; ++i) {
        set.records[static_cast<size_t>(i)].value[0] = 230.2f;
        set.records[static_cast<size_t>(i)].value[1] = 223.8f;
        set.records[static_cast<size_t>(i)].value[2] = kMissingValue2Byte;
    }
    SetUnitText(set, 1, G("%RH"));
    StoreInField(set.userName, G("实验室三号冷库温湿度记录仪"));
    StoreInField(set.title, G("old room 3 冷库"));
    for (const bool english : {true, false}) {
        const PdfResult r = ExportPdf(set, dir_.Path() + "/overlap.pdf",
                                      ReportOptions(english ? Language::English : Language::Chinese));
        ASSERT_TRUE(r.ok) << r.detail;
        for (int page : {1, 2}) {
            const std::vector<Box> boxes = BoxesOf(r.path, page);
            ASSERT_GT(boxes.size(), 50u);
            for (size_t i = 0; i < boxes.size(); ++i) {
                for (size_t j = i + 1; j < boxes.size(); ++j) {
                    const Box& a = boxes[i];
                    const Box& b = boxes[j];
                    const double dy = std::min(a.yMax, b.yMax) - std::max(a.yMin, b.yMin);
                    const double dx = std::min(a.xMax, b.xMax) - std::max(a.xMin, b.xMin);
                    // Boxes of one line share most of their height; a sliver is the next line.
                    const double height = std::min(a.yMax - a.yMin, b.yMax - b.yMin);
                    EXPECT_FALSE(dy > 0.5 * height && dx > 0.05)
                        << (english ? "English" : "Chinese") << " page " << page << ": \"" << a.text << "\" [" << a.xMin
                        << ", " << a.xMax << "] overlaps \"" << b.text << "\" [" << b.xMin << ", " << b.xMax << "]";
                }
            }
        }
        // A Chinese character takes two digits' width: "超上限报警" at size 6 is 10 bytes of 2 points.
        if (!english) {
            const std::vector<Box> first = BoxesOf(r.path, 1);
            const auto alarm =
                std::find_if(first.begin(), first.end(), [](const Box& b) { return b.text == "超上限报警"; });
            ASSERT_NE(alarm, first.end());
            EXPECT_LE(alarm->xMax - alarm->xMin, 20.5);
        }
    }
}

TEST_F(PdfFile, NameWithPdfAnywhereIsKeptAndAMissingLogoOnlyWarns) {
    RecordSet set = ReportSet(3, {1});
    PdfOptions o = ReportOptions(Language::English);
    o.logoPath = dir_.Path() + "/logo.png";  // does not exist
    const PdfResult r = ExportPdf(set, dir_.Path() + "/a.pdf.old", o);
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_EQ(r.path, dir_.Path() + "/a.pdf.old");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0], PdfWarning::LogoMissing);
    EXPECT_NE(PdfWarningMessage(r, PdfWarning::LogoMissing, Language::English).find(o.logoPath), std::string::npos);
    EXPECT_NE(CommandOutput("pdftotext '" + r.path + "' -").find("DataLogger PDF Report"), std::string::npos);
}

TEST_F(PdfFile, ProgressCountsThePagesAndCancellingKeepsTheOldFile) {
    RecordSet set = ReportSet(600, {1, 2});  // 1 + 3 pages
    const std::string target = dir_.MakeFile("old.pdf", "old report");
    PdfOptions o = ReportOptions(Language::English);
    std::vector<std::pair<int, int>> seen;
    o.progress = [&seen](int page, int total) {
        seen.emplace_back(page, total);
        return page < 2;
    };
    const PdfResult r = ExportPdf(set, target, o);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 4}, {2, 4}}));
    EXPECT_EQ(ReadFileBytes(target), "old report");

    seen.clear();
    o.progress = [&seen](int page, int total) {
        seen.emplace_back(page, total);
        return true;
    };
    ASSERT_TRUE(ExportPdf(set, target, o).ok);
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_EQ(ReadFileBytes(target).substr(0, 5), "%PDF-");
}

TEST_F(PdfFile, UnwritableTargetReportsThePathAndLeavesAnExistingFile) {
    RecordSet set = ReportSet(3, {1});
    const PdfResult missingFolder =
        ExportPdf(set, dir_.Path() + "/no/such/folder/r.pdf", ReportOptions(Language::English));
    EXPECT_FALSE(missingFolder.ok);
    EXPECT_FALSE(missingFolder.detail.empty());
    const std::string message = PdfFailureMessage(missingFolder);
    EXPECT_EQ(message.find(G("创建PDF文件失败！\n路径: ") + missingFolder.path + G("\n错误: ")), 0u)
        << GbkToUtf8(message);
    EXPECT_NE(message.find(missingFolder.detail), std::string::npos);

    // A target that cannot be replaced (a folder of that name) fails after the document was
    // drawn; what was there stays as it was.
    const std::string kept = dir_.MakeFile("r.pdf/kept", "old");
    const PdfResult folder = ExportPdf(set, dir_.Path() + "/r.pdf", ReportOptions(Language::English));
    EXPECT_FALSE(folder.ok);
    EXPECT_FALSE(folder.detail.empty());
    EXPECT_EQ(ReadFileBytes(kept), "old");
}

}  // namespace
}  // namespace velorin::test
