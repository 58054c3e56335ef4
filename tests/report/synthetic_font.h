// A small TrueType font built in memory for the font reader's tests and the fuzz seeds, and a
// reader of the raw outlines of a font's glyphs to check a subset against.
//
// Glyphs (2048 units per em, short glyph index):
//   0 a box, 1 "A", 2 " " (no outline), 3 "Ä" = composite of 1 and 4, 4 a dot, 5 "中".
// Advances 500, 600, 250, 600, 200, 2048. The character map is format 4, or format 12 (which
// also maps U+20000 to glyph 5) when asked.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velorin::test {

inline void Put16(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
    s.push_back(static_cast<char>(v & 0xFF));
}
inline void Put32(std::string& s, uint32_t v) {
    Put16(s, v >> 16);
    Put16(s, v & 0xFFFF);
}
inline uint32_t Get16(const std::string& s, size_t at) {
    return at + 2 <= s.size()
               ? (static_cast<uint32_t>(static_cast<unsigned char>(s[at])) << 8) | static_cast<unsigned char>(s[at + 1])
               : 0;
}
inline uint32_t Get32(const std::string& s, size_t at) { return (Get16(s, at) << 16) | Get16(s, at + 2); }

// A simple glyph: one contour of four on-curve points around (x0, y0)–(x1, y1).
inline std::string BoxOutline(int x0, int y0, int x1, int y1) {
    std::string g;
    Put16(g, 1);
    for (int v : {x0, y0, x1, y1}) Put16(g, static_cast<uint16_t>(v));
    Put16(g, 3);  // last point of the contour
    Put16(g, 0);  // no instructions
    for (int k = 0; k < 4; ++k) g.push_back('\x01');
    for (int v : {x0, x1 - x0, 0, x0 - x1}) Put16(g, static_cast<uint16_t>(v));  // x deltas
    for (int v : {y0, 0, y1 - y0, 0}) Put16(g, static_cast<uint16_t>(v));        // y deltas
    return g;
}

inline std::string SyntheticFont(bool format12 = false) {
    std::vector<std::string> glyphs(6);
    glyphs[0] = BoxOutline(100, 0, 400, 700);
    glyphs[1] = BoxOutline(0, 0, 600, 1400);
    // glyphs[2] stays empty: a blank.
    std::string composite;
    Put16(composite, 0xFFFF);  // −1 contours
    for (int v : {0, 0, 600, 1800}) Put16(composite, static_cast<uint16_t>(v));
    Put16(composite, 0x0001 | 0x0002 | 0x0020);  // words, x/y offsets, more components
    Put16(composite, 1);
    Put32(composite, 0);
    Put16(composite, 0x0001 | 0x0002 | 0x0008);  // words, x/y offsets, a scale
    Put16(composite, 4);
    Put16(composite, 200);
    Put16(composite, 1500);
    Put16(composite, 0x4000);  // scale 1.0 (2.14)
    glyphs[3] = composite;
    glyphs[4] = BoxOutline(0, 0, 200, 200);
    glyphs[5] = BoxOutline(100, -200, 1900, 1700);
    const uint16_t advances[6] = {500, 600, 250, 600, 200, 2048};

    std::string glyf, loca, hmtx;
    for (int g = 0; g < 6; ++g) {
        Put16(loca, static_cast<uint32_t>(glyf.size() / 2));
        glyf += glyphs[static_cast<size_t>(g)];
        while (glyf.size() % 2 != 0) glyf.push_back('\0');
        Put16(hmtx, advances[g]);
        Put16(hmtx, 0);
    }
    Put16(loca, static_cast<uint32_t>(glyf.size() / 2));

    std::string head;
    Put32(head, 0x00010000);
    Put32(head, 0x00010000);
    Put32(head, 0);  // checkSumAdjustment
    Put32(head, 0x5F0F3CF5);
    Put16(head, 0);     // flags
    Put16(head, 2048);  // units per em
    head.append(16, '\0');
    for (int v : {-100, -300, 2000, 1800}) Put16(head, static_cast<uint16_t>(v));
    Put16(head, 0);  // mac style
    Put16(head, 8);  // lowest readable size
    Put16(head, 2);  // direction hint
    Put16(head, 0);  // short glyph index
    Put16(head, 0);
    std::string hhea;
    Put32(hhea, 0x00010000);
    for (int v : {1800, -300, 0}) Put16(hhea, static_cast<uint16_t>(v));
    hhea.append(24, '\0');
    Put16(hhea, 6);  // metrics for every glyph
    std::string maxp;
    Put32(maxp, 0x00010000);
    Put16(maxp, 6);
    maxp.append(26, '\0');

    // (first, last, glyph of first) ranges mapped with a delta.
    const std::vector<std::pair<std::pair<uint32_t, uint32_t>, uint32_t>> ranges = {
        {{0x20, 0x20}, 2}, {{0x41, 0x41}, 1}, {{0xC4, 0xC4}, 3}, {{0x4E2D, 0x4E2D}, 5}};
    std::string subtable;
    if (format12) {
        std::vector<std::pair<std::pair<uint32_t, uint32_t>, uint32_t>> groups = ranges;
        groups.push_back({{0x20000, 0x20000}, 5});
        Put16(subtable, 12);
        Put16(subtable, 0);
        Put32(subtable, static_cast<uint32_t>(16 + 12 * groups.size()));
        Put32(subtable, 0);
        Put32(subtable, static_cast<uint32_t>(groups.size()));
        for (const auto& g : groups) {
            Put32(subtable, g.first.first);
            Put32(subtable, g.first.second);
            Put32(subtable, g.second);
        }
    } else {
        const uint32_t segments = static_cast<uint32_t>(ranges.size() + 1);
        Put16(subtable, 4);
        Put16(subtable, 16 + 8 * segments);
        Put16(subtable, 0);
        Put16(subtable, 2 * segments);
        for (int k = 0; k < 3; ++k) Put16(subtable, 0);  // search hints (unused)
        for (const auto& r : ranges) Put16(subtable, r.first.second);
        Put16(subtable, 0xFFFF);
        Put16(subtable, 0);
        for (const auto& r : ranges) Put16(subtable, r.first.first);
        Put16(subtable, 0xFFFF);
        for (const auto& r : ranges) Put16(subtable, (r.second - r.first.first) & 0xFFFF);
        Put16(subtable, 1);
        for (uint32_t k = 0; k < segments; ++k) Put16(subtable, 0);
    }
    std::string cmap;
    Put16(cmap, 0);
    Put16(cmap, 1);
    Put16(cmap, 3);
    Put16(cmap, format12 ? 10 : 1);
    Put32(cmap, 12);
    cmap += subtable;

    std::string name;
    const std::string postScript = "Synth-Regular";
    Put16(name, 0);
    Put16(name, 1);
    Put16(name, 6 + 12);
    for (uint32_t v : {3u, 1u, 0x409u, 6u, static_cast<uint32_t>(2 * postScript.size()), 0u}) Put16(name, v);
    for (char c : postScript) Put16(name, static_cast<unsigned char>(c));

    const std::vector<std::pair<std::string, std::string*>> tables = {{"cmap", &cmap}, {"glyf", &glyf}, {"head", &head},
                                                                      {"hhea", &hhea}, {"hmtx", &hmtx}, {"loca", &loca},
                                                                      {"maxp", &maxp}, {"name", &name}};
    std::string font;
    Put32(font, 0x00010000);
    Put16(font, static_cast<uint32_t>(tables.size()));
    Put16(font, 128);
    Put16(font, 3);
    Put16(font, 0);
    uint32_t offset = static_cast<uint32_t>(12 + 16 * tables.size());
    for (const auto& t : tables) {
        font += t.first;
        Put32(font, 0);
        Put32(font, offset);
        Put32(font, static_cast<uint32_t>(t.second->size()));
        offset += static_cast<uint32_t>((t.second->size() + 3) / 4 * 4);
    }
    for (const auto& t : tables) {
        font += *t.second;
        while (font.size() % 4 != 0) font.push_back('\0');
    }
    return font;
}

// Where table `tag` lies in `font` (a single-face font file); {0, 0} when it has none.
inline std::pair<uint32_t, uint32_t> TableOf(const std::string& font, const char* tag) {
    const uint32_t count = Get16(font, 4);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = 12 + 16 * i;
        if (font.compare(at, 4, tag) == 0) return {Get32(font, at + 8), Get32(font, at + 12)};
    }
    return {0, 0};
}

// The outline bytes of `glyph` (the loca format as head says).
inline std::string OutlineOf(const std::string& font, uint32_t glyph) {
    const auto head = TableOf(font, "head"), loca = TableOf(font, "loca"), glyf = TableOf(font, "glyf");
    const bool longLoca = Get16(font, head.first + 50) == 1;
    const auto at = [&](uint32_t g) {
        return longLoca ? Get32(font, loca.first + 4 * g) : 2 * Get16(font, loca.first + 2 * g);
    };
    const uint32_t from = at(glyph), to = at(glyph + 1);
    if (to <= from) return std::string();
    return font.substr(glyf.first + from, to - from);
}

}  // namespace velorin::test
