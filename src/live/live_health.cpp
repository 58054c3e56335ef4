#include "live/live_health.h"

#include "common/format.h"
#include "common/text_codec.h"
#include "live/live_text_format.h"
#include "live/live_texts.h"

namespace velorin {

void LiveHealth::Record(bool gotReading, int64_t time) {
    if (gotReading) {
        failedInRow_ = 0;
        everRead_ = true;
        since_ = time;
        return;
    }
    if (!everRead_ && failedInRow_ == 0) since_ = time;
    ++failedInRow_;
}

std::string LiveHealth::StatusText(const LiveTexts& texts) const {
    if (!Failing()) return std::string();
    // "YYYY-MM-DD hh:mm:ss": the clock time is what a person compares with the wall clock.
    const std::string clock = FormatLiveTime(since_).substr(11);
    return Utf8ToGbk(FormatC(texts.noReadingSinceFormat.c_str(), clock.c_str()));
}

}  // namespace velorin
