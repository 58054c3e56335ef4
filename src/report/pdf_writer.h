// The file structure of a PDF: numbered objects written one after another to a sink, streams
// deflated, and at the end the cross-reference table and trailer that let a reader find every
// object. Knows nothing of pages or fonts (pdf_canvas builds those from it).
//
// Objects are numbered by Reserve() and may be written in any order later (a page names the
// resources written at the end). Output is buffered and handed to the sink in large pieces; once
// the sink fails, nothing more is written and Finish() reports it. Single thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velorin {

// Appends `v` as a PDF number: at most six decimals, no trailing zeros, no exponent ("12",
// "-0.5", "71.333333"). Values that are not finite are written as 0.
void AppendPdfNumber(std::string& out, double v);
// `v` rounded as AppendPdfNumber writes it.
double RoundedPdfNumber(double v);
// Appends the `digits` lowest hex digits of `v` (capitals).
void AppendPdfHex(std::string& out, uint32_t v, int digits);
// Appends the UTF-16BE units of `codePoint` as hex digits: a surrogate pair beyond 16 bits,
// U+FFFD for what is no character (a surrogate, beyond U+10FFFF).
void AppendUtf16Hex(std::string& out, uint32_t codePoint);
// Appends `text` (UTF-8) as a PDF text string: a literal string for printable ASCII, else
// UTF-16BE with its byte-order mark, in hex.
void AppendPdfTextString(std::string& out, std::string_view utf8);

class PdfWriter {
public:
    using Sink = std::function<bool(const char* bytes, size_t count)>;
    explicit PdfWriter(Sink sink);

    int Reserve();
    // "n 0 obj" … "endobj" around what is appended to Out() in between.
    void Begin(int object);
    void End();
    std::string& Out() { return out_; }
    // A whole stream object: `dictionary` holds the entries besides /Length and /Filter.
    void Stream(int object, std::string_view dictionary, std::string_view data, bool deflate = true);
    // The cross-reference table and trailer. False when any write failed or an object reserved
    // was never written.
    bool Finish(int catalog, int info);
    bool Failed() const { return failed_; }

private:
    void Flush();
    Sink sink_;
    std::string out_;
    uint64_t written_ = 0;  // bytes handed to the sink
    bool failed_ = false;
    std::vector<uint64_t> offsets_;  // per object number − 1; UINT64_MAX until written
    std::vector<unsigned char> deflated_;
};

}  // namespace velorin
