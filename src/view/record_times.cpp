#include "view/record_times.h"

#include "common/date_time.h"
#include "history/record_set.h"
#include "view/curve_geometry.h"

namespace velorin {

RecordTimes::RecordTimes(const RecordSet& set) {
    const int32_t count = UsableRecordCount(set);
    seconds_.resize(static_cast<size_t>(count));
    gapBefore_.assign(static_cast<size_t>(count), 0);
    // The local offset changes only at whole hours, so one calendar conversion per distinct hour
    // gives every record's time; records come in time order, so the last hour is nearly always
    // the one needed.
    bool known = false;
    int32_t year = 0, month = 0, day = 0, hour = 0;
    int64_t hourStart = 0;
    for (int32_t i = 0; i < count; ++i) {
        const SampleRecord& r = set.records[static_cast<size_t>(i)];
        if (!known || r.year != year || r.month != month || r.day != day || r.hour != hour) {
            year = r.year;
            month = r.month;
            day = r.day;
            hour = r.hour;
            hourStart = CDealTime(r.year + 2000, r.month, r.day, r.hour, 0, 0).GetTime();
            known = true;
        }
        seconds_[static_cast<size_t>(i)] =
            hourStart + static_cast<int64_t>(r.minute) * 60 + static_cast<int64_t>(r.second);
        if (i > 0) {
            const int64_t delta = seconds_[static_cast<size_t>(i)] - seconds_[static_cast<size_t>(i) - 1];
            gapBefore_[static_cast<size_t>(i)] = IsGap(delta, set.intervalSeconds) ? 1 : 0;
        }
    }
}

}  // namespace velorin
