// One face of a TrueType font file (.ttf, or one face of a .ttc collection) as the PDF writer
// needs it: the glyph of a character, glyph advances, the figures of a PDF font descriptor, and
// a subset holding only the glyphs a document uses, to embed.
//
// A font file is read in parts: Load() reads the table directory and the small tables (a CJK
// font's outlines are tens of megabytes, of which a report uses a few hundred glyphs); Subset()
// reads the outlines it needs. The file is untrusted: every offset, length and count is checked
// before it is used, and a face without what is needed (no glyph outlines, say a CFF-flavoured
// OpenType font) is refused as a whole.
//
// Read-only after Load(); Subset() opens the file anew, so one object may serve several threads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velorin {

class TrueTypeFont {
public:
    // Face `face` of the font file at `path`; null with `error` set when it cannot be used.
    static std::unique_ptr<TrueTypeFont> LoadFile(const std::string& path, int face, std::string* error);
    // The same from the bytes of a font file held in memory.
    static std::unique_ptr<TrueTypeFont> LoadBytes(std::string bytes, int face, std::string* error);

    // The glyph of Unicode character `codePoint`, 0 (the missing-glyph box) when there is none.
    uint16_t GlyphFor(uint32_t codePoint) const;
    // The advance of `glyph` in font units (0 for a glyph the font does not have).
    uint16_t Advance(uint16_t glyph) const;
    int UnitsPerEm() const { return unitsPerEm_; }
    int GlyphCount() const { return glyphCount_; }
    // The bounding box of all glyphs, font units.
    int XMin() const { return xMin_; }
    int YMin() const { return yMin_; }
    int XMax() const { return xMax_; }
    int YMax() const { return yMax_; }
    // The PostScript name (name ID 6) as a PDF name may hold it, or "" when there is none.
    const std::string& PostScriptName() const { return postScriptName_; }

    // A TrueType font (the tables a PDF needs of an embedded font) holding the missing-glyph
    // box as glyph 0, then `glyphs` in their order as glyphs 1, 2, …, then the glyphs composite
    // glyphs among them are built from. `glyphs` holds distinct glyphs other than 0. `order`
    // receives the original glyph of every glyph of the subset. Its character map maps the
    // characters of `characters` (code point, original glyph among `glyphs`; Basic Multilingual
    // Plane) to their glyphs, where a PDF font reads glyphs by character; else it is empty. ""
    // when the outlines cannot be read (the file went away or changed).
    using CharacterMap = std::vector<std::pair<uint32_t, uint16_t>>;
    std::string Subset(const std::vector<uint16_t>& glyphs, std::vector<uint16_t>* order,
                       const CharacterMap& characters = CharacterMap()) const;

private:
    TrueTypeFont() = default;
    struct Table {
        uint32_t offset = 0, length = 0;
        bool present = false;
    };
    bool Parse(int face, std::string* error);
    // Reads `length` bytes at `offset` of the file; false when they are not all there.
    bool ReadAt(uint64_t offset, uint32_t length, std::string* out) const;
    bool ReadTable(const Table& where, std::string* out) const;
    bool ReadCmap();
    void ReadName(const std::string& name);

    // The file's bytes (LoadBytes) or its path (LoadFile, read on demand).
    std::string memory_;
    std::string path_;
    bool inMemory_ = false;
    uint64_t fileSize_ = 0;

    int unitsPerEm_ = 1000;
    int glyphCount_ = 0;
    int metricCount_ = 0;
    int xMin_ = 0, yMin_ = 0, xMax_ = 0, yMax_ = 0;
    bool longLoca_ = false;
    Table glyf_;
    std::string head_, hhea_, maxp_, hmtx_, loca_, cvt_, fpgm_, prep_, cmap_;
    // The Unicode subtable used: its offset in cmap_ and its format (4 or 12; 0 for none).
    uint32_t cmapSubtable_ = 0;
    int cmapFormat_ = 0;
    std::string postScriptName_;
};

}  // namespace velorin
