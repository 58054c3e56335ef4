// The connection manager: Connect (serial search or the USB link), the serial port choice,
// USB detection at start-up and on device arrival, removal, and the automatic-download check.
//
// Threading: lives on the GUI thread and is driven by it (commands, hot-plug signals, timers).
// Connect's exchanges and the automatic-download check run on worker threads; while Connect runs
// every device command is disabled (busy), so no other exchange can start, and workers touch the
// shared state (DeviceInfo, the link) only while busy. Their results come back to the GUI thread
// through queued calls. Hot-plug events that arrive while busy are handled when Connect ends.
// The fixed waits of detection (500/1000/2000/3000 ms) are timers, so the window keeps painting.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "app/connect.h"
#include "app/panel_lines.h"

namespace velorin {

class Link;
class Presenter;
class PropertyPanel;
class UserMessages;
struct CommandFlags;
struct DeviceInfo;

class ConnectionManager : public QObject {
    Q_OBJECT
public:
    ConnectionManager(Link& link, DeviceInfo& info, CommandFlags& flags,
                      const std::string& languageName, UserMessages& messages,
                      Presenter& presenter, PropertyPanel* panel, QObject* parent = nullptr);
    ~ConnectionManager() override;  // waits for running workers

    // Commands.
    void Connect();     // ID_CONNECT and the automatic connect after an arrival
    void ChoosePort();  // ID_CHOOSE_PORT
    // The start-up check (posted once the main frame runs): 500 ms, then detection.
    void CheckUsbAtStartup();
    // Device-change notices.
    void OnVolumeArrived(bool removableMedia);
    void OnDeviceInterfaceArrived();
    void OnVolumeRemoved();
    // The automatic-download check (starts its worker unless one is pending).
    void StartAutoDownload();
    // Runs one exchange with the logger (Stop, ...) on a worker while every device command is
    // disabled; `done` gets its result on the GUI thread and the flags are restored before it.
    // Waits its turn when another exchange is running.
    void RunExclusive(std::function<bool()> work, std::function<void(bool)> done);

    // An exchange run elsewhere (the history download) holds the link from Begin to End:
    // Connect, Stop and hot-plug work wait until it ends (the USB handle is never closed under
    // it). GUI thread.
    void BeginLinkWork() { ++externalWork_; }
    void EndLinkWork();

    bool UsbConnected() const { return state_.usbConnected; }
    bool DownloadPending() const { return downloadPending_; }
    bool Busy() const { return busy_; }
    const std::string& SelectedPortText() const { return state_.selectedPortText; }

    // Tests: where Connect looks for ports, and a factor applied to the fixed waits.
    void SetPortListProvider(std::function<std::vector<PortEntry>()> provider);
    void SetDelayScale(double scale) { delayScale_ = scale; }

signals:
    void CommandsChanged();      // the command-enable flags changed
    void ToolbarLabelsReset();   // set the toolbar labels again
    void HistoryCommandPosted(); // the History command must run now
    void ConnectFinished(int outcome);  // ConnectOutcome, for observers and tests
    // Connect widens status pane 0 to 1200 px when it starts and pane 1 to 700 px at its end.
    void StatusPaneWidthSet(int pane, int pixels);

private:
    void After(int milliseconds, std::function<void()> step);
    void StartupDetection();
    void ArrivalDetection();
    void FinishConnect(const ConnectResult& result, const CommandFlags& flags,
                       const ConnectState& state, std::vector<PanelLine> lines);
    void RunDeferred();
    void RefillPanel();

    Link& link_;
    DeviceInfo& info_;
    CommandFlags& flags_;
    const std::string& languageName_;
    UserMessages& messages_;
    Presenter& presenter_;
    PropertyPanel* panel_;
    ConnectState state_;
    int autoDownloadEnabled_ = 1;  // no command changes it
    bool downloadPending_ = false;
    bool busy_ = false;
    std::vector<std::function<void()>> deferred_;  // hot-plug work that waited for Connect
    std::function<std::vector<PortEntry>()> portList_;
    double delayScale_ = 1.0;
    // Workers started and not yet handed back; changed on the GUI thread only, read by the
    // destructor's wait (atomic because the thread that starts a worker may fail to).
    std::atomic<int> workers_{0};
    bool closing_ = false;
    int externalWork_ = 0;  // BeginLinkWork calls not yet ended
    bool LinkInUse() const { return busy_ || workers_.load() > 0 || externalWork_ > 0; }
};

}  // namespace velorin
