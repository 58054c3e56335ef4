#include "app/config_commands.h"

#include "app/link_worker.h"
#include "app/main_frame.h"
#include "app/property_panel.h"
#include "common/cancel_token.h"
#include "config/clock_dialog.h"
#include "config/wizard_dialog.h"
#include "device/link.h"
#include "device/panel_lines.h"
#include "ui/presenter.h"

namespace velorin {

namespace {

void RefillPanel(CMainFrame& frame) {
    if (frame.Panel() != nullptr) frame.Panel()->Fill(BuildPanelLines(frame.Info(), frame.TextLanguage()));
}

}  // namespace

void RunSetupWizard(CMainFrame& frame, LinkWorker& worker, Presenter& presenter) {
    // The wizard keeps the serial port open from now on; the next user of the port reopens or
    // closes it.
    worker.RunAndWait(LinkJobKind::WizardPort, [](Link& link, CancelToken&) {
        link.serial.ClosePort();
        if (link.currentPort != HID_LINK_PORT) link.OpenCurrentPort();
    });
    bool succeeded = false;
    int result = QDialog::Rejected;
    {
        CWizard wizard(worker, frame.Info(), frame.TextLanguage(), presenter, &frame);
        result = presenter.Exec(wizard);
        succeeded = wizard.Succeeded();
    }
    if (result == QDialog::Accepted || succeeded) RefillPanel(frame);
}

void RunClockCalibration(CMainFrame& frame, LinkWorker& worker, Presenter& presenter) {
    int result = QDialog::Rejected;
    {
        CTimeAdjDlg dialog(worker, frame.Info(), frame.TextLanguage(), presenter, &frame);
        result = presenter.Exec(dialog);
    }
    if (result == QDialog::Accepted) RefillPanel(frame);
}

}  // namespace velorin
