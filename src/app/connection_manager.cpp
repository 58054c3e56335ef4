#include "app/connection_manager.h"

#include <QCoreApplication>
#include <QTimer>
#include <system_error>
#include <thread>

#include "app/command_flags.h"
#include "app/gui_text.h"
#include "app/panel_lines.h"
#include "app/presenter.h"
#include "app/property_panel.h"
#include "app/set_com_dialog.h"
#include "common/texts.h"
#include "common/user_messages.h"
#include "device/device_info.h"
#include "device/device_reader.h"
#include "device/frame.h"
#include "device/link.h"
#include "device/serial_port.h"

namespace velorin {

namespace {
constexpr int kStartupWaitMs = 500;
constexpr int kArrivalWaitMs = 500;
constexpr int kVolumeWaitMs = 1000;
constexpr int kStartupDownloadWaitMs = 2000;
constexpr int kArrivalDownloadWaitMs = 3000;

void EnableDeviceCommands(CommandFlags& flags) {
    flags.connectEnabled = 1;
    flags.SetDeviceCommands(1);
}
}  // namespace

ConnectionManager::ConnectionManager(Link& link, DeviceInfo& info, CommandFlags& flags,
                                     const std::string& languageName, UserMessages& messages,
                                     Presenter& presenter, PropertyPanel* panel, QObject* parent)
    : QObject(parent), link_(link), info_(info), flags_(flags), languageName_(languageName),
      messages_(messages), presenter_(presenter), panel_(panel),
      portList_([] { return PortEntries(SerialPortList()); }) {}

ConnectionManager::~ConnectionManager() {
    // A worker may be waiting for the GUI thread (a message box): keep serving events until it
    // has returned, so it never outlives the state it works on.
    closing_ = true;
    disconnect(this, nullptr, nullptr, nullptr);
    while (workers_.load() > 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

void ConnectionManager::SetPortListProvider(std::function<std::vector<PortEntry>()> provider) {
    portList_ = std::move(provider);
}

void ConnectionManager::After(int milliseconds, std::function<void()> step) {
    QTimer::singleShot(static_cast<int>(milliseconds * delayScale_), this, std::move(step));
}

void ConnectionManager::EndLinkWork() {
    if (externalWork_ > 0) --externalWork_;
    if (!LinkInUse()) RunDeferred();
}

void ConnectionManager::RunDeferred() {
    std::vector<std::function<void()>> work;
    work.swap(deferred_);
    for (auto& step : work) step();
}

void ConnectionManager::RefillPanel() {
    if (panel_ != nullptr) panel_->Fill(BuildPanelLines(info_, languageName_));
}

void ConnectionManager::Connect() {
    if (busy_) return;
    if (LinkInUse()) {
        deferred_.push_back([this] { Connect(); });
        return;
    }
    busy_ = true;
    CommandFlags working = flags_;
    // Nothing else may talk to the logger until Connect has finished.
    flags_.connectEnabled = 0;
    flags_.SetDeviceCommands(0);
    emit CommandsChanged();
    emit StatusPaneWidthSet(0, 1200);

    const std::vector<PortEntry> ports = portList_();
    ConnectState state = state_;
    ++workers_;
    try {
        std::thread([this, working, state, ports]() mutable {
            const ConnectResult result =
                velorin::Connect(link_, info_, working, state, ports, languageName_, messages_);
            // The panel refill is built on this worker; the tree changes on the GUI thread.
            std::vector<PanelLine> lines;
            if (result.refillPanel) lines = BuildPanelLines(info_, languageName_);
            QMetaObject::invokeMethod(
                this, [this, result, working, state, lines]() mutable {
                    --workers_;
                    if (!closing_) FinishConnect(result, working, state, std::move(lines));
                },
                Qt::QueuedConnection);
        }).detach();
    } catch (const std::system_error&) {
        --workers_;
        busy_ = false;
        flags_.connectEnabled = 1;
        emit CommandsChanged();
    }
}

void ConnectionManager::RunExclusive(std::function<bool()> work, std::function<void(bool)> done) {
    if (LinkInUse()) {
        deferred_.push_back([this, work, done] { RunExclusive(work, done); });
        return;
    }
    busy_ = true;
    const CommandFlags before = flags_;
    flags_.connectEnabled = 0;
    flags_.SetDeviceCommands(0);
    emit CommandsChanged();
    ++workers_;
    auto finish = [this, before, done](bool ok) {
        --workers_;
        busy_ = false;
        if (closing_) return;
        const int liveViewOpen = flags_.liveViewOpen;
        flags_ = before;
        flags_.liveViewOpen = liveViewOpen;
        emit CommandsChanged();
        done(ok);
        RunDeferred();
    };
    try {
        std::thread([this, work, finish] {
            const bool ok = work();
            QMetaObject::invokeMethod(this, [finish, ok] { finish(ok); }, Qt::QueuedConnection);
        }).detach();
    } catch (const std::system_error&) {
        finish(false);
    }
}

void ConnectionManager::FinishConnect(const ConnectResult& result, const CommandFlags& flags,
                                      const ConnectState& state, std::vector<PanelLine> lines) {
    const int liveViewOpen = flags_.liveViewOpen;
    flags_ = flags;
    flags_.liveViewOpen = liveViewOpen;
    state_.usbConnected = state.usbConnected;
    busy_ = false;
    if (!lines.empty() && panel_ != nullptr) panel_->Fill(lines);
    emit StatusPaneWidthSet(1, 700);
    emit CommandsChanged();
    emit ConnectFinished(static_cast<int>(result.outcome));
    RunDeferred();
}

void ConnectionManager::ChoosePort() {
    const QString text = presenter_.ChoosePort(FromGbk(TextsFor(languageName_).choosePortTitle));
    // A cancelled dialog gives the empty text: Connect then walks every port again.
    state_.selectedPortText = PortDigits(text).toStdString();
}

void ConnectionManager::CheckUsbAtStartup() {
    After(kStartupWaitMs, [this] {
        messages_.Status(TextsFor(languageName_).checkingUsb);
        StartupDetection();
    });
}

void ConnectionManager::StartupDetection() {
    if (LinkInUse()) {
        deferred_.push_back([this] { StartupDetection(); });
        return;
    }
    const Texts& t = TextsFor(languageName_);
    KvusbHandle found = link_.FindLogger();
    if (found == nullptr) {
        messages_.Status(t.usbNotFound);
        return;
    }
    messages_.Status(t.usbFoundConnecting);
    state_.usbConnected = true;
    if (link_.hidHandle != found) link_.CloseHidHandle();
    link_.hidHandle = found;
    uint8_t part0[64];
    if (!ReadInfoPart0Hid(link_, part0)) {
        state_.usbConnected = false;
        link_.CloseHidHandle();
        messages_.Status(t.usbReadFailed);
        return;
    }
    messages_.Status(t.usbConnected);
    EnableDeviceCommands(flags_);
    emit CommandsChanged();
    if (CompleteInfoHid(link_, info_, t, part0) != HidInfoStatus::Decoded) return;
    if (!ReadIdentityHid(link_, info_)) return;
    ReadChannelsHid(link_, info_);
    RefillPanel();
    emit ToolbarLabelsReset();
    if (autoDownloadEnabled_ && !downloadPending_) {
        After(kStartupDownloadWaitMs, [this] { StartAutoDownload(); });
    }
}

void ConnectionManager::OnVolumeArrived(bool removableMedia) {
    if (!removableMedia) return;
    messages_.Status(TextsFor(languageName_).storageArrived);
    After(kVolumeWaitMs, [this] {
        if (!state_.usbConnected) ArrivalDetection();
    });
}

void ConnectionManager::OnDeviceInterfaceArrived() {
    if (!state_.usbConnected) ArrivalDetection();
}

void ConnectionManager::ArrivalDetection() {
    if (state_.usbConnected) return;
    After(kArrivalWaitMs, [this] {
        if (LinkInUse()) {
            deferred_.push_back([this] { ArrivalDetection(); });
            return;
        }
        if (state_.usbConnected) return;  // another notice got there first
        const Texts& t = TextsFor(languageName_);
        KvusbHandle found = link_.FindLogger();
        if (found == nullptr) {
            state_.usbConnected = false;
            return;
        }
        messages_.Status(t.usbFoundConnecting);
        state_.usbConnected = true;
        if (link_.hidHandle != found) link_.CloseHidHandle();
        link_.hidHandle = found;
        EnableDeviceCommands(flags_);
        emit CommandsChanged();
        uint8_t part0[64];
        if (!ReadInfoPart0Hid(link_, part0)) {
            messages_.Status(t.usbReadFailed);
        } else {
            messages_.Status(t.usbConnected);
            if (part0[0] != 0 && CompleteInfoHid(link_, info_, t, part0) == HidInfoStatus::Decoded) {
                RefillPanel();
                emit ToolbarLabelsReset();
            }
            // A full Connect follows once this notice has been handled.
            QTimer::singleShot(0, this, [this] { Connect(); });
        }
        if (state_.usbConnected && autoDownloadEnabled_ && !downloadPending_) {
            After(kArrivalDownloadWaitMs, [this] {
                messages_.Status(TextsFor(languageName_).autoDownloadAfterArrival);
                StartAutoDownload();
            });
        }
    });
}

void ConnectionManager::OnVolumeRemoved() {
    if (LinkInUse()) {
        deferred_.push_back([this] { OnVolumeRemoved(); });
        return;
    }
    if (!state_.usbConnected) return;
    messages_.Status(TextsFor(languageName_).usbRemoved);
    state_.usbConnected = false;
    flags_.connectEnabled = 0;
    flags_.SetDeviceCommands(0);
    flags_.liveViewOpen = 0;
    link_.CloseHidHandle();
    emit ToolbarLabelsReset();
    emit CommandsChanged();
}

void ConnectionManager::StartAutoDownload() {
    if (downloadPending_) return;
    if (LinkInUse()) {
        deferred_.push_back([this] { StartAutoDownload(); });
        return;
    }
    downloadPending_ = true;
    const Texts& t = TextsFor(languageName_);
    messages_.Status(t.autoDownloadStarts);
    // The worker gets copies: the GUI thread may change the link state while it reads.
    const bool linkUp = state_.usbConnected && link_.hidHandle != nullptr;
    const KvusbApi api = link_.usb;
    const KvusbHandle handle = link_.hidHandle;
    const int32_t stored = info_.storedRecordCount;
    ++workers_;
    try {
        std::thread([this, linkUp, api, handle, stored] {
            bool read = false;
            if (linkUp && api.Available()) {
                uint8_t report[64] = {};
                read = api.sendHReadData(handle, KVUSB_SELECTOR_READ, report, sizeof report,
                                         HidCallCode(cmd::InfoQuery, 0)) != 0;
            }
            QMetaObject::invokeMethod(
                this, [this, read, stored, linkUp] {
                    --workers_;
                    downloadPending_ = false;
                    if (closing_) return;
                    if (read && stored > 0) {
                        emit HistoryCommandPosted();
                    } else if (linkUp) {
                        messages_.Status(TextsFor(languageName_).noHistoryOnDevice);
                    }
                    RunDeferred();
                },
                Qt::QueuedConnection);
        }).detach();
    } catch (const std::system_error&) {
        --workers_;
        downloadPending_ = false;
        messages_.Status(t.downloadThreadFailed);
    }
}

}  // namespace velorin
