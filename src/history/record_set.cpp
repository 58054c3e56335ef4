#include "history/record_set.h"

#include <algorithm>
#include <cstring>

namespace velorin {
namespace {

// Copies at most kChannelTextBytes of `text` into a 20-byte field, zeroes the rest and sets the
// length. A channel outside 0..7 is ignored.
void StoreChannelText(char (&fields)[kRecordSetChannels][kChannelTextBytes], int32_t (&lengths)[kRecordSetChannels],
                      int channel, const std::string& text) {
    if (channel < 0 || channel >= kRecordSetChannels) return;
    const size_t n = std::min(text.size(), static_cast<size_t>(kChannelTextBytes));
    std::memset(fields[channel], 0, kChannelTextBytes);
    std::memcpy(fields[channel], text.data(), n);
    lengths[channel] = static_cast<int32_t>(n);
}

}  // namespace

void SetUnitText(RecordSet& set, int channel, const std::string& text) {
    StoreChannelText(set.unitText, set.unitLength, channel, text);
}

void SetQuantityText(RecordSet& set, int channel, const std::string& text) {
    StoreChannelText(set.quantityText, set.quantityLength, channel, text);
}

}  // namespace velorin
