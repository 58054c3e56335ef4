// The property panel's content as a list of tree lines, built from DeviceInfo in the current
// interface language. One source for the GUI's tree and for `velorin-cli info`.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velorin {

enum class Language;
struct DeviceInfo;

struct PanelLine {
    int depth = 0;          // 0 = root item, 1 = its child, 2 = a child of a child
    std::string text;       // GBK: the label followed directly by the value
    bool expanded = false;  // the item is shown expanded
};

// Builds the full panel. Side effect, as the panel always had: when the start (stop) mode is
// not a timed mode, the timed-start (timed-stop) text of `info` is emptied.
std::vector<PanelLine> BuildPanelLines(DeviceInfo& info, Language language);

// Whether a fixed-width start (stop) mode field holds the timed mode's label. The label may have
// been stored in either language, as far as it fits the field, so both are recognised.
bool HoldsTimedStartLabel(const char* field, size_t fieldSize);
bool HoldsTimedStopLabel(const char* field, size_t fieldSize);

// "1,2,5" for the 0-based channels {0, 1, 4}: the panel's list of started channels.
std::string ChannelNumberList(const std::vector<int>& channels);

// The labels-only panel shown before anything has been read.
std::vector<PanelLine> InitialPanelLines(Language language);

// Unit text of a channel as the panel and the live list show it: AC voltage and AC current
// channels carry unit codes offset by 32 (codes below 32 name no unit); other codes above the
// table show its entry 31.
std::string PanelUnitName(int quantityCode, int unitCode);

}  // namespace velorin
