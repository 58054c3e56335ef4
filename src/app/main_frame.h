// CMainFrame: the main window — menus (without a document / with a data window), toolbar,
// status bar, the docked property panel and the MDI area for data windows. It owns DeviceInfo,
// the command-enable flags, the interface language and the F0 parameters for the whole run.
//
// Threading: GUI thread only. Every exchange with the logger is a job of the frame's LinkWorker
// (its header states the rule); Stop submits a Stop job, History opens the download dialog,
// which submits a Download job.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/language.h"
#include "device/command_flags.h"
#include "device/device_info.h"
#include "device/display_options.h"

class QAction;
class QLabel;
class QMenu;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace velorin {

class CDastrelDoc;
class CProgress1Dlg;
class ConnectionManager;
class HotplugSource;
class Link;
class LinkWorker;
class Presenter;
class PropertyPanel;
class QtMessages;
struct RecordSet;
class StatusPane;

struct FrameOptions {
    FrameOptions(bool demoMode = false, bool checkUsb = true, bool hotplug = true)
        : demo(demoMode), checkUsbAtStartup(checkUsb), watchHotplug(hotplug) {}
    bool demo = false;              // title says "(demo)"
    bool checkUsbAtStartup = true;  // post the start-up USB check
    bool watchHotplug = true;       // listen to udev
    // The system's locale name ("zh_CN", "en_US"); empty: the desktop's (tests choose one).
    std::string systemLocale;
    // Listen to the simulated logger's USB plug state (demo mode, a simulator named by
    // VELORIN_KVUSB_SOCKET).
    bool watchSimulatedHotplug = false;
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // `presenter` null: real message boxes and dialogs. The language is read from Language.ini
    // in the working directory before any window is created.
    CMainFrame(Link& link, Presenter* presenter = nullptr, FrameOptions options = FrameOptions());
    ~CMainFrame() override;
    // Shrinks the window into the screen's available area where 1024 × 768 does not fit (the
    // program calls it once before showing the frame).
    void FitToScreen();

    // The one place that enables, checks and names commands from the flags.
    void UpdateCommands();
    // Runs a command by its id, as menu and toolbar do.
    void RunCommand(int id);
    // Opens a data file as a data window (command line, drop, Open, recent files). A file that
    // is open already is brought to the front, except after a download (`freshWindow`): the
    // file then holds new data and gets a window of its own.
    bool OpenDataFile(const QString& path, bool freshWindow = false);
    // A new data window on a data set already read from the file at `path` (a download's hand-
    // over); a null set reads the file as OpenDataFile does.
    bool OpenDataSet(const QString& path, std::unique_ptr<RecordSet> set);
    // What a data window shows of its document; the default is the data list.
    using DataViewFactory = std::function<QWidget*(std::shared_ptr<CDastrelDoc>, QWidget* parent)>;
    void SetDataViewFactory(DataViewFactory factory) { viewFactory_ = std::move(factory); }
    // The user manual's folder for Help; empty (the default): the one installed beside the
    // program (ManualFolder).
    void SetManualFolder(const std::string& folder) { manualFolder_ = folder; }
    // The running download dialog, or null. Tests adjust a new dialog before it starts.
    CProgress1Dlg* Download() const;
    void SetDownloadSetup(std::function<void(CProgress1Dlg&)> setup) { downloadSetup_ = std::move(setup); }
    // The document of the active data window, or null.
    std::shared_ptr<CDastrelDoc> ActiveDocument() const;

    // Language.ini's content as read at start (what switching the language rewrites).
    const std::string& LanguageName() const { return languageName_; }
    // The language of every bilingual text the frame and its windows show or write.
    Language TextLanguage() const { return language_; }
    // That language with the channel types of the DeviceInfo held now: what a data window, its
    // printing and Save As display and write with.
    DisplayOptions Display() const { return DisplayOptionsOf(info_, language_); }
    // The language of menus and dialogs: the file's choice or the system's.
    int UiLanguage() const { return uiLanguage_; }
    CommandFlags& Flags() { return flags_; }
    DeviceInfo& Info() { return info_; }
    // Where the frame's windows show their message boxes and dialogs.
    Presenter& UiPresenter() const { return *presenter_; }
    float F0Parameter(int i) const { return f0_[i]; }
    PropertyPanel* Panel() const { return panel_; }
    ConnectionManager* Connection() const { return connection_.get(); }
    LinkWorker& Worker() const { return *worker_; }
    QMdiArea* MdiArea() const { return mdi_; }
    QToolBar* ToolBar() const { return toolbar_; }
    QString StatusText() const;
    // Status pane `index` (0 = messages, 1..3 = CAP, NUM, SCRL).
    StatusPane* Pane(int index) const;
    // All actions of a command (menu entries and the toolbar button).
    std::vector<QAction*> Actions(int id) const;
    bool DataWindowActive() const;

signals:
    // Commands whose windows other parts of the program provide (download, views, dialogs).
    void CommandRequested(int id);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void UpdateMenus();
    void KeepChildrenMaximized(QMdiSubWindow* active);
    void FillRecentFilesMenu();
    void FillWindowsMenu();
    void BuildToolBar();
    void BuildStatusBar();
    void SetToolbarLabels();
    void ShowStatus(const QString& text);
    QAction* MakeAction(int id, const QString& text);
    void StopCommand();
    void HistoryCommand();
    void OpenHelp();
    void SwitchLanguage();
    void ShowAbout();
    void AddRecentFile(const QString& path);
    void UpdateLockIndicators();
    QWidget* DefaultDataView(std::shared_ptr<CDastrelDoc> doc, QWidget* parent) const;
    void ShowDataWindow(std::shared_ptr<CDastrelDoc> doc, const QString& path, const QString& canonical);
    void PollLockLeds();

    Link& link_;
    std::unique_ptr<Presenter> ownPresenter_;
    Presenter* presenter_;
    std::string languageName_;
    Language language_ = Language::Chinese;  // LanguageFromName(languageName_), parsed once at start
    int uiLanguage_ = 0;                     // what menus and dialogs follow: kUiEnglish or kUiChinese
    DeviceInfo info_;
    CommandFlags flags_;
    float f0_[2] = {121.0f, 10.0f};
    FrameOptions options_;
    std::string manualFolder_;  // empty: ManualFolder(ExecutableFolder())

    QMdiArea* mdi_ = nullptr;
    PropertyPanel* panel_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    StatusPane* pane0_ = nullptr;
    StatusPane* lockLabels_[3] = {};  // status panes 1..3
    bool lockState_[3] = {};
    std::unique_ptr<QtMessages> messages_;
    std::unique_ptr<LinkWorker> worker_;
    std::unique_ptr<ConnectionManager> connection_;
    std::vector<HotplugSource*> hotplug_;
    std::multimap<int, QAction*> actions_;
    QMenu* menus_[5] = {};
    QMenu* recentMenu_ = nullptr;
    QAction* compareAction_ = nullptr;
    QAction* cascadeAction_ = nullptr;
    QAction* tileAction_ = nullptr;
    std::vector<QAction*> windowActions_;
    bool childrenMaximized_ = false;
    DataViewFactory viewFactory_;
    QPointer<CProgress1Dlg> download_;
    std::function<void(CProgress1Dlg&)> downloadSetup_;
};

}  // namespace velorin
