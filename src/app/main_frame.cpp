#include "app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QTableView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "analysis/compare_command.h"
#include "app/about_dialog.h"
#include "app/child_frame.h"
#include "app/config_commands.h"
#include "app/connection_manager.h"
#include "app/hotplug_monitor.h"
#include "app/link_worker.h"
#include "app/live_view_frame.h"
#include "app/property_panel.h"
#include "app/recent_files.h"
#include "app/simulated_hotplug.h"
#include "common/cancel_token.h"
#include "common/format.h"
#include "common/language.h"
#include "common/lock_leds.h"
#include "common/manual_path.h"
#include "common/texts.h"
#include "device/kvusb_loader.h"
#include "device/link.h"
#include "device/panel_lines.h"
#include "device/port_permission.h"
#include "device/stop_recording.h"
#include "history/dastrel_doc.h"
#include "history/download_dialog.h"
#include "report/save_as_command.h"
#include "ui/command_ids.h"
#include "ui/gui_text.h"
#include "ui/icons.h"
#include "ui/presenter.h"
#include "ui/qt_messages.h"
#include "ui/qt_translations.h"
#include "ui/status_pane.h"
#include "view/dastrel_view.h"
#include "view/data_list_model.h"
#include "view/f0_command.h"
#include "view/view_printing.h"

namespace velorin {

namespace {
constexpr const char* kLockNames[3] = {"CAP", "NUM", "SCRL"};
constexpr int kLockKeys[3] = {Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock};
}  // namespace

CMainFrame::CMainFrame(Link& link, Presenter* presenter, FrameOptions options)
    : link_(link), presenter_(presenter), options_(options) {
    // Before any window exists: the language decides every text that follows.
    const LanguageSetting language = ReadLanguage();
    languageName_ = language.languageName;
    language_ = language.language;
    const std::string locale =
        options_.systemLocale.empty() ? QLocale::system().name().toStdString() : options_.systemLocale;
    uiLanguage_ = EffectiveUiLanguage(language, locale);
    InstallQtTranslations(uiLanguage_, this);
    link_.deviceAddress = 0;
    if (presenter_ == nullptr) {
        ownPresenter_ = std::make_unique<WidgetPresenter>(this);
        presenter_ = ownPresenter_.get();
    }
    messages_ = std::make_unique<QtMessages>(this, *presenter_, [this](const QString& t) { ShowStatus(t); });
    link_.serial.SetMessageSink(messages_.get());

    setWindowIcon(ApplicationIcon());
    setAcceptDrops(true);
    mdi_ = new QMdiArea(this);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
        KeepChildrenMaximized(w);
        UpdateMenus();
    });

    panel_ = new PropertyPanel(this);
    addDockWidget(Qt::LeftDockWidgetArea, panel_);
    worker_ = std::make_unique<LinkWorker>(link_);
    connect(worker_.get(), &LinkWorker::BusyChanged, this, &CMainFrame::UpdateCommands);
    connection_ =
        std::make_unique<ConnectionManager>(*worker_, info_, flags_, language_, *messages_, *presenter_, panel_);
    connect(connection_.get(), &ConnectionManager::CommandsChanged, this, &CMainFrame::UpdateCommands);
    connect(connection_.get(), &ConnectionManager::ToolbarLabelsReset, this, &CMainFrame::SetToolbarLabels);
    connect(connection_.get(), &ConnectionManager::StatusPaneWidthSet, this, [this](int pane, int pixels) {
        if (StatusPane* p = Pane(pane)) p->SetPaneWidth(pixels);
    });
    connect(connection_.get(), &ConnectionManager::HistoryCommandPosted, this, [this] { RunCommand(ID_HISTORY); });

    if (options_.checkUsbAtStartup) {
        QTimer::singleShot(0, this, [this] { connection_->CheckUsbAtStartup(); });
    }
    BuildToolBar();
    BuildStatusBar();
    BuildMenus();
    panel_->Fill(InitialPanelLines(language_));
    // Real and simulated device notices reach the connection manager the same way.
    if (options_.watchHotplug) hotplug_.push_back(new HotplugMonitor(this));
    if (options_.watchSimulatedHotplug) {
        hotplug_.push_back(new SimulatedHotplugSource(SimulatedHotplugSource::DefaultStateFile(), 200, this));
    }
    for (HotplugSource* source : hotplug_) {
        ConnectionManager* c = connection_.get();
        connect(source, &HotplugSource::VolumeArrived, c, &ConnectionManager::OnVolumeArrived);
        connect(source, &HotplugSource::VolumeRemoved, c, &ConnectionManager::OnVolumeRemoved);
        connect(source, &HotplugSource::HidInterfaceArrived, c, &ConnectionManager::OnDeviceInterfaceArrived);
        connect(source, &HotplugSource::HidInterfaceRemoved, c, &ConnectionManager::OnDeviceInterfaceRemoved);
    }

    // The USB library: without it the USB link is simply unavailable.
    const KvusbLoadResult usb = LoadKvusb(ExecutableFolder(), link_.usb);
    if (usb.status != KvusbLoadStatus::Loaded) {
        presenter_->Message(FromGbk(usb.message), QString(), BoxIcon::Error);
    }

    QString title = QStringLiteral("Velorin");
    if (options_.demo) title += FromUtf8(TextsFor(language_).demoTitleSuffix);
    setWindowTitle(title);
    move(0, 0);
    resize(1024, 768);
    qApp->installEventFilter(this);
    UpdateCommands();
}

void CMainFrame::FitToScreen() {
    // 1024 × 768 at the origin where the screen has room; on a smaller screen (or one with
    // panels) the window with its frame takes the available area, so that its status bar stays
    // in view. The frame's margins are known once the window is shown.
    const QScreen* s = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (s == nullptr) return;
    const QRect available = s->availableGeometry();
    if (available.isEmpty()) return;
    const QSize margins = frameGeometry().size() - size();
    const QSize room = (available.size() - margins).expandedTo(QSize(1, 1));
    if (size().width() > room.width() || size().height() > room.height()) resize(size().boundedTo(room));
    const QPoint at(std::max(frameGeometry().x(), available.left()), std::max(frameGeometry().y(), available.top()));
    if (at != frameGeometry().topLeft()) move(at);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // Closing the data windows while the frame is torn down activates others; the menus, whose
    // actions are already gone by then, must not be rebuilt.
    disconnect(mdi_, nullptr, this, nullptr);
    // The same for the children's state changes: they are destroyed after this frame's part.
    for (QMdiSubWindow* w : mdi_->subWindowList()) disconnect(w, nullptr, this, nullptr);
    // The link's last job ends and the link thread closes the port and the handle before the
    // state the jobs' results go to disappears; later submissions are dropped.
    worker_->Shutdown();
    CloseLiveView(*this);
    delete download_.data();
    connection_.reset();
    link_.serial.SetMessageSink(nullptr);
}

// Child windows share one maximised state, as in any multiple-document frame: a window that
// comes to the front because a maximised one closed (the live view, another data window) is
// shown maximised too, instead of at the small restored size it never had on screen.
void CMainFrame::KeepChildrenMaximized(QMdiSubWindow* active) {
    if (active == nullptr) return;  // the last one closed: the state stays for the next
    if (childrenMaximized_ && !active->isMaximized()) active->showMaximized();
    childrenMaximized_ = active->isMaximized();
    if (!active->property("stateWatched").toBool()) {
        active->setProperty("stateWatched", true);
        // A window the user restores or maximises decides for those that follow it.
        connect(active, &QMdiSubWindow::windowStateChanged, this,
                [this, active](Qt::WindowStates, Qt::WindowStates now) {
                    if (mdi_->activeSubWindow() == active) childrenMaximized_ = (now & Qt::WindowMaximized) != 0;
                });
    }
}

void CMainFrame::BuildStatusBar() {
    pane0_ = new StatusPane(QString(), this);
    statusBar()->addWidget(pane0_, 1);
    for (int i = 0; i < 3; ++i) {
        lockLabels_[i] = new StatusPane(QString::fromLatin1(kLockNames[i]), this);
        lockLabels_[i]->setAlignment(Qt::AlignCenter);
        lockLabels_[i]->setMinimumWidth(40);
        lockLabels_[i]->KeepTextWidth();
        statusBar()->addPermanentWidget(lockLabels_[i]);
    }
    PollLockLeds();
    // The keyboard lights follow lock keys pressed in any program; where the kernel shows them
    // they are read twice a second, elsewhere key presses in this program toggle the panes.
    if (ReadLockLeds().found) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &CMainFrame::PollLockLeds);
        timer->start(500);
    }
    UpdateLockIndicators();
}

void CMainFrame::PollLockLeds() {
    const LockLeds leds = ReadLockLeds();
    if (!leds.found) return;
    lockState_[0] = leds.capsLock;
    lockState_[1] = leds.numLock;
    lockState_[2] = leds.scrollLock;
    UpdateLockIndicators();
}

StatusPane* CMainFrame::Pane(int index) const {
    if (index == 0) return pane0_;
    return index >= 1 && index <= 3 ? lockLabels_[index - 1] : nullptr;
}

void CMainFrame::UpdateLockIndicators() {
    for (int i = 0; i < 3; ++i) lockLabels_[i]->setEnabled(lockState_[i]);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // The lock keys are followed as they are pressed in the program's windows.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (int i = 0; i < 3; ++i) {
            if (key == kLockKeys[i] && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
                lockState_[i] = !lockState_[i];
                UpdateLockIndicators();
                // The light changes after the key event; read it back shortly after.
                QTimer::singleShot(100, this, &CMainFrame::PollLockLeds);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::ShowStatus(const QString& text) {
    pane0_->setText(text);
    pane0_->setToolTip(text);  // a narrow window cuts the pane; the whole text stays at hand
}

QString CMainFrame::StatusText() const { return pane0_->text(); }

std::vector<QAction*> CMainFrame::Actions(int id) const {
    std::vector<QAction*> out;
    auto range = actions_.equal_range(id);
    for (auto it = range.first; it != range.second; ++it) out.push_back(it->second);
    return out;
}

bool CMainFrame::DataWindowActive() const { return ActiveDocument() != nullptr; }

void CMainFrame::UpdateCommands() {
    // Connect and Stop grey the device commands while they wait or run; the download, the
    // live view and the modal dialogs keep their own windows' state in the flags.
    const bool busy = worker_ && (worker_->Pending(LinkJobKind::Connect) || worker_->Pending(LinkJobKind::Stop));
    const bool english = language_ == Language::English;
    for (auto& [id, action] : actions_) {
        bool enabled = true;
        switch (id) {
            case ID_CONNECT: enabled = flags_.connectEnabled != 0 && !busy; break;
            case ID_LIVE_VIEW: enabled = flags_.liveEnabled != 0 && !busy; break;
            case ID_HISTORY: enabled = flags_.historyEnabled != 0 && !busy; break;
            case ID_SETUP_WIZARD:
            case ID_UPDATE_TIME:
            case ID_STOP: enabled = flags_.configurationEnabled != 0 && !busy; break;
            case ID_CLOSE_LIVE_VIEW: enabled = flags_.liveViewOpen != 0; break;
            case ID_CHOOSE_PORT: enabled = !busy; break;
            case ID_F0_CONFIG:
            case ID_FILE_CLOSE:
            case ID_FILE_SAVE_AS:
            case ID_PRINT_CURVE:
            case ID_PRINT_LIST: enabled = DataWindowActive(); break;
            case ID_VIEW_TOOLBAR: action->setChecked(toolbar_ && toolbar_->isVisible()); break;
            case ID_VIEW_STATUS_BAR: action->setChecked(statusBar()->isVisible()); break;
            case ID_SWITCH_LANGUAGE:
                action->setChecked(english);
                action->setText(FromUtf8(TextsFor(language_).switchLanguageLabel));
                break;
            default: break;
        }
        action->setEnabled(enabled);
    }
}

void CMainFrame::RunCommand(int id) {
    // Disabled commands never run, whoever asks (a posted command may arrive late).
    for (QAction* a : Actions(id)) {
        if (!a->isEnabled()) return;
    }
    switch (id) {
        case ID_CONNECT: connection_->Connect(); break;
        case ID_CHOOSE_PORT: connection_->ChoosePort(); break;
        case ID_STOP: StopCommand(); break;
        case ID_SETUP_WIZARD: RunSetupWizard(*this, *worker_, *presenter_); break;
        case ID_UPDATE_TIME: RunClockCalibration(*this, *worker_, *presenter_); break;
        case ID_HISTORY: HistoryCommand(); break;
        case ID_LIVE_VIEW: OpenLiveView(*this, *worker_); break;
        case ID_CLOSE_LIVE_VIEW: CloseLiveView(*this); break;
        case ID_SHOW_PANEL: panel_->show(); break;
        case ID_HELP: OpenHelp(); break;
        case ID_SWITCH_LANGUAGE: SwitchLanguage(); break;
        case ID_APP_ABOUT: ShowAbout(); break;
        case ID_APP_EXIT: close(); break;
        case ID_VIEW_TOOLBAR: toolbar_->setVisible(!toolbar_->isVisible()); break;
        case ID_VIEW_STATUS_BAR: statusBar()->setVisible(!statusBar()->isVisible()); break;
        case ID_FILE_OPEN: {
            const QString path = presenter_->AskOpenFile(FromUtf8(TextsFor(language_).openFilter));
            if (!path.isEmpty()) OpenDataFile(path);
            break;
        }
        case ID_FILE_CLOSE:
            if (QMdiSubWindow* w = mdi_->activeSubWindow()) w->close();
            break;
        case ID_FILE_SAVE_AS: {
            // The report covers what the data window's view shows.
            const CDastrelView* view = ViewOf(mdi_->activeSubWindow());
            SaveAsCommand(ActiveDocument(), Display(), *presenter_, view ? view->FirstIndex() : 0,
                          view ? view->EndIndex() : 0, this);
            break;
        }
        case ID_PRINT_CURVE:
            if (CDastrelView* view = ViewOf(mdi_->activeSubWindow())) PrintViewCurve(*view, *presenter_);
            break;
        case ID_PRINT_LIST:
            if (CDastrelView* view = ViewOf(mdi_->activeSubWindow())) PrintViewList(*view, *presenter_, Display());
            break;
        case ID_COMPARE: {
            std::vector<CompareSource> open;
            for (QMdiSubWindow* w : mdi_->subWindowList()) {
                if (auto* child = qobject_cast<CChildFrame*>(w)) open.push_back({w->windowTitle(), child->Document()});
            }
            RunCompareCommand(*mdi_, open, language_, *presenter_);
            break;
        }
        case ID_F0_CONFIG: RunF0ConfigCommand(mdi_->activeSubWindow(), language_, f0_, *presenter_, this); break;
        default:
            // Download, views and dialogs of the logger: provided by their own windows.
            emit CommandRequested(id);
            break;
    }
    UpdateCommands();
}

void CMainFrame::StopCommand() {
    const FixedTexts& f = Fixed();
    if (!presenter_->AskOkCancel(FromUtf8(f.stopQuestion), FromUtf8(f.stopTitle), BoxIcon::Warning)) return;
    // A Stop job: the stop request on the link thread with a copy of DeviceInfo, whose work
    // state comes back here.
    auto stopped = std::make_shared<std::pair<DeviceInfo, bool>>(info_, false);
    worker_->Submit(
        LinkJobKind::Stop,
        [stopped](Link& link, CancelToken&) { stopped->second = StopRecording(link, stopped->first); },
        [this, stopped](bool ran) {
            if (ran && stopped->second) {
                info_ = stopped->first;
                panel_->Fill(BuildPanelLines(info_, language_));
            } else {
                presenter_->Message(FromUtf8(Fixed().stopFailed), QString(), BoxIcon::None);
            }
        });
}

CProgress1Dlg* CMainFrame::Download() const { return download_.data(); }

void CMainFrame::HistoryCommand() {
    if (download_) return;  // one download at a time
    // The commands that would talk to the logger wait until the download has ended.
    flags_.liveEnabled = 0;
    flags_.historyEnabled = 0;
    flags_.configurationEnabled = 0;
    flags_.connectEnabled = 0;
    UpdateCommands();

    CProgress1Dlg::Inputs inputs;
    if (DataWindowActive()) {
        const Texts& t = TextsFor(language_);
        if (presenter_->AskOkCancel(FromUtf8(t.saveAsQuestion), FromUtf8(t.saveAsCaption), BoxIcon::Warning)) {
            QString name = presenter_->AskSaveFile(FromUtf8(Fixed().downloadSaveFilter));
            if (!name.isEmpty()) {
                if (!name.contains(QStringLiteral(".kv"))) name += QStringLiteral(".kv");
                inputs.targetPath = name;
                inputs.saveToChosenPath = true;
            }
        } else if (QMdiSubWindow* w = mdi_->activeSubWindow()) {
            w->close();
        }
    }

    CProgress1Dlg::Hooks hooks;
    // What the download announced ("Starting auto download ...") is replaced when it ends: by
    // where the file went, or by its cancellation.
    auto ownStatus = std::make_shared<bool>(false);
    hooks.openFile = [this, ownStatus](const QString& path, std::unique_ptr<RecordSet> set) {
        if (!*ownStatus) {
            ShowStatus(FromUtf8(FormatC(TextsFor(language_).downloadSaved.c_str(), path.toStdString().c_str())));
        }
        return OpenDataSet(path, std::move(set));
    };
    hooks.status = [this, ownStatus](const QString& text) {
        *ownStatus = true;
        ShowStatus(text);
    };
    hooks.ended = [this](bool stored) {
        // After OK only Connect comes back (the next connection enables the rest); an abandoned
        // download gives every command back.
        flags_.connectEnabled = 1;
        if (!stored) {
            flags_.SetDeviceCommands(1);
            ShowStatus(FromUtf8(TextsFor(language_).downloadAbandoned));
        }
        UpdateCommands();
    };
    download_ = new CProgress1Dlg(*worker_, info_, language_, *presenter_, inputs, hooks, this);
    if (downloadSetup_) downloadSetup_(*download_);
    download_->show();
    download_->Start();
}

void CMainFrame::OpenHelp() {
    // The HTML manual of the interface language, shown by the desktop's browser.
    const std::string folder = manualFolder_.empty() ? ManualFolder(ExecutableFolder()) : manualFolder_;
    const QString path = QString::fromStdString(ManualPath(folder, language_));
    if (QFileInfo::exists(path)) {
        presenter_->OpenWithDesktop(path);
    } else {
        presenter_->Message(FromUtf8(TextsFor(language_).helpFileMissing) + path, QString(), BoxIcon::None);
    }
}

void CMainFrame::SwitchLanguage() {
    // A failed write is ignored: the new instance then reads the old file.
    WriteLanguage(SwitchedLanguageName(languageName_));
    presenter_->RestartProgram();
}

void CMainFrame::ShowAbout() {
    CAboutDlg about(UiTextLanguage(uiLanguage_), this);
    presenter_->Exec(about);
}

bool CMainFrame::OpenDataFile(const QString& path, bool freshWindow) {
    // A file that is already open is brought to the front instead of opened twice.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!freshWindow) {
        for (QMdiSubWindow* w : mdi_->subWindowList()) {
            if (!canonical.isEmpty() && w->property("path").toString() == canonical) {
                mdi_->setActiveSubWindow(w);
                return true;
            }
        }
    }
    auto doc = std::make_shared<CDastrelDoc>();
    const DocOpenResult result = doc->OnOpenDocument(QFile::encodeName(path).toStdString());
    if (result.outcome == DocOpenOutcome::WrongExtension) {
        presenter_->Message(FromUtf8(Fixed().kvExtensionRefused), QString(), BoxIcon::Warning);
        return false;
    }
    if (result.outcome != DocOpenOutcome::Opened) {
        const Texts& t = TextsFor(language_);
        const std::string text =
            FormatC(t.openFailedReason.c_str(), path.toStdString().c_str(), result.read.detail.c_str());
        presenter_->Message(FromUtf8(text), QString(), BoxIcon::Warning);
        return false;
    }
    ShowDataWindow(std::move(doc), path, canonical);
    return true;
}

bool CMainFrame::OpenDataSet(const QString& path, std::unique_ptr<RecordSet> set) {
    if (!set) return OpenDataFile(path, true);
    auto doc = std::make_shared<CDastrelDoc>();
    doc->Adopt(std::move(set), QFile::encodeName(path).toStdString());
    ShowDataWindow(std::move(doc), path, QFileInfo(path).canonicalFilePath());
    return true;
}

void CMainFrame::ShowDataWindow(std::shared_ptr<CDastrelDoc> doc, const QString& path, const QString& canonical) {
    auto* child = new CChildFrame(*presenter_, [this] { return flags_.liveViewOpen != 0; });
    child->SetDocument(doc);
    child->setProperty("path", canonical);
    child->setWidget(viewFactory_ ? viewFactory_(doc, child) : DefaultDataView(doc, child));
    child->setWindowTitle(QFileInfo(path).fileName());
    mdi_->addSubWindow(child);
    child->showMaximized();
    mdi_->setActiveSubWindow(child);
    AddRecentFile(path);
    UpdateMenus();
}

QWidget* CMainFrame::DefaultDataView(std::shared_ptr<CDastrelDoc> doc, QWidget* parent) const {
    auto* view = new QTableView(parent);
    view->setModel(new DataListModel(std::move(doc), Display(), view));
    SetUpDataListTable(*view);
    return view;
}

std::shared_ptr<CDastrelDoc> CMainFrame::ActiveDocument() const {
    auto* child = qobject_cast<CChildFrame*>(mdi_->activeSubWindow());
    return child != nullptr ? child->Document() : nullptr;
}

void CMainFrame::AddRecentFile(const QString& path) { velorin::AddRecentFile(QFileInfo(path).absoluteFilePath()); }

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) OpenDataFile(url.toLocalFile());
    }
    event->acceptProposedAction();
}

}  // namespace velorin
