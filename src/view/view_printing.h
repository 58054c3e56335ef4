// The print commands of a history view — the view's buttons and the data window's File menu
// run the same two functions: the curve page of what the view shows, and the data list of a
// range of serial numbers chosen in CTimeCho.
//
// Threading: GUI thread only; each runs synchronously until its closing message.
#pragma once

#include <cstdint>
#include <string>

class QMdiSubWindow;

namespace velorin {

enum class Language;
class CDastrelView;
class Presenter;
struct DeviceInfo;

// The history view a data window shows, or null.
CDastrelView* ViewOf(QMdiSubWindow* window);

// The ChannelType bytes of the DeviceInfo read last, which decide the printed decimals.
void ChannelTypesOf(const DeviceInfo& info, uint8_t (&types)[8]);

// Draws the view's curve canvas anew (and repaints the view), then prints it with the summary.
void PrintViewCurve(CDastrelView& view, Presenter& presenter);

// Asks for the serial range (CTimeCho in serial mode, both edits "1"); OK prints it.
void PrintViewList(CDastrelView& view, Presenter& presenter, Language language, const uint8_t (&channelType)[8]);

}  // namespace velorin
