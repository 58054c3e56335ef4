// The TrueType reader behind the PDF writer: characters to glyphs through both kinds of character
// map, advances, the subset that is embedded (renumbered glyphs, composites and their parts,
// metrics, a valid checksum), fonts it must refuse without reading outside their bytes, and the
// report font of this machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/report_font.h"
#include "report/synthetic_font.h"
#include "report/truetype_font.h"

namespace velorin::test {
namespace {

std::unique_ptr<TrueTypeFont> Load(const std::string& bytes, int face = 0) {
    std::string error;
    auto font = TrueTypeFont::LoadBytes(bytes, face, &error);
    EXPECT_TRUE(font != nullptr || !error.empty());
    return font;
}

TEST(TrueTypeFont, MapsCharactersThroughEitherCharacterMap) {
    for (const bool format12 : {false, true}) {
        SCOPED_TRACE(format12 ? "format 12" : "format 4");
        const auto font = Load(SyntheticFont(format12));
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->UnitsPerEm(), 2048);
        EXPECT_EQ(font->GlyphCount(), 6);
        EXPECT_EQ(font->GlyphFor(' '), 2);
        EXPECT_EQ(font->GlyphFor('A'), 1);
        EXPECT_EQ(font->GlyphFor(0xC4), 3);
        EXPECT_EQ(font->GlyphFor(0x4E2D), 5);
        // Characters between and beyond the mapped ones have no glyph.
        for (uint32_t c : {0x1Fu, 0x21u, 0x42u, 0x4E2Cu, 0x4E2Eu, 0xFFFFu, 0x10FFFFu})
            EXPECT_EQ(font->GlyphFor(c), 0) << c;
        EXPECT_EQ(font->GlyphFor(0x20000), format12 ? 5 : 0);
        EXPECT_EQ(font->Advance(1), 600);
        EXPECT_EQ(font->Advance(5), 2048);
        EXPECT_EQ(font->Advance(6), 0);
        EXPECT_EQ(font->XMin(), -100);
        EXPECT_EQ(font->YMin(), -300);
        EXPECT_EQ(font->XMax(), 2000);
        EXPECT_EQ(font->YMax(), 1800);
        EXPECT_EQ(font->PostScriptName(), "Synth-Regular");
    }
}

TEST(TrueTypeFont, SubsetRenumbersGlyphsAndCarriesTheirPartsAndMetrics) {
    const std::string original = SyntheticFont();
    const auto font = Load(original);
    ASSERT_NE(font, nullptr);
    std::vector<uint16_t> order;
    const std::string subset = font->Subset({5, 3}, &order);
    // The document's glyphs first, then the parts of the composite as they were found.
    EXPECT_EQ(order, (std::vector<uint16_t>{0, 5, 3, 1, 4}));

    const auto again = Load(subset);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GlyphCount(), 5);
    EXPECT_EQ(again->UnitsPerEm(), 2048);
    for (uint16_t g = 0; g < 5; ++g) EXPECT_EQ(again->Advance(g), font->Advance(order[g])) << g;
    // Simple outlines are copied as they are (then padded); the composite names its parts by
    // their new numbers.
    for (uint16_t g : {0, 1, 3, 4}) {
        const std::string before = OutlineOf(original, order[g]);
        EXPECT_EQ(OutlineOf(subset, g).substr(0, before.size()), before) << g;
    }
    const std::string composite = OutlineOf(subset, 2);
    EXPECT_EQ(Get16(composite, 12), 3u);  // first part: old glyph 1
    EXPECT_EQ(Get16(composite, 20), 4u);  // second part: old glyph 4
    const std::string before = OutlineOf(original, 3);
    EXPECT_EQ(composite.substr(0, 12), before.substr(0, 12));
    EXPECT_EQ(composite.substr(14, 6), before.substr(14, 6));
    EXPECT_EQ(composite.substr(22, before.size() - 22), before.substr(22));

    // The whole font sums to the value its head's adjustment promises.
    uint32_t sum = 0;
    for (size_t at = 0; at < subset.size(); at += 4) sum += Get32(subset, at);
    EXPECT_EQ(subset.size() % 4, 0u);
    EXPECT_EQ(sum, 0xB1B0AFBAu);

    // Asking twice for a glyph, for glyph 0 or for one the font lacks adds nothing.
    font->Subset({1, 1, 0, 77}, &order);
    EXPECT_EQ(order, (std::vector<uint16_t>{0, 1}));
}

TEST(TrueTypeFont, RefusesWhatItCannotUseWithoutReadingOutsideTheBytes) {
    const std::string font = SyntheticFont();
    // Every shorter prefix: cut tables must be refused (the sanitizer build sees any stray read).
    for (size_t size = 0; size < font.size(); ++size) {
        const auto cut = Load(font.substr(0, size));
        if (cut) {
            std::vector<uint16_t> order;
            cut->Subset({1, 3, 5}, &order);
            for (uint32_t c = 0; c < 0x5000; c += 7) cut->GlyphFor(c);
        }
    }
    EXPECT_EQ(Load(font.substr(0, font.size() - 200)), nullptr);

    std::string error;
    std::string otto = font;
    otto.replace(0, 4, "OTTO");
    EXPECT_EQ(TrueTypeFont::LoadBytes(otto, 0, &error), nullptr);
    EXPECT_NE(error.find("PostScript"), std::string::npos) << error;
    EXPECT_EQ(Load(font, 1), nullptr);  // one face only

    // A table said to lie beyond the end of the file.
    std::string far = font;
    far[12 + 16 * 1 + 8] = '\x7F';  // glyf's offset
    EXPECT_EQ(Load(far), nullptr);
    // Offsets and counts inside the tables that point nowhere read as nothing.
    std::string wild = font;
    const auto cmap = TableOf(font, "cmap");
    wild[cmap.first + 2] = '\x7F';  // thousands of subtable records
    wild[cmap.first + 3] = '\x01';
    const auto loca = TableOf(font, "loca");
    wild[loca.first + 2] = '\x7F';  // glyph 1 ends far beyond the outlines
    const auto broken = Load(wild);
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(broken->GlyphFor('A'), 1);
    std::vector<uint16_t> order;
    const std::string subset = broken->Subset({1, 3}, &order);
    EXPECT_TRUE(OutlineOf(subset, 1).empty());
    EXPECT_FALSE(OutlineOf(subset, 3).empty());  // glyph 4, the composite's second part
    // Glyphs 0 and 1 now have no outline: a subset of them has none at all, and still every
    // table a font needs.
    const auto blank = Load(broken->Subset({1}, &order));
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->GlyphCount(), 2);
    EXPECT_EQ(blank->Advance(1), 600);
}

TEST(TrueTypeFont, CollectionFacesAreFoundByTheirIndex) {
    // Two faces: the synthetic font twice, the second one's tables shifted behind the first.
    const std::string face = SyntheticFont();
    std::string ttc = "ttcf";
    Put32(ttc, 0x00010000);
    Put32(ttc, 2);
    Put32(ttc, 20);
    Put32(ttc, static_cast<uint32_t>(20 + face.size()));
    std::string first = face, second = face;
    const uint32_t count = Get16(face, 4);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = 12 + 16 * i + 8;
        std::string bytes;
        Put32(bytes, Get32(face, at) + 20);
        first.replace(at, 4, bytes);
        bytes.clear();
        Put32(bytes, Get32(face, at) + 20 + static_cast<uint32_t>(face.size()));
        second.replace(at, 4, bytes);
    }
    ttc += first + second;
    for (int index : {0, 1}) {
        const auto font = Load(ttc, index);
        ASSERT_NE(font, nullptr) << index;
        EXPECT_EQ(font->GlyphFor(0x4E2D), 5);
        std::vector<uint16_t> order;
        EXPECT_EQ(OutlineOf(font->Subset({5}, &order), 1).substr(0, 34), OutlineOf(face, 5));
    }
    EXPECT_EQ(Load(ttc, 2), nullptr);
    EXPECT_EQ(Load(ttc, -1), nullptr);
}

TEST(TrueTypeFont, TheReportFontOfThisMachine) {
    const ReportFontMatch match = MatchReportFont();
    ASSERT_TRUE(match.IsCjk()) << "fonts-arphic-uming is missing; found " << match.family;
    std::string error;
    const auto font = TrueTypeFont::LoadFile(match.file, match.face, &error);
    ASSERT_NE(font, nullptr) << error;
    // Latin glyphs are half an em, Chinese ones a whole em: the report's layout relies on it.
    for (uint32_t c : {'0', '9', 'A', 'z', ' ', ':', '/'}) {
        EXPECT_EQ(font->Advance(font->GlyphFor(c)) * 2, font->UnitsPerEm()) << c;
    }
    for (uint32_t c : {0x6E29u, 0x5EA6u, 0x2103u}) {  // 温 度 ℃
        EXPECT_NE(font->GlyphFor(c), 0) << c;
        EXPECT_EQ(font->Advance(font->GlyphFor(c)), font->UnitsPerEm()) << c;
    }
    std::vector<uint16_t> order;
    const std::string subset = font->Subset({font->GlyphFor('A'), font->GlyphFor(0x6E29)}, &order);
    const auto again = TrueTypeFont::LoadBytes(subset, 0, &error);
    ASSERT_NE(again, nullptr) << error;
    EXPECT_EQ(again->GlyphCount(), static_cast<int>(order.size()));
    EXPECT_FALSE(OutlineOf(subset, 1).empty());
    EXPECT_FALSE(OutlineOf(subset, 2).empty());
    EXPECT_LT(subset.size(), 64u * 1024);
}

}  // namespace
}  // namespace velorin::test
