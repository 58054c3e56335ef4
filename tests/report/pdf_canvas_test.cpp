// The program's own PDF writer against cairo's: the same report drawn on both has the same words
// at the same places (read back with pdftotext), texts measure the same, and the logo and the
// font are embedded as a reader expects (pdfimages, pdffonts).
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "common/language.h"
#include "common/text_codec.h"
#include "report/cairo_canvas.h"
#include "report/pdf_canvas.h"
#include "report/report_font.h"
#include "report/report_test_data.h"
#include "report/synthetic_font.h"
#include "report/truetype_font.h"
#include "support/command_output.h"
#include "support/temp_dir.h"

namespace velorin::test {
namespace {

std::unique_ptr<PdfCanvas> OwnCanvas(const std::string& path) {
    const ReportFontMatch match = MatchReportFont();
    std::shared_ptr<const TrueTypeFont> font = TrueTypeFont::LoadFile(match.file, match.face, nullptr);
    if (!font) return nullptr;
    return std::make_unique<PdfCanvas>(path, PdfDocumentInfo{"c", "a", "t", "s", "k"}, font, match.family,
                                       match.IsCjk());
}

struct Word {
    int page;
    std::string text;
    double xMin, yMin, xMax, yMax;
    // Lines and columns lie points apart; the two writers' words differ by hundredths.
    bool operator<(const Word& o) const {
        return std::make_tuple(page, std::lround(yMax * 4), std::lround(xMin * 4), text) <
               std::make_tuple(o.page, std::lround(o.yMax * 4), std::lround(o.xMin * 4), o.text);
    }
};

std::vector<Word> WordsOf(const std::string& path) {
    const std::string html = CommandOutput("pdftotext -bbox '" + path + "' -");
    std::vector<Word> words;
    int page = 0;
    for (size_t at = 0;;) {
        const size_t nextPage = html.find("<page ", at), nextWord = html.find("<word ", at);
        if (nextWord == std::string::npos) break;
        if (nextPage < nextWord) {
            ++page;
            at = nextPage + 1;
            continue;
        }
        Word w{page, "", 0, 0, 0, 0};
        std::sscanf(html.c_str() + nextWord, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"", &w.xMin,
                    &w.yMin, &w.xMax, &w.yMax);
        const size_t open = html.find('>', nextWord) + 1;
        w.text = html.substr(open, html.find("</word>", open) - open);
        words.push_back(w);
        at = open;
    }
    std::sort(words.begin(), words.end());
    return words;
}

// A PNG of 3 × 2 pixels, RGBA, the last pixel half transparent unless `opaque`.
std::string Png(bool opaque) {
    const auto chunk = [](std::string& png, const char* type, const std::string& data) {
        Put32(png, static_cast<uint32_t>(data.size()));
        const std::string body = std::string(type, 4) + data;
        png += body;
        Put32(png, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
    };
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    Put32(header, 3);
    Put32(header, 2);
    header += std::string("\x08\x06\x00\x00\x00", 5);
    chunk(png, "IHDR", header);
    std::string rows;
    for (int y = 0; y < 2; ++y) {
        rows.push_back('\0');
        for (int x = 0; x < 3; ++x) {
            rows += {static_cast<char>(x * 100), static_cast<char>(y * 200), '\x40'};
            rows.push_back(!opaque && x == 2 && y == 1 ? '\x80' : '\xFF');
        }
    }
    std::string packed(compressBound(rows.size()), '\0');
    uLongf size = packed.size();
    compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(rows.data()), rows.size());
    packed.resize(size);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", "");
    return png;
}

class PdfCanvasFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(CommandOutput("command -v pdftotext pdffonts pdfimages"), "")
            << "poppler-utils is missing (scripts/install-deps.sh installs it)";
        ASSERT_TRUE(MatchReportFont().IsCjk()) << "fonts-arphic-uming is missing";
    }
    TempDir dir_;
};

TEST_F(PdfCanvasFile, SetsTheReportsWordsWhereCairoSetsThem) {
    RecordSet chinese = ReportSet(300, {1, 2});
    SetUnitText(chinese, 0, G("℃"));
    SetQuantityText(chinese, 0, G("温度"));
    chinese.records[3].value[0] = 45.0f;  // an alarm: red texts and a narrowed label
    chinese.records[9].value[1] = kMissingValue2Byte;
    RecordSet english = ReportSet(700, {1, 2, 3, 4, 5, 6});
    english.records[5].value[2] = -5.0f;
    PdfOptions withLogo = ReportOptions(Language::English);
    withLogo.logoPath = dir_.MakeFile("logo.png", Png(false));
    const std::vector<std::pair<RecordSet*, PdfOptions>> reports = {{&chinese, ReportOptions(Language::Chinese)},
                                                                    {&english, withLogo}};
    for (const auto& report : reports) {
        const std::string own = dir_.Path() + "/own.pdf", cairo = dir_.Path() + "/cairo.pdf";
        auto ownCanvas = OwnCanvas(own);
        ASSERT_NE(ownCanvas, nullptr);
        CairoPdfCanvas cairoCanvas(cairo, PdfDocumentInfo{"c", "a", "t", "s", "k"});
        const int ownPages = PdfReport(*ownCanvas, *report.first, report.second).Draw();
        const int cairoPages = PdfReport(cairoCanvas, *report.first, report.second).Draw();
        EXPECT_EQ(ownPages, cairoPages);
        ASSERT_TRUE(ownCanvas->Finish()) << ownCanvas->Error();
        ASSERT_TRUE(cairoCanvas.Finish()) << cairoCanvas.Error();

        const std::vector<Word> a = WordsOf(own), b = WordsOf(cairo);
        ASSERT_EQ(a.size(), b.size());
        EXPECT_GT(a.size(), 300u);
        for (size_t i = 0; i < a.size(); ++i) {
            ASSERT_EQ(a[i].page, b[i].page) << i;
            ASSERT_EQ(a[i].text, b[i].text) << "page " << a[i].page;
            // cairo places glyphs to a thousandth of an em; a word's height comes from the font.
            EXPECT_NEAR(a[i].xMin, b[i].xMin, 0.02) << a[i].text;
            EXPECT_NEAR(a[i].xMax, b[i].xMax, 0.02) << a[i].text;
            EXPECT_NEAR(a[i].yMin, b[i].yMin, 0.05) << a[i].text;
            EXPECT_NEAR(a[i].yMax, b[i].yMax, 0.05) << a[i].text;
        }
    }
}

TEST_F(PdfCanvasFile, MeasuresTextsAsCairoDoes) {
    auto own = OwnCanvas(dir_.Path() + "/own.pdf");
    ASSERT_NE(own, nullptr);
    CairoPdfCanvas cairo(dir_.Path() + "/cairo.pdf", PdfDocumentInfo{});
    for (ReportCanvas* canvas : {static_cast<ReportCanvas*>(own.get()), static_cast<ReportCanvas*>(&cairo)}) {
        canvas->BeginPage();
    }
    for (double size : {6.0, 8.0, 12.5, 24.0}) {
        own->SetFontSize(size);
        cairo.SetFontSize(size);
        for (const std::string& text : {std::string("03/09/25 07:08:00"), G("温度℃"), G("超上限报警"),
                                        std::string("\tTab"), G("数据记录仪PDF报告")}) {
            EXPECT_NEAR(own->TextWidth(text), cairo.TextWidth(text), 1e-3) << size << " " << GbkToUtf8(text);
        }
        // A third of the size per GBK byte.
        EXPECT_NEAR(own->TextWidth(G("温度")), size * 4 / 3, 1e-9);
    }
}

TEST_F(PdfCanvasFile, EmbedsTheLogoWithItsTransparencyAndTheFontAsASubset) {
    for (const bool opaque : {false, true}) {
        RecordSet set = ReportSet(30, {1});
        PdfOptions o = ReportOptions(Language::Chinese);
        o.logoPath = dir_.MakeFile("logo.png", Png(opaque));
        const std::string path = dir_.Path() + "/own.pdf";
        auto canvas = OwnCanvas(path);
        ASSERT_NE(canvas, nullptr);
        PdfReport report(*canvas, set, o);
        report.Draw();
        EXPECT_TRUE(report.LogoPlaced());
        ASSERT_TRUE(canvas->Finish()) << canvas->Error();

        const std::string images = CommandOutput("pdfimages -list '" + path + "'");
        EXPECT_NE(images.find(" image       3     2  rgb     3   8  image  yes "), std::string::npos) << images;
        EXPECT_EQ(images.find(" smask       3     2  gray    1   8  image  no ") != std::string::npos, !opaque)
            << images;
        const std::string fonts = CommandOutput("pdffonts '" + path + "'");
        EXPECT_NE(fonts.find("+UMingCN                       CID TrueType      Identity-H       yes yes yes"),
                  std::string::npos)
            << fonts;
        EXPECT_NE(fonts.find("+UMingCN                       TrueType          WinAnsi          yes yes yes"),
                  std::string::npos)
            << fonts;
        // The few glyphs of a report, not the 20 MB the font file holds.
        EXPECT_LT(ReadFileBytes(path).size(), 200u * 1024);
    }
}

TEST_F(PdfCanvasFile, BracketsBackslashesAndTabsInTextsOfEitherFont) {
    const std::string path = dir_.Path() + "/own.pdf";
    {
        auto canvas = OwnCanvas(path);
        ASSERT_NE(canvas, nullptr);
        canvas->BeginPage();
        canvas->SetFontSize(12);
        canvas->ShowText(50, 700, "f(x) = a\\b)(");
        canvas->ShowText(50, 650, G("温(度)\\"));
        canvas->ShowText(50, 600, "1\t\t\t2");  // tabs are set as blanks
        canvas->EndPage();
        ASSERT_TRUE(canvas->Finish()) << canvas->Error();
    }
    const std::string text = CommandOutput("pdftotext '" + path + "' -");
    EXPECT_NE(text.find("f(x) = a\\b)("), std::string::npos) << text;
    EXPECT_NE(text.find("温(度)\\"), std::string::npos) << text;
    EXPECT_NE(CommandOutput("pdftotext -layout '" + path + "' -").find("1   2"), std::string::npos) << text;
}

TEST_F(PdfCanvasFile, CharactersTheFontLacksAndAnEmptyDocumentStillMakeAFile) {
    const std::string path = dir_.Path() + "/synthetic.pdf";
    std::shared_ptr<const TrueTypeFont> font = TrueTypeFont::LoadBytes(SyntheticFont(), 0, nullptr);
    ASSERT_NE(font, nullptr);
    {
        PdfCanvas canvas(path, PdfDocumentInfo{"", "", "Ä 中", "", ""}, font, "Synth", false);
        canvas.BeginPage();
        canvas.SetFontSize(20);
        canvas.ShowText(100, 700, "A");
        canvas.ShowText(100, 650, G("中"));
        canvas.ShowText(100, 600, "Q?");  // not in the font: the missing-glyph box
        canvas.EndPage();
        ASSERT_TRUE(canvas.Finish()) << canvas.Error();
    }
    const std::string text = CommandOutput("pdftotext '" + path + "' -");
    EXPECT_NE(text.find("A"), std::string::npos) << text;
    EXPECT_NE(text.find("中"), std::string::npos) << text;
    EXPECT_NE(CommandOutput("pdfinfo '" + path + "'").find("Title:           Ä 中"), std::string::npos);
    {
        PdfCanvas empty(path, PdfDocumentInfo{}, font, "Synth", false);
        ASSERT_TRUE(empty.Finish());
    }
    EXPECT_NE(CommandOutput("pdfinfo '" + path + "' 2>&1").find("Pages:           1"), std::string::npos);
}

}  // namespace
}  // namespace velorin::test
