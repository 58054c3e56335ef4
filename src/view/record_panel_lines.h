// The device-information panel refilled from a data set. How the view uses it: when it opens and
// after F0 mode is switched on or off, it builds the lines here and hands them to the main
// window's PropertyPanel (Fill), in the interface language it took when it opened.
#pragma once

#include <string>
#include <vector>

#include "device/panel_lines.h"

namespace velorin {

enum class Language;
struct RecordSet;

// The two roots "Basic ATTR" and "Channel ATTR" with their children, labels followed directly by
// the values. Side effect, as with the connection-time panel: a timed-start (timed-stop) text
// that the panel does not show because the mode is not timed is emptied in `set`.
std::vector<PanelLine> BuildRecordPanelLines(RecordSet& set, Language language);

}  // namespace velorin
