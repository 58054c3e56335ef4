#include "request_log.h"

namespace velorin::sim {

RequestLog::~RequestLog() { Close(); }

bool RequestLog::Open(const std::string& path) {
    Close();
    if (path.empty()) return true;
    file_ = std::fopen(path.c_str(), "ae");
    return file_ != nullptr;
}

void RequestLog::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

void RequestLog::Write(uint8_t command, const char* link, const std::string& outcome) {
    if (file_ == nullptr) return;
    std::fprintf(file_, "0x%02x %s %s\n", command, link, outcome.c_str());
    std::fflush(file_);
}

}  // namespace velorin::sim
