// What a link job is for: the command-enable flags and the tests read it.
#pragma once

namespace velorin {

enum class LinkJobKind {
    Connect,
    Detection,  // start-up and arrival detection
    Removal,    // a removal notice: is the logger still there?
    AutoDownloadCheck,
    Stop,
    Download,
    WizardPort,  // the wizard opens the port it keeps while shown
    WizardFinish,
    Clock,
    LiveOpen,
    LivePoll,
    LiveClose,
    Other,
};

}  // namespace velorin
