#include "common/text_codec.h"

#include <iconv.h>

#include <algorithm>

#include <cerrno>
#include <cstring>

namespace velorin {

namespace {

// Converts with iconv, replacing what cannot be converted: `invalidOut` is written for every
// input byte that starts an invalid or incomplete sequence (that byte is skipped).
std::string Convert(iconv_t cd, const char* from, const std::string& in, const char* invalidOut) {
    if (cd == reinterpret_cast<iconv_t>(-1)) return in;  // no converter: keep the bytes
    iconv(cd, nullptr, nullptr, nullptr, nullptr);       // a fresh shift state
    std::string out;
    out.reserve(in.size() * 2 + 4);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[256];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: skip one byte of input (a UTF-8 source skips the whole character).
            out += invalidOut;
            size_t skip = 1;
            if (std::strcmp(from, "UTF-8") == 0) {
                while (skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
            }
            src += skip;
            srcLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

// One converter per direction and thread, opened on first use: opening one costs more than
// converting a short text, and a report converts hundreds of thousands of them.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t Get() const { return cd_; }

private:
    iconv_t cd_;
};

}  // namespace

std::string Utf8ToGbk(const std::string& utf8) {
    thread_local const Converter toGbk("GBK", "UTF-8");
    return Convert(toGbk.Get(), "UTF-8", utf8, "?");
}

std::string GbkToUtf8(const std::string& gbk) {
    thread_local const Converter toUtf8("UTF-8", "GBK");
    return Convert(toUtf8.Get(), "GBK", gbk, "\xEF\xBF\xBD");
}

size_t GbkFittingBytes(const std::string& gbk, size_t maxBytes) {
    auto at = [&gbk](size_t i) { return static_cast<unsigned char>(gbk[i]); };
    size_t i = 0;
    while (i < gbk.size()) {
        size_t width = 1;
        const unsigned char lead = at(i);
        if (lead >= 0x81 && lead <= 0xFE && i + 1 < gbk.size()) {
            const unsigned char second = at(i + 1);
            const bool fourByte = second >= 0x30 && second <= 0x39 && i + 3 < gbk.size();
            if (fourByte) {
                width = 4;
            } else if (second >= 0x40 && second <= 0xFE && second != 0x7F) {
                width = 2;
            }
        }
        if (i + width > maxBytes) break;
        i += width;
    }
    return i;
}

FittedText FitGbk(const std::string& gbk, size_t maxBytes) {
    FittedText fitted;
    const size_t keep = GbkFittingBytes(gbk, maxBytes);
    fitted.bytes = gbk.substr(0, keep);
    fitted.shortened = keep < gbk.size();
    return fitted;
}

void StoreInField(char* field, size_t fieldSize, const std::string& text) {
    if (fieldSize == 0) return;
    std::memset(field, 0, fieldSize);
    std::memcpy(field, text.data(), GbkFittingBytes(text, fieldSize - 1));
}

std::string ReadField(const char* field, size_t fieldSize) {
    size_t n = 0;
    while (n < fieldSize && field[n] != '\0') ++n;
    return std::string(field, n);
}

bool IsPlainAscii(const std::string& text) {
    for (unsigned char ch : text) {
        if (ch >= 0x80) return false;
    }
    return true;
}

uint32_t NextUtf8CodePoint(const unsigned char* p, size_t left, size_t& bytes) {
    const unsigned char b = p[0];
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
    if (n > left) n = 1;
    uint32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (size_t i = 1; i < n; ++i) c = (c << 6) | (p[i] & 0x3F);
    bytes = n;
    return c;
}

}  // namespace velorin
