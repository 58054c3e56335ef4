#include "app/connection_manager.h"

#include <QPointer>
#include <QTimer>
#include <memory>

#include "app/link_worker.h"
#include "app/port_dialog.h"
#include "app/property_panel.h"
#include "common/cancel_token.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "common/user_messages.h"
#include "device/command_flags.h"
#include "device/device_info.h"
#include "device/device_reader.h"
#include "device/frame.h"
#include "device/link.h"
#include "device/panel_lines.h"
#include "device/serial_port.h"
#include "device/usb_detection.h"
#include "ui/gui_text.h"
#include "ui/presenter.h"

namespace velorin {

namespace {
constexpr int kStartupWaitMs = 500;
constexpr int kArrivalWaitMs = 500;
constexpr int kVolumeWaitMs = 1000;
constexpr int kStartupDownloadWaitMs = 2000;
constexpr int kArrivalDownloadWaitMs = 3000;

// What a Connect job found, handed from the link thread to the GUI thread.
struct ConnectOutput {
    DeviceInfo info;
    ConnectState state;
    ConnectResult result;
    std::vector<PanelLine> lines;  // built on the link thread when the panel is refilled
};

struct DetectionOutput {
    DeviceInfo info;
    DetectionOutcome outcome;
};
}  // namespace

ConnectionManager::ConnectionManager(LinkWorker& worker, DeviceInfo& info, CommandFlags& flags, Language language,
                                     UserMessages& messages, Presenter& presenter, PropertyPanel* panel,
                                     QObject* parent)
    : QObject(parent),
      worker_(worker),
      info_(info),
      flags_(flags),
      language_(language),
      messages_(messages),
      presenter_(presenter),
      panel_(panel),
      portList_([] { return PortEntries(SerialPortList()); }) {}

ConnectionManager::~ConnectionManager() = default;

bool ConnectionManager::Busy() const { return worker_.Busy(); }

void ConnectionManager::SetPortListProvider(std::function<std::vector<PortEntry>()> provider) {
    portList_ = std::move(provider);
}

void ConnectionManager::After(int milliseconds, std::function<void()> step) {
    QTimer::singleShot(static_cast<int>(milliseconds * delayScale_), this, std::move(step));
}

void ConnectionManager::RefillPanel(const std::vector<PanelLine>& lines) {
    if (panel_ != nullptr) panel_->Fill(lines);
}

void ConnectionManager::ShowNoLogger() {
    // Nothing answered: what the panel showed belongs to a logger that is not connected now.
    info_ = DeviceInfo();
    RefillPanel(InitialPanelLines(language_));
}

void ConnectionManager::Connect() {
    if (worker_.Pending(LinkJobKind::Connect)) return;  // one Connect at a time
    emit StatusPaneWidthSet(0, 1200);
    auto out = std::make_shared<ConnectOutput>();
    out->info = info_;
    out->state = state_;
    const std::vector<PortEntry> ports = portList_();
    const Language language = language_;
    UserMessages* messages = &messages_;
    QPointer<ConnectionManager> self(this);
    worker_.Submit(
        LinkJobKind::Connect,
        [out, ports, language, messages](Link& link, CancelToken&) {
            out->result = velorin::Connect(link, out->info, out->state, ports, language, *messages);
            if (out->result.refillPanel) out->lines = BuildPanelLines(out->info, language);
        },
        [self, out](bool ran) {
            if (!self) return;
            if (!ran) {
                emit self->ConnectFinished(static_cast<int>(ConnectOutcome::NotFound));
                return;
            }
            ConnectionManager& m = *self;
            m.state_.usbConnected = out->state.usbConnected;
            m.flags_.connectEnabled = 1;
            m.flags_.SetDeviceCommands(out->result.LoggerFound() ? 1 : 0);
            if (out->result.LoggerFound()) {
                m.info_ = out->info;
                if (!out->lines.empty()) m.RefillPanel(out->lines);
            } else {
                m.ShowNoLogger();
            }
            emit m.StatusPaneWidthSet(1, 700);
            emit m.CommandsChanged();
            emit m.ConnectFinished(static_cast<int>(out->result.outcome));
        });
}

void ConnectionManager::ChoosePort() {
    const QString text = presenter_.ChoosePort(FromUtf8(TextsFor(language_).choosePortTitle));
    // A cancelled dialog gives the empty text: Connect then walks every port again.
    state_.selectedPortText = PortDigits(text).toStdString();
}

void ConnectionManager::CheckUsbAtStartup() {
    After(kStartupWaitMs, [this] {
        messages_.Status(Utf8ToGbk(TextsFor(language_).checkingUsb));
        worker_.WhenIdle([this] { Detect(true); });
    });
}

void ConnectionManager::Detect(bool atStartup) {
    if (!atStartup && state_.usbConnected) return;  // another notice got there first
    auto out = std::make_shared<DetectionOutput>();
    out->info = info_;
    const Language language = language_;
    UserMessages* messages = &messages_;
    QPointer<ConnectionManager> self(this);
    worker_.Submit(
        LinkJobKind::Detection,
        [out, language, messages, atStartup](Link& link, CancelToken&) {
            out->outcome = atStartup ? DetectAtStartup(link, out->info, language, *messages)
                                     : DetectOnArrival(link, out->info, language, *messages);
        },
        [self, out, atStartup](bool ran) {
            if (self && ran) self->ApplyDetection(out->outcome, out->info, atStartup);
        });
}

void ConnectionManager::ApplyDetection(const DetectionOutcome& o, const DeviceInfo& found, bool atStartup) {
    state_.usbConnected = o.usbConnected;
    if (o.enableCommands) {
        flags_.connectEnabled = 1;
        flags_.SetDeviceCommands(1);
        emit CommandsChanged();
    }
    if (o.infoDecoded) {
        info_ = found;
        RefillPanel(BuildPanelLines(info_, language_));
        emit ToolbarLabelsReset();
    }
    if (atStartup) {
        // Start-up goes on to the automatic download only with the identity read.
        if (o.infoDecoded && autoDownloadEnabled_ && !downloadPending_) {
            After(kStartupDownloadWaitMs, [this] { StartAutoDownload(); });
        }
        return;
    }
    if (o.postConnect) QTimer::singleShot(0, this, [this] { Connect(); });
    if (state_.usbConnected && autoDownloadEnabled_ && !downloadPending_) {
        After(kArrivalDownloadWaitMs, [this] {
            messages_.Status(Utf8ToGbk(TextsFor(language_).autoDownloadAfterArrival));
            StartAutoDownload();
        });
    }
}

void ConnectionManager::OnVolumeArrived(bool removableMedia) {
    if (!removableMedia) return;
    messages_.Status(Utf8ToGbk(TextsFor(language_).storageArrived));
    After(kVolumeWaitMs, [this] {
        if (!state_.usbConnected) After(kArrivalWaitMs, [this] { worker_.WhenIdle([this] { Detect(false); }); });
    });
}

void ConnectionManager::OnDeviceInterfaceArrived() {
    if (state_.usbConnected) return;
    After(kArrivalWaitMs, [this] { worker_.WhenIdle([this] { Detect(false); }); });
}

void ConnectionManager::OnVolumeRemoved() {
    worker_.WhenIdle([this] {
        if (!state_.usbConnected) return;
        auto gone = std::make_shared<bool>(false);
        QPointer<ConnectionManager> self(this);
        worker_.Submit(
            LinkJobKind::Removal, [gone](Link& link, CancelToken&) { *gone = LoggerGone(link); },
            [self, gone](bool ran) {
                if (!self || !ran) return;
                ConnectionManager& m = *self;
                if (*gone && m.state_.usbConnected) {
                    m.messages_.Status(Utf8ToGbk(TextsFor(m.language_).usbRemoved));
                    m.state_.usbConnected = false;
                    m.flags_.connectEnabled = 0;
                    m.flags_.SetDeviceCommands(0);
                    m.flags_.liveViewOpen = 0;
                    emit m.ToolbarLabelsReset();
                    emit m.CommandsChanged();
                }
                emit m.RemovalHandled(*gone);
            });
    });
}

void ConnectionManager::StartAutoDownload() {
    if (downloadPending_) return;
    downloadPending_ = true;
    const bool linkUp = state_.usbConnected;
    const int32_t stored = info_.storedRecordCount;
    auto read = std::make_shared<bool>(false);
    QPointer<ConnectionManager> self(this);
    const std::string announcement = Utf8ToGbk(TextsFor(language_).autoDownloadStarts);
    UserMessages* messages = &messages_;
    worker_.Submit(
        LinkJobKind::AutoDownloadCheck,
        [read, linkUp, announcement, messages](Link& link, CancelToken&) {
            // Said when the check begins, after what the jobs before it said.
            messages->Status(announcement);
            if (!linkUp || link.hidHandle == nullptr) return;
            uint8_t report[64] = {};
            *read = link.HidRead(KVUSB_SELECTOR_READ, HidCallCode(cmd::InfoQuery, 0), report);
        },
        [self, read, stored, linkUp](bool ran) {
            if (!self) return;
            self->downloadPending_ = false;
            if (ran && *read && stored > 0) {
                emit self->HistoryCommandPosted();
            } else if (linkUp) {
                self->messages_.Status(Utf8ToGbk(TextsFor(self->language_).noHistoryOnDevice));
            }
        });
}

}  // namespace velorin
