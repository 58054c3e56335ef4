#include "analysis/temperature_marks.h"

#include "analysis/range_statistics.h"

namespace velorin {

TemperatureMarks MarkWarmestColdest(const std::vector<RangeStatistics>& perFile) {
    TemperatureMarks m;
    double warm = 0, cold = 0;
    for (size_t f = 0; f < perFile.size(); ++f) {
        for (size_t c = 0; c < perFile[f].channels.size(); ++c) {
            const ChannelRangeStatistics& s = perFile[f].channels[c];
            if (!s.temperature || !s.HasValues()) continue;
            if (m.warmestFile < 0 || s.avg > warm) {
                m.warmestFile = static_cast<int>(f);
                m.warmestChannel = static_cast<int>(c);
                warm = s.avg;
            }
            if (m.coldestFile < 0 || s.avg < cold) {
                m.coldestFile = static_cast<int>(f);
                m.coldestChannel = static_cast<int>(c);
                cold = s.avg;
            }
        }
    }
    if (m.warmestFile == m.coldestFile && m.warmestChannel == m.coldestChannel) return TemperatureMarks();
    return m;
}

}  // namespace velorin
