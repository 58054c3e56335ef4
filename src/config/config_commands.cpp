#include "config/config_commands.h"

#include "app/connection_manager.h"
#include "app/main_frame.h"
#include "app/panel_lines.h"
#include "app/presenter.h"
#include "app/property_panel.h"
#include "config/time_adj_dialog.h"
#include "config/wizard_dialog.h"

namespace velorin {

namespace {

// Runs a modal dialog while the link is held and refills the panel after OK.
template <typename Dialog>
void RunHoldingTheLink(CMainFrame& frame, Link& link, Presenter& presenter) {
    ConnectionManager* connection = frame.Connection();
    connection->BeginLinkWork();
    int result = QDialog::Rejected;
    {
        Dialog dialog(link, frame.Info(), frame.LanguageName(), presenter, &frame);
        result = presenter.Exec(dialog);
    }
    connection->EndLinkWork();
    if (result == QDialog::Accepted && frame.Panel() != nullptr) {
        frame.Panel()->Fill(BuildPanelLines(frame.Info(), frame.LanguageName()));
    }
}

}  // namespace

void RunSetupWizard(CMainFrame& frame, Link& link, Presenter& presenter) {
    RunHoldingTheLink<CWizard>(frame, link, presenter);
}

void RunClockCalibration(CMainFrame& frame, Link& link, Presenter& presenter) {
    RunHoldingTheLink<CTimeAdjDlg>(frame, link, presenter);
}

}  // namespace velorin
