// Whether the live readings are coming: the polls that brought no reading since the last one
// that did, and the text that says so. The live view and `velorin-cli live` keep one each, so a
// logger that stops answering is shown the same way in both (never as its last values).
//
// Not thread-safe: owned by the thread that receives the poll results.
#pragma once

#include <cstdint>
#include <string>

namespace velorin {

struct LiveTexts;

// `velorin-cli live` gives up after this many polls in a row without a reading (10 s at one poll
// every 2 s): the logger is gone or no longer answers.
constexpr int kLiveFailedPollLimit = 5;

class LiveHealth {
public:
    // One poll's outcome at `time` (seconds since 1970).
    void Record(bool gotReading, int64_t time);

    bool Failing() const { return failedInRow_ > 0; }
    int FailedInRow() const { return failedInRow_; }
    bool EverRead() const { return everRead_; }
    // The last reading's time, or the first failed poll's when nothing was ever read.
    int64_t Since() const { return since_; }

    // "No reading since hh:mm:ss" (GBK) while polls fail; empty while readings come.
    std::string StatusText(const LiveTexts& texts) const;

private:
    int failedInRow_ = 0;
    bool everRead_ = false;
    int64_t since_ = 0;
};

}  // namespace velorin
