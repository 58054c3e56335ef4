// The main frame's two configuration commands: the setup wizard (after OK the property panel is
// refilled from DeviceInfo) and the clock calibration (after OK the panel is refilled; the
// record count is 0 when the logger accepted the clear).
//
// Threading: GUI thread. Each holds the link from opening to closing its modal dialog, so that
// Connect and hot-plug work wait until the dialog has ended.
#pragma once

namespace velorin {

class CMainFrame;
class Link;
class Presenter;

void RunSetupWizard(CMainFrame& frame, Link& link, Presenter& presenter);
void RunClockCalibration(CMainFrame& frame, Link& link, Presenter& presenter);

}  // namespace velorin
