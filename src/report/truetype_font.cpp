#include "report/truetype_font.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace velorin {

namespace {

// Big-endian reads from a byte string; 0 where the string ends (a malformed font reads as
// zeros, never outside its bytes).
uint16_t U16(std::string_view s, uint64_t at) {
    if (at + 2 > s.size()) return 0;
    return static_cast<uint16_t>((static_cast<unsigned char>(s[at]) << 8) | static_cast<unsigned char>(s[at + 1]));
}
int16_t S16(std::string_view s, uint64_t at) { return static_cast<int16_t>(U16(s, at)); }
uint32_t U32(std::string_view s, uint64_t at) { return (static_cast<uint32_t>(U16(s, at)) << 16) | U16(s, at + 2); }

void Put16(std::string& s, uint16_t v) {
    s.push_back(static_cast<char>(v >> 8));
    s.push_back(static_cast<char>(v & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, static_cast<uint16_t>(v >> 16));
    Put16(s, static_cast<uint16_t>(v & 0xFFFF));
}
void Set16(std::string& s, size_t at, uint16_t v) {
    if (at + 2 > s.size()) return;
    s[at] = static_cast<char>(v >> 8);
    s[at + 1] = static_cast<char>(v & 0xFF);
}
void Set32(std::string& s, size_t at, uint32_t v) {
    Set16(s, at, static_cast<uint16_t>(v >> 16));
    Set16(s, at + 2, static_cast<uint16_t>(v & 0xFFFF));
}

uint32_t Checksum(std::string_view table) {
    uint32_t sum = 0;
    for (size_t at = 0; at < table.size(); at += 4) {
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k) {
            word = (word << 8) | (at + k < table.size() ? static_cast<unsigned char>(table[at + k]) : 0u);
        }
        sum += word;
    }
    return sum;
}

// The small tables are read whole; none of a usable font comes near this.
constexpr uint32_t kTableLimit = 16u << 20;

// Composite glyph component flags.
constexpr uint16_t kArgsAreWords = 0x0001;
constexpr uint16_t kHaveScale = 0x0008;
constexpr uint16_t kMoreComponents = 0x0020;
constexpr uint16_t kHaveXYScale = 0x0040;
constexpr uint16_t kHaveTwoByTwo = 0x0080;

// Calls `component(offsetOfGlyphIndex)` for every component of a composite glyph's outline;
// false when the outline ends inside a component.
template <typename F>
bool ForEachComponent(std::string_view glyph, F component) {
    size_t at = 10;
    for (;;) {
        if (at + 4 > glyph.size()) return false;
        const uint16_t flags = U16(glyph, at);
        component(at + 2);
        at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
        if (flags & kHaveScale) at += 2;
        if (flags & kHaveXYScale) at += 4;
        if (flags & kHaveTwoByTwo) at += 8;
        if (at > glyph.size()) return false;
        if (!(flags & kMoreComponents)) return true;
    }
}

}  // namespace

std::unique_ptr<TrueTypeFont> TrueTypeFont::LoadFile(const std::string& path, int face, std::string* error) {
    std::unique_ptr<TrueTypeFont> font(new TrueTypeFont());
    font->path_ = path;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = "the font file cannot be read";
        return nullptr;
    }
    font->fileSize_ = static_cast<uint64_t>(st.st_size);
    if (!font->Parse(face, error)) return nullptr;
    return font;
}

std::unique_ptr<TrueTypeFont> TrueTypeFont::LoadBytes(std::string bytes, int face, std::string* error) {
    std::unique_ptr<TrueTypeFont> font(new TrueTypeFont());
    font->memory_ = std::move(bytes);
    font->inMemory_ = true;
    font->fileSize_ = font->memory_.size();
    if (!font->Parse(face, error)) return nullptr;
    return font;
}

bool TrueTypeFont::ReadAt(uint64_t offset, uint32_t length, std::string* out) const {
    out->clear();
    if (offset > fileSize_ || length > fileSize_ - offset) return false;
    if (inMemory_) {
        out->assign(memory_, static_cast<size_t>(offset), length);
        return true;
    }
    const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    out->resize(length);
    size_t done = 0;
    while (done < length) {
        const ssize_t n = pread(fd, &(*out)[done], length - done, static_cast<off_t>(offset + done));
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    close(fd);
    if (done != length) {
        out->clear();
        return false;
    }
    return true;
}

bool TrueTypeFont::ReadTable(const Table& where, std::string* out) const {
    if (!where.present) {
        out->clear();
        return true;
    }
    if (where.length > kTableLimit) return false;
    return ReadAt(where.offset, where.length, out);
}

bool TrueTypeFont::Parse(int face, std::string* error) {
    const auto fail = [error](const char* why) {
        if (error) *error = why;
        return false;
    };
    std::string header;
    if (!ReadAt(0, 12, &header)) return fail("not a font file");
    uint32_t faceOffset = 0;
    if (header.compare(0, 4, "ttcf") == 0) {
        const uint32_t faces = U32(header, 8);
        if (face < 0 || static_cast<uint32_t>(face) >= faces) return fail("the font collection has no such face");
        std::string entry;
        if (!ReadAt(12 + 4ull * static_cast<uint32_t>(face), 4, &entry))
            return fail("the font collection is cut short");
        faceOffset = U32(entry, 0);
        if (!ReadAt(faceOffset, 12, &header)) return fail("the font collection is cut short");
    } else if (face != 0) {
        return fail("the font file has one face");
    }
    const uint32_t version = U32(header, 0);
    if (version == 0x4F54544Fu) return fail("the font has PostScript outlines");               // 'OTTO'
    if (version != 0x00010000u && version != 0x74727565u) return fail("not a TrueType font");  // 'true'
    const uint16_t tableCount = U16(header, 4);
    std::string directory;
    if (!ReadAt(faceOffset + 12ull, 16u * tableCount, &directory)) return fail("the font's tables are cut short");
    Table head, hhea, maxp, hmtx, loca, cmap, name, cvt, fpgm, prep;
    const struct {
        const char* tag;
        Table* table;
    } wanted[] = {{"head", &head}, {"hhea", &hhea}, {"maxp", &maxp}, {"hmtx", &hmtx}, {"loca", &loca}, {"glyf", &glyf_},
                  {"cmap", &cmap}, {"name", &name}, {"cvt ", &cvt},  {"fpgm", &fpgm}, {"prep", &prep}};
    for (uint16_t i = 0; i < tableCount; ++i) {
        const size_t at = 16u * i;
        for (const auto& w : wanted) {
            if (directory.compare(at, 4, w.tag) != 0) continue;
            w.table->offset = U32(directory, at + 8);
            w.table->length = U32(directory, at + 12);
            w.table->present = w.table->offset <= fileSize_ && w.table->length <= fileSize_ - w.table->offset;
            if (!w.table->present) return fail("a font table lies outside the file");
        }
    }
    if (!head.present || !hhea.present || !maxp.present || !hmtx.present || !loca.present || !glyf_.present ||
        !cmap.present) {
        return fail("the font lacks TrueType outlines or a character map");
    }
    std::string nameTable;
    if (!ReadTable(head, &head_) || !ReadTable(hhea, &hhea_) || !ReadTable(maxp, &maxp_) || !ReadTable(hmtx, &hmtx_) ||
        !ReadTable(loca, &loca_) || !ReadTable(cmap, &cmap_) || !ReadTable(name, &nameTable) ||
        !ReadTable(cvt, &cvt_) || !ReadTable(fpgm, &fpgm_) || !ReadTable(prep, &prep_)) {
        return fail("a font table cannot be read");
    }
    if (head_.size() < 54 || hhea_.size() < 36 || maxp_.size() < 6) return fail("a font table is cut short");
    unitsPerEm_ = U16(head_, 18);
    if (unitsPerEm_ < 16 || unitsPerEm_ > 16384) return fail("the font's units per em are out of range");
    xMin_ = S16(head_, 36);
    yMin_ = S16(head_, 38);
    xMax_ = S16(head_, 40);
    yMax_ = S16(head_, 42);
    longLoca_ = S16(head_, 50) == 1;
    glyphCount_ = U16(maxp_, 4);
    metricCount_ = std::min<int>(U16(hhea_, 34), glyphCount_);
    if (glyphCount_ == 0 || metricCount_ == 0) return fail("the font has no glyphs");
    if (hmtx_.size() < 4ull * metricCount_) return fail("the font's metrics are cut short");
    if (loca_.size() < (longLoca_ ? 4ull : 2ull) * (glyphCount_ + 1ull))
        return fail("the font's glyph index is cut short");
    if (!ReadCmap()) return fail("the font has no Unicode character map");
    ReadName(nameTable);
    return true;
}

bool TrueTypeFont::ReadCmap() {
    const uint16_t count = U16(cmap_, 2);
    // Preferred: a full-Unicode format 12 map, then a format 4 map of the Basic Multilingual Plane.
    int best = 0;
    for (uint16_t i = 0; i < count; ++i) {
        const uint64_t record = 4 + 8ull * i;
        if (record + 8 > cmap_.size()) break;
        const uint16_t platform = U16(cmap_, record);
        const uint16_t encoding = U16(cmap_, record + 2);
        const uint32_t offset = U32(cmap_, record + 4);
        const bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        if (!unicode || offset + 4ull > cmap_.size()) continue;
        const uint16_t format = U16(cmap_, offset);
        const int rank = format == 12 ? 2 : format == 4 ? 1 : 0;
        if (rank > best) {
            best = rank;
            cmapSubtable_ = offset;
            cmapFormat_ = format;
        }
    }
    return best > 0;
}

void TrueTypeFont::ReadName(const std::string& name) {
    const uint16_t count = U16(name, 2);
    const uint16_t strings = U16(name, 4);
    std::string found;
    int foundRank = 0;
    for (uint16_t i = 0; i < count; ++i) {
        const uint64_t record = 6 + 12ull * i;
        if (record + 12 > name.size()) break;
        if (U16(name, record + 6) != 6) continue;
        const uint16_t platform = U16(name, record);
        const uint16_t length = U16(name, record + 8);
        const uint64_t at = static_cast<uint64_t>(strings) + U16(name, record + 10);
        if (at + length > name.size()) continue;
        // Windows names are UTF-16BE; Macintosh Roman names are one byte a character.
        const bool wide = platform == 3 || platform == 0;
        const int rank = wide ? 2 : platform == 1 ? 1 : 0;
        if (rank <= foundRank) continue;
        std::string text;
        for (uint64_t k = 0; k < length; k += wide ? 2 : 1) {
            const unsigned c = wide ? U16(name, at + k) : static_cast<unsigned char>(name[at + k]);
            // A PDF name without escapes: printable ASCII without the PDF's delimiters.
            if (c > 32 && c < 127 && !std::strchr("()<>[]{}/%#", static_cast<int>(c)))
                text.push_back(static_cast<char>(c));
        }
        if (text.empty()) continue;
        found = text;
        foundRank = rank;
    }
    postScriptName_ = found.substr(0, 63);
}

uint16_t TrueTypeFont::GlyphFor(uint32_t c) const {
    const std::string_view m(cmap_);
    const uint64_t t = cmapSubtable_;
    uint32_t glyph = 0;
    if (cmapFormat_ == 12) {
        const uint32_t groups = U32(m, t + 12);
        uint64_t lo = 0, hi = std::min<uint64_t>(groups, (m.size() - std::min<uint64_t>(m.size(), t + 16)) / 12);
        while (lo < hi) {
            const uint64_t mid = (lo + hi) / 2;
            const uint64_t g = t + 16 + 12 * mid;
            if (c > U32(m, g + 4)) {
                lo = mid + 1;
            } else if (c < U32(m, g)) {
                hi = mid;
            } else {
                glyph = U32(m, g + 8) + (c - U32(m, g));
                break;
            }
        }
    } else if (cmapFormat_ == 4 && c <= 0xFFFF) {
        const uint32_t segments = U16(m, t + 6) / 2u;
        const uint64_t ends = t + 14, starts = ends + 2ull * segments + 2, deltas = starts + 2ull * segments,
                       ranges = deltas + 2ull * segments;
        uint32_t lo = 0, hi = segments;
        while (lo < hi) {  // the first segment whose end is at or above c
            const uint32_t mid = (lo + hi) / 2;
            if (U16(m, ends + 2ull * mid) < c)
                lo = mid + 1;
            else
                hi = mid;
        }
        if (lo < segments && U16(m, starts + 2ull * lo) <= c) {
            const uint16_t start = U16(m, starts + 2ull * lo);
            const uint16_t delta = U16(m, deltas + 2ull * lo);
            const uint16_t range = U16(m, ranges + 2ull * lo);
            if (range == 0) {
                glyph = (c + delta) & 0xFFFFu;
            } else {
                const uint16_t g = U16(m, ranges + 2ull * lo + range + 2ull * (c - start));
                glyph = g == 0 ? 0 : (g + delta) & 0xFFFFu;
            }
        }
    }
    return glyph < static_cast<uint32_t>(glyphCount_) ? static_cast<uint16_t>(glyph) : 0;
}

uint16_t TrueTypeFont::Advance(uint16_t glyph) const {
    if (glyph >= glyphCount_) return 0;
    const int entry = std::min<int>(glyph, metricCount_ - 1);
    return U16(hmtx_, 4ull * entry);
}

std::string TrueTypeFont::Subset(const std::vector<uint16_t>& glyphs, std::vector<uint16_t>* order,
                                 const CharacterMap& characters) const {
    // New glyph numbers: 0 stays 0, the document's glyphs follow in their order, and the parts of
    // composites are appended as they are found.
    std::vector<int32_t> renumbered(static_cast<size_t>(glyphCount_), -1);
    std::vector<uint16_t>& old = *order;
    old.assign(1, 0);
    renumbered[0] = 0;
    for (uint16_t g : glyphs) {
        if (g < glyphCount_ && renumbered[g] < 0) {
            renumbered[g] = static_cast<int32_t>(old.size());
            old.push_back(g);
        }
    }
    const auto locaAt = [this](uint32_t g) -> uint64_t {
        return longLoca_ ? U32(loca_, 4ull * g) : 2ull * U16(loca_, 2ull * g);
    };
    std::string glyf, loca, hmtx, outline;
    for (size_t n = 0; n < old.size(); ++n) {
        const uint16_t g = old[n];
        const uint64_t from = locaAt(g), to = locaAt(g + 1u);
        outline.clear();
        if (to > from && to <= glyf_.length && to - from <= 0xFFFF) {
            if (!ReadAt(glyf_.offset + from, static_cast<uint32_t>(to - from), &outline)) return std::string();
        }
        if (outline.size() >= 10 && S16(outline, 0) < 0) {
            // A composite: its parts get numbers too, and the outline names them by those.
            const bool whole = ForEachComponent(outline, [&](size_t at) {
                const uint16_t part = U16(outline, at);
                if (part >= glyphCount_) {
                    Set16(outline, at, 0);
                    return;
                }
                if (renumbered[part] < 0) {
                    renumbered[part] = static_cast<int32_t>(old.size());
                    old.push_back(part);
                }
                Set16(outline, at, static_cast<uint16_t>(renumbered[part]));
            });
            if (!whole || old.size() > 0xFFFF) outline.clear();
        } else if (outline.size() < 10) {
            outline.clear();
        }
        Put32(loca, static_cast<uint32_t>(glyf.size()));
        glyf += outline;
        while (glyf.size() % 4 != 0) glyf.push_back('\0');
        const int entry = std::min<int>(g, metricCount_ - 1);
        Put16(hmtx, U16(hmtx_, 4ull * entry));
        const uint64_t lsb = g < metricCount_ ? 4ull * g + 2 : 4ull * metricCount_ + 2ull * (g - metricCount_);
        Put16(hmtx, U16(hmtx_, lsb));
    }
    Put32(loca, static_cast<uint32_t>(glyf.size()));
    const uint16_t count = static_cast<uint16_t>(old.size());

    std::string head = head_.substr(0, 54), hhea = hhea_.substr(0, 36), maxp = maxp_;
    Set32(head, 8, 0);   // checkSumAdjustment, set below
    Set16(head, 50, 1);  // long glyph index
    Set16(hhea, 34, count);
    Set16(maxp, 4, count);
    // The characters asked for, one format 4 segment each (ascending, the last one closing the
    // map as the format requires).
    std::vector<std::pair<uint16_t, uint16_t>> mapped;  // character, new glyph
    for (const auto& c : characters) {
        if (c.first < 0xFFFF && c.second < glyphCount_ && renumbered[c.second] > 0)
            mapped.emplace_back(static_cast<uint16_t>(c.first), static_cast<uint16_t>(renumbered[c.second]));
    }
    std::sort(mapped.begin(), mapped.end());
    mapped.erase(
        std::unique(mapped.begin(), mapped.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
        mapped.end());
    mapped.emplace_back(0xFFFF, 0);
    const uint16_t segments = static_cast<uint16_t>(mapped.size());
    uint16_t range = 1, selector = 0;
    while (range * 2u <= segments) {
        range = static_cast<uint16_t>(range * 2u);
        ++selector;
    }
    std::string cmap;
    for (uint16_t v : {0, 1, 3, 1}) Put16(cmap, v);
    Put32(cmap, 12);
    for (uint16_t v :
         {4, 16 + 8 * segments, 0, 2 * segments, 2 * range, static_cast<int>(selector), 2 * (segments - range)}) {
        Put16(cmap, static_cast<uint16_t>(v));
    }
    for (const auto& m : mapped) Put16(cmap, m.first);  // ends
    Put16(cmap, 0);
    for (const auto& m : mapped) Put16(cmap, m.first);  // starts
    for (const auto& m : mapped) Put16(cmap, m.first == 0xFFFF ? 1 : static_cast<uint16_t>(m.second - m.first));
    for (size_t k = 0; k < mapped.size(); ++k) Put16(cmap, 0);
    std::string post;
    Put32(post, 0x00030000u);
    post.append(28, '\0');

    const std::pair<const char*, const std::string*> tables[] = {
        {"cmap", &cmap}, {"cvt ", &cvt_}, {"fpgm", &fpgm_}, {"glyf", &glyf}, {"head", &head}, {"hhea", &hhea},
        {"hmtx", &hmtx}, {"loca", &loca}, {"maxp", &maxp},  {"post", &post}, {"prep", &prep_}};
    // The instruction tables only where the font has them; the others always, if empty (a
    // subset of blank glyphs has no outlines at all).
    const auto wanted = [](const std::pair<const char*, const std::string*>& t) {
        return !t.second->empty() || (std::strcmp(t.first, "cvt ") != 0 && std::strcmp(t.first, "fpgm") != 0 &&
                                      std::strcmp(t.first, "prep") != 0);
    };
    uint16_t present = 0;
    for (const auto& t : tables) present += wanted(t) ? 1 : 0;
    uint16_t power = 1, log2 = 0;
    while (power * 2u <= present) {
        power = static_cast<uint16_t>(power * 2u);
        ++log2;
    }
    std::string font;
    Put32(font, 0x00010000u);
    Put16(font, present);
    Put16(font, static_cast<uint16_t>(power * 16u));
    Put16(font, log2);
    Put16(font, static_cast<uint16_t>(present * 16u - power * 16u));
    uint32_t offset = 12u + 16u * present;
    size_t headAt = 0;
    for (const auto& t : tables) {
        if (!wanted(t)) continue;
        font.append(t.first, 4);
        Put32(font, Checksum(*t.second));
        Put32(font, offset);
        Put32(font, static_cast<uint32_t>(t.second->size()));
        if (std::strcmp(t.first, "head") == 0) headAt = offset;
        offset += static_cast<uint32_t>((t.second->size() + 3) / 4 * 4);
    }
    for (const auto& t : tables) {
        if (!wanted(t)) continue;
        font += *t.second;
        while (font.size() % 4 != 0) font.push_back('\0');
    }
    Set32(font, headAt + 8, 0xB1B0AFBAu - Checksum(font));
    return font;
}

}  // namespace velorin
