// The comparison report: its texts read back from the PDF with pdftotext, the pages a long
// comparison takes, the warmest and coldest marks, the curves' breaks, and the safety rules of
// the report (no logo, unwritable target, cancel).
#include "analysis/compare_report.h"

#include <gtest/gtest.h>

#include "analysis/analysis_test_data.h"
#include "analysis/compare_files.h"
#include "common/language.h"
#include "report/recording_canvas.h"
#include "support/command_output.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using test::AnalysisSet;
using test::Clock;

std::vector<CompareFile> ThreeFiles() {
    std::vector<CompareFile> files(3);
    files[0].path = "/d/cold.kv";
    files[0].set = AnalysisSet("K1000001", "2026-06-01 00:00:00", 60, {1, 2},
                               {{2.5f, 3.5f, -3276.7f, 4.5f}, {40.0f, 41.0f, 42.0f, 43.0f}});
    SetQuantityText(files[0].set, 1, "HUM");
    SetUnitText(files[0].set, 1, "%RH");
    std::strncpy(files[0].set.userName, "Cold room", sizeof files[0].set.userName - 1);
    files[1].path = "/d/warm.kv";
    files[1].set = AnalysisSet("K1000002", "2026-06-01 00:01:30", 90, {1}, {{31.0f, 33.0f, 35.0f}});
    files[2].path = "/d/warm-again.kv";
    files[2].set = files[1].set;
    files[2].set.records[0].value[0] = 20.0f;
    PrepareCompareFiles(files);
    return files;
}

CompareReportOptions Options(Language language) {
    CompareReportOptions o;
    o.language = language;
    o.from = Clock("2026-06-01 00:00:00");
    o.to = Clock("2026-06-01 01:00:00");
    return o;
}

TEST(CompareReportPdf, TextsOfBothPagesInBothLanguages) {
    ASSERT_NE(test::CommandOutput("command -v pdftotext"), "") << "poppler-utils is missing";
    const std::vector<CompareFile> files = ThreeFiles();
    test::TempDir dir;
    const PdfResult r = ExportCompareReport(files, dir.Path() + "/cmp", Options(Language::English));
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_EQ(r.path, dir.Path() + "/cmp.pdf");
    EXPECT_EQ(r.pages, 2);
    const std::string text = test::CommandOutput("pdftotext -layout '" + r.path + "' -");
    for (const char* expected : {"Comparison Report",
                                 "Range: 2026-06-01 00:00:00 ... 2026-06-01 01:00:00",
                                 "Files: 3",
                                 "K1000001",
                                 "User Name: Cold room",
                                 "K1000002 (warm.kv)",
                                 "K1000002 (warm-again.kv)",
                                 "Samples",
                                 "Missing",
                                 "MKT",
                                 "Time above upper",
                                 "HUM (%RH)",
                                 "3.5",
                                 "4.5",
                                 "2026-06-01 00:03:00",
                                 "warmest",
                                 "coldest",
                                 "0:04:30",
                                 "0:04:00",
                                 "Curves",
                                 "Statistics of the range",
                                 "1/2",
                                 "2/2"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
    const PdfResult zh = ExportCompareReport(files, dir.Path() + "/zh.pdf", Options(Language::Chinese));
    ASSERT_TRUE(zh.ok) << zh.detail;
    const std::string zhText = test::CommandOutput("pdftotext -layout '" + zh.path + "' -");
    for (const char* expected : {"对比报告", "范围统计", "有效数", "缺失数", "曲线", "最高", "最低"}) {
        EXPECT_NE(zhText.find(expected), std::string::npos) << expected << "\n" << zhText;
    }
}

TEST(CompareReportPdf, AMissingLogoWarnsAndAnUnwritableTargetOrCancelWritesNothing) {
    const std::vector<CompareFile> files = ThreeFiles();
    test::TempDir dir;
    CompareReportOptions o = Options(Language::English);
    o.logoPath = dir.Path() + "/no-logo.png";
    const PdfResult r = ExportCompareReport(files, dir.Path() + "/a.pdf", o);
    ASSERT_TRUE(r.ok) << r.detail;
    ASSERT_EQ(r.warnings.size() - (r.fontUsed.find("UMing") == std::string::npos ? 1 : 0), 1u);
    EXPECT_EQ(r.logoPath, o.logoPath);
    EXPECT_TRUE(test::FileExists(r.path));

    EXPECT_FALSE(ExportCompareReport(files, dir.Path() + "/none/a.pdf", Options(Language::English)).ok);
    CompareReportOptions cancel = Options(Language::English);
    cancel.progress = [](int, int) { return false; };
    const PdfResult c = ExportCompareReport(files, dir.Path() + "/c.pdf", cancel);
    EXPECT_TRUE(c.cancelled);
    EXPECT_FALSE(test::FileExists(dir.Path() + "/c.pdf"));
}

TEST(CompareReportLayout, ManyFilesContinueOnFurtherPagesAndMarksGoToTheExtremeAverages) {
    std::vector<CompareFile> files(32);
    for (size_t k = 0; k < files.size(); ++k) {
        files[k].path = "/d/f" + std::to_string(k) + ".kv";
        const float v = 10.0f + static_cast<float>(k);
        files[k].set = AnalysisSet("S", "2026-06-01 00:00:00", 60, {1, 2, 3, 4, 5, 6},
                                   {{v, v}, {v, v}, {v, v}, {v, v}, {v, v}, {v, v}});
    }
    PrepareCompareFiles(files);
    EXPECT_EQ(files[31].label, "S (f31.kv)");
    RecordingCanvas canvas;
    CompareReport report(canvas, files, Options(Language::English));
    const int pages = report.Draw();
    EXPECT_EQ(pages, canvas.Pages());
    ASSERT_GE(pages, 5);  // 32 × (1 + 6) lines of 14–16 points do not fit on 3 pages
    int warmest = 0, coldest = 0;
    std::string warmPage, coldPage;
    for (int p = 1; p < pages; ++p) {
        for (const CanvasCall& c : canvas.Texts(p)) {
            EXPECT_GE(c.y, 25) << "page " << p << " " << c.text;
            if (c.text == "warmest") ++warmest, warmPage = std::to_string(p);
            if (c.text == "coldest") ++coldest, coldPage = std::to_string(p);
        }
    }
    EXPECT_EQ(warmest, 1);
    EXPECT_EQ(coldest, 1);
    EXPECT_EQ(coldPage, "1");                        // file 0: 10.0
    EXPECT_EQ(warmPage, std::to_string(pages - 1));  // file 31: 41.0, on the last statistics page
}

TEST(CompareReportLayout, CurvesBreakAtMissingSamplesAndGaps) {
    // One channel: 00:00, 00:01, (missing) 00:02, 00:03, then the recording resumes at 01:00.
    std::vector<CompareFile> files(1);
    files[0].set = AnalysisSet("G", "2026-06-01 00:00:00", 60, {1}, {{1.0f, 2.0f, 0.0001f, 4.0f, 5.0f}});
    files[0].set.records[4].hour = 1;
    files[0].set.records[4].minute = 0;
    PrepareCompareFiles(files);
    RecordingCanvas canvas;
    CompareReport report(canvas, files, Options(Language::English));
    report.Draw();
    // Curve segments are drawn in the file's colour; the frame, ticks and legend in black, and
    // the legend's sample line is level.
    // Only 00:00–00:01 is joined: the missing sample cuts 00:01–00:03 and the gap 00:03–01:00.
    int joined = 0;
    for (const RecordingCanvas::Segment& s : canvas.Segments(2)) {
        if (!(s.color == kBlack) && s.x2 - s.x1 > 0.01 && s.y1 != s.y2) ++joined;
    }
    EXPECT_EQ(joined, 1);
}

}  // namespace
}  // namespace velorin
