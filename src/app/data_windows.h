// The main window's data windows: what a window on a data set shows.
// GUI thread only.
#pragma once

namespace velorin {

class CMainFrame;

// Makes the main window's data windows show history views (with its language and the channel
// types of the DeviceInfo it holds when a window opens).
void UseHistoryViews(CMainFrame& frame);

}  // namespace velorin
