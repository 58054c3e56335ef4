// The connection manager: Connect (serial search or the USB link), the serial port choice,
// USB detection at start-up and on device arrival, removal, and the automatic-download check.
//
// Threading: lives on the GUI thread and is driven by it (commands, hot-plug notices, timers).
// Every exchange with the logger is a job of the LinkWorker (its header states the rule): the
// job works on copies and its result is applied here, on the GUI thread, when it has ended.
// Hot-plug notices go through LinkWorker::WhenIdle, so a notice that arrives while a job runs is
// handled after it. The fixed waits of detection (500/1000/2000/3000 ms) are timers.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "device/connect.h"

namespace velorin {

enum class Language;
class LinkWorker;
class Presenter;
class PropertyPanel;
class UserMessages;
struct CommandFlags;
struct DeviceInfo;
struct DetectionOutcome;
struct PanelLine;

class ConnectionManager : public QObject {
    Q_OBJECT
public:
    // `flags` are the frame's command-enable flags; they are changed only when a job's result
    // says what the link now is, never around a job.
    ConnectionManager(LinkWorker& worker, DeviceInfo& info, CommandFlags& flags, Language language,
                      UserMessages& messages, Presenter& presenter, PropertyPanel* panel, QObject* parent = nullptr);
    ~ConnectionManager() override;

    // Commands.
    void Connect();     // ID_CONNECT and the automatic connect after an arrival (Connect job)
    void ChoosePort();  // ID_CHOOSE_PORT
    // The start-up check (posted once the main frame runs): 500 ms, then a Detection job.
    void CheckUsbAtStartup();
    // Device notices; each is handled once the link is idle.
    void OnVolumeArrived(bool removableMedia);
    void OnDeviceInterfaceArrived();
    // Any removal (a volume or a HID interface): a Removal job asks whether the logger is still
    // there, and only a logger that is gone disconnects.
    void OnVolumeRemoved();
    void OnDeviceInterfaceRemoved() { OnVolumeRemoved(); }
    // The automatic-download check (an AutoDownloadCheck job unless one is pending).
    void StartAutoDownload();

    bool UsbConnected() const { return state_.usbConnected; }
    bool DownloadPending() const { return downloadPending_; }
    // A link job runs or waits (the device commands are greyed meanwhile).
    bool Busy() const;
    const std::string& SelectedPortText() const { return state_.selectedPortText; }

    // Tests: where Connect looks for ports, and a factor applied to the fixed waits.
    void SetPortListProvider(std::function<std::vector<PortEntry>()> provider);
    void SetDelayScale(double scale) { delayScale_ = scale; }

signals:
    void CommandsChanged();                // the command-enable flags changed
    void ToolbarLabelsReset();             // set the toolbar labels again
    void HistoryCommandPosted();           // the History command must run now
    void ConnectFinished(int outcome);     // ConnectOutcome, for observers and tests
    void RemovalHandled(bool loggerGone);  // a removal notice was judged (tests, observers)
    // Connect widens status pane 0 to 1200 px when it starts and pane 1 to 700 px at its end.
    void StatusPaneWidthSet(int pane, int pixels);

private:
    void After(int milliseconds, std::function<void()> step);
    void Detect(bool atStartup);
    void ApplyDetection(const DetectionOutcome& outcome, const DeviceInfo& found, bool atStartup);
    void RefillPanel(const std::vector<PanelLine>& lines);
    void ShowNoLogger();

    LinkWorker& worker_;
    DeviceInfo& info_;
    CommandFlags& flags_;
    const Language language_;
    UserMessages& messages_;
    Presenter& presenter_;
    PropertyPanel* panel_;
    ConnectState state_;
    int autoDownloadEnabled_ = 1;  // no command changes it
    bool downloadPending_ = false;
    std::function<std::vector<PortEntry>()> portList_;
    double delayScale_ = 1.0;
};

}  // namespace velorin
