#include "view/record_panel_lines.h"

#include <cstring>

#include "common/format.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "history/record_set.h"
#include "report/export_format.h"
#include "view/view_texts.h"

namespace velorin {

namespace {
constexpr int kUserTextShown = 16;  // user name and title are cut to this many bytes
}  // namespace

std::vector<PanelLine> BuildRecordPanelLines(RecordSet& set, Language language) {
    const bool english = language == Language::English;
    const RecordPanelLabels& p = ViewTextsFor(language).panel;
    std::vector<PanelLine> lines;
    auto add = [&lines](int depth, std::string text, bool expanded = false) {
        lines.push_back(PanelLine{depth, std::move(text), expanded});
    };
    auto field = [](const char* f, size_t size, size_t shown) { return ReadField(f, size < shown ? size : shown); };
    // The lines join the labels with the data file's texts, which stay GBK: the labels follow them.
    auto gbk = [](const std::string& utf8) { return Utf8ToGbk(utf8); };

    add(0, gbk(p.basicRoot), true);
    add(1, gbk(p.startTime) + ReadField(set.startTimeText));
    add(1, gbk(p.userName) + field(set.userName, sizeof set.userName, kUserTextShown));
    add(1, gbk(p.title) + field(set.title, sizeof set.title, kUserTextShown));
    add(1, gbk(p.workStatus) + ReadField(set.workStatusText));
    add(1, gbk(p.recordNumber) + FormatC("%d", set.deviceRecordCount));
    add(1, gbk(p.overflows) + FormatC("%d", set.overflowCount));

    const bool timedStart = HoldsTimedStartLabel(set.startModeText, sizeof set.startModeText);
    add(1, gbk(p.startMode) + ReadField(set.startModeText), timedStart);
    if (timedStart)
        add(2, ReadField(set.timedStartText));
    else
        std::memset(set.timedStartText, 0, sizeof set.timedStartText);

    // The English panel always shows the stop time under the stop mode.
    const bool timedStop = english || HoldsTimedStopLabel(set.stopModeText, sizeof set.stopModeText);
    add(1, gbk(p.stopMode) + ReadField(set.stopModeText), true);
    if (timedStop)
        add(2, ReadField(set.timedStopText));
    else
        std::memset(set.timedStopText, 0, sizeof set.timedStopText);

    add(1, gbk(p.recordInterval) +
               FormatC("%02d:%02d:%02d", set.intervalHours, set.intervalMinutes, set.intervalSecondsPart));
    add(1, gbk(p.startChannels) + ChannelNumberList(EnabledChannels(set)));
    add(1, gbk(p.recordMode) + ReadField(set.recordModeText));
    add(1, gbk(p.storageCapacity) + FormatC("%d", set.storageCapacity));
    add(1, gbk(p.powerMode) + gbk(set.powerMode == 0x80 ? p.powerSave : p.powerNormal));
    add(1, gbk(p.serialNumber) + ReadField(set.serialNumber));
    add(1, gbk(p.model) + ReadField(set.model));
    add(1, gbk(p.firmwareVersion) + FormatC("V%.1f", set.firmwareVersion / 10.0));

    add(0, gbk(p.channelRoot), true);
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (set.channelEnabled[c] != 1) continue;
        const int n = c + 1;
        add(1, FormatC(gbk(p.channelType).c_str(), n, QuantityTextOf(set, c).c_str()));
        add(1, FormatC(gbk(p.channelUnit).c_str(), n, UnitTextOf(set, c).c_str()));
        add(1, gbk(FormatC((set.alarmEnabled[c] == 1 ? p.channelAlarmOpen : p.channelAlarmClosed).c_str(), n)));
        add(1, gbk(FormatC(p.channelAlarmUpper.c_str(), n, set.upperAlarmX10[c] / 10.0)));
        add(1, gbk(FormatC(p.channelAlarmLower.c_str(), n, set.lowerAlarmX10[c] / 10.0)));
        add(1, gbk(FormatC(p.channelRangeUpper.c_str(), n, set.rangeHighX10[c] / 10.0)));
        add(1, gbk(FormatC(p.channelRangeLower.c_str(), n, set.rangeLowX10[c] / 10.0)));
    }
    return lines;
}

}  // namespace velorin
