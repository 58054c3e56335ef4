// Text encodings at the edges of the core.
//
// The program's own texts (the text tables) are UTF-8. What the logger and the data files hold
// is GBK and stays so: DeviceInfo's fields and labels, the texts of .kv files, the CSV/TXT
// exports. Where the program's texts meet those — stored in DeviceInfo, written into a file,
// joined with a logger's or a file's text, and handed on as a message (UserMessages, which also
// carry such texts) — they are converted here with Utf8ToGbk. GBK turns into UTF-8 where it
// leaves the core (the CLI's terminal with GbkToUtf8; the GUI decodes GBK itself).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velorin {

// UTF-8 → GBK. Characters GBK cannot represent become '?'.
std::string Utf8ToGbk(const std::string& utf8);

// GBK → UTF-8. Invalid or truncated sequences (a logger may send anything) become U+FFFD; the
// conversion never fails and never reads past the input.
std::string GbkToUtf8(const std::string& gbk);

// Whether `text` holds only bytes below 0x80 (then it reads the same as GBK and as UTF-8).
bool IsPlainAscii(const std::string& text);

// The code point of the UTF-8 character at `p` (of `left` > 0 bytes) and its length in `bytes`;
// a byte that starts no complete sequence counts alone, as itself.
uint32_t NextUtf8CodePoint(const unsigned char* p, size_t left, size_t& bytes);

// How many leading bytes of the GBK text `gbk` fit in `maxBytes` without splitting a character:
// a lead byte 0x81–0xFE with its trail byte is one two-byte character (a four-byte GB18030
// sequence is kept whole too); any other byte stands alone.
size_t GbkFittingBytes(const std::string& gbk, size_t maxBytes);

// A GBK text cut to a fixed length at a character boundary, and whether anything was cut.
struct FittedText {
    std::string bytes;
    bool shortened = false;
};
FittedText FitGbk(const std::string& gbk, size_t maxBytes);

// Copies `text` into a fixed-width field of `fieldSize` bytes: at most `fieldSize - 1` bytes,
// cut at a character boundary, followed by zeros, so the field is always terminated.
void StoreInField(char* field, size_t fieldSize, const std::string& text);

// Reads a fixed-width field that may fill its width without a terminator.
std::string ReadField(const char* field, size_t fieldSize);

template <size_t N>
void StoreInField(char (&field)[N], const std::string& text) {
    StoreInField(field, N, text);
}
template <size_t N>
std::string ReadField(const char (&field)[N]) {
    return ReadField(field, N);
}

}  // namespace velorin
