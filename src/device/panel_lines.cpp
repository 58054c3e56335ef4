#include "device/panel_lines.h"

#include <cstring>

#include "common/format.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/name_tables.h"

namespace velorin {

namespace {

constexpr int kTimedModeLabel = 1;  // label index of code 2 (timed start / timed stop)
constexpr int kLastQuantityEntry = kQuantityNameCount - 1;
constexpr int kClampedUnitEntry = 31;
constexpr int kAcUnitOffset = 32;

// A timed mode is recognised by its label. The label may have been stored in either language
// (the decoder stores the current language's, the configuration code always the Chinese one),
// so both are accepted: otherwise a timed start set from the English interface would lose its
// time from the panel.
using ModeLabels = std::string[4];
bool HoldsTimedLabel(const char* field, size_t fieldSize, const ModeLabels Texts::*labels) {
    if (fieldSize == 0) return false;
    const std::string stored = ReadField(field, fieldSize);
    for (const Texts* t : {&TextsFor(Language::English), &TextsFor(Language::Chinese)}) {
        if (stored == Utf8ToGbk((t->*labels)[kTimedModeLabel]).substr(0, fieldSize - 1)) return true;
    }
    return false;
}

}  // namespace

bool HoldsTimedStartLabel(const char* field, size_t fieldSize) {
    return HoldsTimedLabel(field, fieldSize, &Texts::startModeLabel);
}

bool HoldsTimedStopLabel(const char* field, size_t fieldSize) {
    return HoldsTimedLabel(field, fieldSize, &Texts::stopModeLabel);
}

std::string ChannelNumberList(const std::vector<int>& channels) {
    std::string out;
    for (int c : channels) {
        if (!out.empty()) out += ',';
        out += FormatC("%d", c + 1);
    }
    return out;
}

std::string PanelUnitName(int quantityCode, int unitCode) {
    if (quantityCode == kQuantityVoltageAc || quantityCode == kQuantityCurrentAc) {
        return unitCode >= kAcUnitOffset ? UnitName(unitCode - kAcUnitOffset) : std::string();
    }
    return UnitName(unitCode < kUnitNameCount ? unitCode : kClampedUnitEntry);
}

std::vector<PanelLine> BuildPanelLines(DeviceInfo& info, Language language) {
    const Texts& t = TextsFor(language);
    std::vector<PanelLine> lines;
    auto add = [&lines](int depth, std::string text, bool expanded = false) {
        lines.push_back(PanelLine{depth, std::move(text), expanded});
    };
    // The lines join the labels with the logger's texts, which stay GBK: the labels follow them.
    auto gbk = [](const std::string& utf8) { return Utf8ToGbk(utf8); };

    add(0, gbk(t.basicAttributes), true);
    add(1, gbk(t.startTime) + ReadField(info.startTime));
    add(1, gbk(t.userName) + ReadField(info.userName));
    add(1, gbk(t.title) + ReadField(info.title));
    add(1, gbk(t.workState) + ReadField(info.workState));
    add(1, gbk(t.recordCount) + FormatC("%d", info.storedRecordCount));
    add(1, gbk(t.overflowCount) + FormatC("%d", info.overflowCount));

    const bool timedStart = HoldsTimedStartLabel(info.startMode, sizeof info.startMode);
    const bool timedStop = HoldsTimedStopLabel(info.stopMode, sizeof info.stopMode);

    add(1, gbk(t.startMode) + ReadField(info.startMode), true);
    if (timedStart)
        add(2, ReadField(info.timedStartTime));
    else
        std::memset(info.timedStartTime, 0, sizeof info.timedStartTime);
    add(1, gbk(t.stopMode) + ReadField(info.stopMode), true);
    if (timedStop)
        add(2, ReadField(info.timedStopTime));
    else
        std::memset(info.timedStopTime, 0, sizeof info.timedStopTime);

    add(1,
        gbk(FormatC(t.recordIntervalFormat.c_str(), info.intervalHours, info.intervalMinutes, info.intervalSeconds)));
    std::vector<int> channels;
    for (int i = 0; i < 6; ++i) {
        if (info.channel[i].channelEnabled == 1) channels.push_back(i);
    }
    add(1, gbk(t.startChannels) + ChannelNumberList(channels));
    add(1, gbk(t.recordMode) + ReadField(info.recordMode));
    add(1, gbk(t.storageCapacity) + FormatC("%d", info.storageCapacity));
    add(1, gbk(t.powerMode) + gbk(info.powerMode == 0x80 ? t.powerSave : t.powerNormal));
    add(1, gbk(t.serialNumber) + ReadField(info.serialNumber, 8));
    add(1, gbk(t.model) + ReadField(info.model));
    add(1, gbk(t.firmwareVersion) + FormatC("V%.1f", info.firmwareVersion / 10.0));

    add(0, gbk(t.channelAttributes), true);
    for (int i = 0; i < kChannelCount; ++i) {
        const ChannelInfo& c = info.channel[i];
        if (c.channelEnabled != 1) continue;
        const int n = i + 1;
        const int q = c.quantityCode > kLastQuantityEntry ? kLastQuantityEntry : c.quantityCode;
        add(1, FormatC(gbk(t.channelTypeFormat).c_str(), n, QuantityName(q, language).c_str()));
        add(1, FormatC(gbk(t.channelUnitFormat).c_str(), n, PanelUnitName(c.quantityCode, c.unitCode).c_str()));
        add(1, gbk(FormatC((c.alarmEnabled == 1 ? t.channelAlarmOnFormat : t.channelAlarmOffFormat).c_str(), n)));
        add(1, gbk(FormatC(t.channelAlarmUpperFormat.c_str(), n, c.upperAlarmX10 / 10.0)));
        add(1, gbk(FormatC(t.channelAlarmLowerFormat.c_str(), n, c.lowerAlarmX10 / 10.0)));
        add(1, gbk(FormatC(t.channelRangeUpperFormat.c_str(), n, c.rangeHighX10 / 10.0)));
        add(1, gbk(FormatC(t.channelRangeLowerFormat.c_str(), n, c.rangeLowX10 / 10.0)));
    }
    return lines;
}

std::vector<PanelLine> InitialPanelLines(Language language) {
    const Texts& t = TextsFor(language);
    std::vector<PanelLine> lines;
    // GBK like the lines that replace them.
    lines.push_back(PanelLine{0, Utf8ToGbk(t.basicAttributes), true});
    for (const std::string& label : t.initialBasic) lines.push_back(PanelLine{1, Utf8ToGbk(label), false});
    lines.push_back(PanelLine{0, Utf8ToGbk(t.channelAttributes), true});
    for (const std::string& label : t.initialChannel) lines.push_back(PanelLine{1, Utf8ToGbk(label), false});
    return lines;
}

}  // namespace velorin
