#include "report/pdf_writer.h"

#include <zlib.h>

#include <cmath>
#include <cstdio>

#include "common/text_codec.h"

namespace velorin {

namespace {

// A page's content deflates to a fifth at the fastest level; higher levels save a few percent
// more and take several times as long on the long tables of a report.
constexpr int kDeflateLevel = 1;
constexpr size_t kFlushAt = 1u << 18;
constexpr uint64_t kUnwritten = UINT64_MAX;

// Beyond this a coordinate is meaningless on a page; keeps the integer arithmetic below exact.
constexpr double kLimit = 1e9;

}  // namespace

double RoundedPdfNumber(double v) {
    if (!std::isfinite(v)) return 0;
    v = std::fmax(-kLimit, std::fmin(kLimit, v));
    return static_cast<double>(std::llround(v * 1e6)) / 1e6;
}

void AppendPdfNumber(std::string& out, double v) {
    if (!std::isfinite(v)) v = 0;
    v = std::fmax(-kLimit, std::fmin(kLimit, v));
    long long micro = std::llround(v * 1e6);
    if (micro < 0) {
        out.push_back('-');
        micro = -micro;
    }
    char digits[24];
    int n = 0;
    long long whole = micro / 1000000;
    do {
        digits[n++] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole > 0);
    while (n > 0) out.push_back(digits[--n]);
    int fraction = static_cast<int>(micro % 1000000);
    if (fraction == 0) return;
    int places = 6;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --places;
    }
    out.push_back('.');
    for (int k = places - 1; k >= 0; --k) digits[k] = static_cast<char>('0' + fraction % 10), fraction /= 10;
    out.append(digits, static_cast<size_t>(places));
}

void AppendPdfHex(std::string& out, uint32_t v, int digits) {
    static const char kHex[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out.push_back(kHex[(v >> shift) & 0xF]);
}

void AppendUtf16Hex(std::string& out, uint32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c >= 0x10000) {
        AppendPdfHex(out, 0xD800 + ((c - 0x10000) >> 10), 4);
        AppendPdfHex(out, 0xDC00 + ((c - 0x10000) & 0x3FF), 4);
    } else {
        AppendPdfHex(out, c, 4);
    }
}

void AppendPdfTextString(std::string& out, std::string_view utf8) {
    bool plain = true;
    for (unsigned char c : utf8) plain = plain && c >= 32 && c < 127;
    if (plain) {
        out.push_back('(');
        for (char c : utf8) {
            if (c == '(' || c == ')' || c == '\\') out.push_back('\\');
            out.push_back(c);
        }
        out.push_back(')');
        return;
    }
    out += "<FEFF";
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    for (size_t at = 0, bytes = 0; at < utf8.size(); at += bytes) {
        AppendUtf16Hex(out, NextUtf8CodePoint(p + at, utf8.size() - at, bytes));
    }
    out.push_back('>');
}

PdfWriter::PdfWriter(Sink sink) : sink_(std::move(sink)) { out_.reserve(kFlushAt + 4096); }

int PdfWriter::Reserve() {
    offsets_.push_back(kUnwritten);
    return static_cast<int>(offsets_.size());
}

void PdfWriter::Flush() {
    if (out_.empty()) return;
    if (!failed_ && !sink_(out_.data(), out_.size())) failed_ = true;
    written_ += out_.size();
    out_.clear();
}

void PdfWriter::Begin(int object) {
    if (out_.size() >= kFlushAt) Flush();
    if (object >= 1 && static_cast<size_t>(object) <= offsets_.size())
        offsets_[static_cast<size_t>(object) - 1] = written_ + out_.size();
    out_ += std::to_string(object);
    out_ += " 0 obj\n";
}

void PdfWriter::End() { out_ += "\nendobj\n"; }

void PdfWriter::Stream(int object, std::string_view dictionary, std::string_view data, bool deflate) {
    std::string_view body = data;
    if (deflate) {
        uLongf size = compressBound(static_cast<uLong>(data.size()));
        deflated_.resize(size);
        if (compress2(deflated_.data(), &size, reinterpret_cast<const Bytef*>(data.data()),
                      static_cast<uLong>(data.size()), kDeflateLevel) == Z_OK) {
            body = std::string_view(reinterpret_cast<const char*>(deflated_.data()), size);
        } else {
            deflate = false;
        }
    }
    Begin(object);
    out_ += "<< /Length ";
    out_ += std::to_string(body.size());
    if (deflate) out_ += " /Filter /FlateDecode";
    if (!dictionary.empty()) {
        out_.push_back(' ');
        out_ += dictionary;
    }
    out_ += " >>\nstream\n";
    out_ += body;
    out_ += "\nendstream";
    End();
    if (out_.size() >= kFlushAt) Flush();
}

bool PdfWriter::Finish(int catalog, int info) {
    bool complete = true;
    for (uint64_t offset : offsets_) complete = complete && offset != kUnwritten;
    const uint64_t xref = written_ + out_.size();
    out_ += "xref\n0 ";
    out_ += std::to_string(offsets_.size() + 1);
    out_ += "\n0000000000 65535 f \n";
    char line[40];
    for (uint64_t offset : offsets_) {
        std::snprintf(line, sizeof line, "%010llu 00000 n \n",
                      static_cast<unsigned long long>(offset == kUnwritten ? 0 : offset));
        out_ += line;
    }
    out_ += "trailer\n<< /Size ";
    out_ += std::to_string(offsets_.size() + 1);
    out_ += " /Root ";
    out_ += std::to_string(catalog);
    out_ += " 0 R /Info ";
    out_ += std::to_string(info);
    out_ += " 0 R >>\nstartxref\n";
    out_ += std::to_string(xref);
    out_ += "\n%%EOF\n";
    Flush();
    return complete && !failed_;
}

}  // namespace velorin
