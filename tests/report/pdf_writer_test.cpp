// The PDF file structure: numbers and text strings as PDF writes them, streams whose length and
// content a reader gets back, a cross-reference table that finds every object wherever it was
// written, and failures (an object never written, a sink that stops taking bytes) reported.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <limits>
#include <string>

#include "report/pdf_writer.h"

namespace velorin::test {
namespace {

TEST(PdfNumber, SixDecimalsAtMostWithoutTrailingZerosOrExponent) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, "0"},
                 {12, "12"},
                 {-0.5, "-0.5"},
                 {71.0 + 1.0 / 3.0, "71.333333"},
                 {2.0 / 3.0 * 100, "66.666667"},
                 {0.1 + 0.2, "0.3"},
                 {1e-7, "0"},
                 {-1e-7, "0"},
                 {-0.0000005, "-0.000001"},
                 {1234567.125, "1234567.125"},
                 {-842, "-842"},
                 {1e300, "1000000000"},
                 {-1e300, "-1000000000"},
                 {std::numeric_limits<double>::quiet_NaN(), "0"},
                 {std::numeric_limits<double>::infinity(), "0"}};
    for (const auto& c : cases) {
        std::string out = "x";
        AppendPdfNumber(out, c.value);
        EXPECT_EQ(out, std::string("x") + c.text) << c.value;
        // What is written reads back as the rounded value.
        EXPECT_EQ(std::stod(out.substr(1)), RoundedPdfNumber(c.value)) << c.value;
    }
}

TEST(PdfTextString, AsciiAsLiteralOtherTextAsUtf16) {
    std::string out;
    AppendPdfTextString(out, "Report (7) \\ 1");
    EXPECT_EQ(out, "(Report \\(7\\) \\\\ 1)");
    out.clear();
    AppendPdfTextString(out, "温度 \xF0\x9F\x98\x80");  // a character beyond 16 bits: a surrogate pair
    EXPECT_EQ(out, "<FEFF6E295EA60020D83DDE00>");
    out.clear();
    AppendPdfTextString(out, "tab\there");  // control characters are not left raw
    EXPECT_EQ(out, "<FEFF00740061006200090068006500720065>");
}

struct Written {
    std::string bytes;
    size_t failAfter = std::string::npos;
    PdfWriter::Sink Sink() {
        return [this](const char* data, size_t n) {
            if (bytes.size() + n > failAfter) return false;
            bytes.append(data, n);
            return true;
        };
    }
};

TEST(PdfWriter, CrossReferenceFindsEveryObjectAndStreamsReadBack) {
    Written file;
    PdfWriter w(file.Sink());
    w.Out() += "%PDF-1.5\n";
    const int catalog = w.Reserve(), info = w.Reserve(), plain = w.Reserve(), packed = w.Reserve();
    std::string content;
    for (int i = 0; i < 5000; ++i) content += "0 -10 Td <0001000200030004>Tj\n";
    // Written in another order than reserved.
    w.Stream(packed, "/Type /Test", content);
    w.Stream(plain, "", "raw bytes", false);
    w.Begin(info);
    w.Out() += "<< /Producer (test) >>";
    w.End();
    w.Begin(catalog);
    w.Out() += "<< /Type /Catalog >>";
    w.End();
    ASSERT_TRUE(w.Finish(catalog, info));
    const std::string& pdf = file.bytes;

    const size_t start = pdf.rfind("startxref\n");
    ASSERT_NE(start, std::string::npos);
    const size_t xref = std::stoul(pdf.substr(start + 10));
    ASSERT_EQ(pdf.compare(xref, 9, "xref\n0 5\n"), 0) << pdf.substr(xref, 20);
    size_t line = xref + 9 + 20;  // after the free entry of object 0
    for (int object = 1; object <= 4; ++object, line += 20) {
        const size_t offset = std::stoul(pdf.substr(line, 10));
        const std::string head = std::to_string(object) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(offset, head.size(), head), 0) << object;
        EXPECT_EQ(pdf.compare(line + 10, 10, " 00000 n \n"), 0);
    }
    EXPECT_NE(pdf.find("/Size 5 /Root 1 0 R /Info 2 0 R"), std::string::npos);
    EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");

    // Each stream's /Length is the length of its bytes; the deflated one inflates to the content.
    const auto streamOf = [&pdf](int object, std::string* dictionary) {
        const size_t at = pdf.find("\n" + std::to_string(object) + " 0 obj\n");
        const size_t body = pdf.find("stream\n", at) + 7;
        *dictionary = pdf.substr(at, body - at);
        const size_t length = std::stoul(dictionary->substr(dictionary->find("/Length ") + 8));
        EXPECT_EQ(pdf.compare(body + length, 10, "\nendstream"), 0);
        return pdf.substr(body, length);
    };
    std::string dictionary;
    EXPECT_EQ(streamOf(plain, &dictionary), "raw bytes");
    EXPECT_EQ(dictionary.find("/Filter"), std::string::npos);
    const std::string deflated = streamOf(packed, &dictionary);
    EXPECT_NE(dictionary.find("/Filter /FlateDecode /Type /Test"), std::string::npos) << dictionary;
    EXPECT_LT(deflated.size(), content.size() / 10);
    std::string inflated(content.size() + 16, '\0');
    uLongf size = inflated.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(&inflated[0]), &size, reinterpret_cast<const Bytef*>(deflated.data()),
                         deflated.size()),
              Z_OK);
    inflated.resize(size);
    EXPECT_EQ(inflated, content);
}

TEST(PdfWriter, AMissingObjectOrAFailingSinkFailsTheFile) {
    Written file;
    PdfWriter missing(file.Sink());
    const int catalog = missing.Reserve(), info = missing.Reserve();
    missing.Reserve();  // never written
    missing.Begin(catalog);
    missing.End();
    missing.Begin(info);
    missing.End();
    EXPECT_FALSE(missing.Finish(catalog, info));

    // The sink stops after 100 kB: what follows is not written, and the end says so.
    Written full;
    full.failAfter = 100000;
    PdfWriter w(full.Sink());
    const int a = w.Reserve(), b = w.Reserve();
    std::string noise;
    for (uint32_t i = 0; i < 400000; ++i) noise.push_back(static_cast<char>((i * 7919u) >> 3));
    w.Stream(a, "", noise, false);
    w.Begin(b);
    w.End();
    EXPECT_FALSE(w.Finish(a, b));
    EXPECT_TRUE(w.Failed());
    EXPECT_LE(full.bytes.size(), 100000u);
}

}  // namespace
}  // namespace velorin::test
