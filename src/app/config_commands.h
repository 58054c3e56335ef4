// The main frame's two configuration commands: the setup wizard (the panel is refilled from
// DeviceInfo after a finish that restarted the logger, on either link) and the clock
// calibration (after OK the panel is refilled; the record count is 0 only when the logger
// accepted the clear).
//
// Threading: GUI thread. The wizard first opens the port it keeps while shown (a WizardPort job,
// waited for); the dialogs submit their own jobs (WizardFinish, Clock) to the LinkWorker.
#pragma once

namespace velorin {

class CMainFrame;
class LinkWorker;
class Presenter;

void RunSetupWizard(CMainFrame& frame, LinkWorker& worker, Presenter& presenter);
void RunClockCalibration(CMainFrame& frame, LinkWorker& worker, Presenter& presenter);

}  // namespace velorin
