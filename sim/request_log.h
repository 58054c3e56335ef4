// One line per request the simulator saw: command in hex, link, outcome. Written by the server
// thread only; each line is flushed so a test can read the file while the server runs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace velorin::sim {

class RequestLog {
public:
    RequestLog() = default;
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;
    ~RequestLog();

    bool Open(const std::string& path);  // appends; an empty path keeps the log off
    void Close();
    // e.g. "0x1a serial reply 6001"
    void Write(uint8_t command, const char* link, const std::string& outcome);

private:
    FILE* file_ = nullptr;
};

}  // namespace velorin::sim
