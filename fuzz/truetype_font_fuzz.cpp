// Feeds arbitrary bytes to the TrueType reader as face 0 and 1 of a font file. Whatever loads
// must answer every question without reading outside its bytes, and its subset must load again
// with the glyphs it was asked for, in order, with their advances.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "report/truetype_font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using velorin::TrueTypeFont;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (int face : {0, 1}) {
        std::string error;
        const auto font = TrueTypeFont::LoadBytes(bytes, face, &error);
        if (!font) {
            if (error.empty()) std::abort();  // a refusal always says why
            continue;
        }
        std::vector<uint16_t> glyphs;
        for (uint32_t c : {0x20u, 0x30u, 0x41u, 0xC4u, 0x2103u, 0x4E2Du, 0x6E29u, 0xFFFFu, 0x20000u}) {
            const uint16_t g = font->GlyphFor(c);
            if (g >= font->GlyphCount() && g != 0) std::abort();
            if (g != 0 && std::find(glyphs.begin(), glyphs.end(), g) == glyphs.end()) glyphs.push_back(g);
        }
        for (int g = 1; g < font->GlyphCount() && glyphs.size() < 24; g += 1 + g / 4) {
            if (std::find(glyphs.begin(), glyphs.end(), g) == glyphs.end()) glyphs.push_back(static_cast<uint16_t>(g));
        }
        std::vector<uint16_t> order;
        const std::string subset = font->Subset(glyphs, &order);
        if (subset.empty()) std::abort();  // the bytes are all in memory
        if (order.size() < glyphs.size() + 1 || order[0] != 0) std::abort();
        for (size_t k = 0; k < glyphs.size(); ++k) {
            if (order[k + 1] != glyphs[k]) std::abort();
        }
        const auto again = TrueTypeFont::LoadBytes(subset, 0, &error);
        if (!again || again->GlyphCount() != static_cast<int>(order.size())) std::abort();
        for (size_t k = 0; k < order.size(); ++k) {
            if (again->Advance(static_cast<uint16_t>(k)) != font->Advance(order[k])) std::abort();
        }
    }
    return 0;
}
