// Opening and closing the live view from the main frame's commands: the view lives in a child
// frame of its own in the main frame's MDI area. GUI thread only.
#pragma once

namespace velorin {

class CMainFrame;
class CRealImage;
class LinkWorker;

// The live view command: clears Connect, live, history and configuration, sets "live view
// open", closes a live view that is still open, and shows a new one maximised. The view holds
// the link until it is destroyed; then it gives the four commands back and clears "live view
// open".
CRealImage* OpenLiveView(CMainFrame& frame, LinkWorker& worker);
// The close live view command (and the main frame's destruction): destroys the view's frame.
void CloseLiveView(CMainFrame& frame);
// The open live view, or null.
CRealImage* LiveView(CMainFrame& frame);

}  // namespace velorin
