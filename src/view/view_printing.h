// The print commands of a history view — the view's buttons and the data window's File menu
// run the same two functions: the curve page of what the view shows, and the data list of a
// range of serial numbers chosen in CTimeCho.
//
// Threading: GUI thread only; each runs synchronously until its closing message.
#pragma once

class QMdiSubWindow;

namespace velorin {

class CDastrelView;
class Presenter;
struct DisplayOptions;

// The history view a data window shows, or null.
CDastrelView* ViewOf(QMdiSubWindow* window);

// Draws the view's curve canvas anew (and repaints the view), then prints it with the summary.
void PrintViewCurve(CDastrelView& view, Presenter& presenter);

// Asks for the serial range (CTimeCho in serial mode, both edits "1") in the display's language;
// OK prints it with the display's channel types deciding the decimals.
void PrintViewList(CDastrelView& view, Presenter& presenter, const DisplayOptions& display);

}  // namespace velorin
