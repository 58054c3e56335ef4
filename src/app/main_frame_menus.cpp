// The main frame's menus and toolbar, built from one table per language.
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "analysis/compare_texts.h"
#include "app/main_frame.h"
#include "app/recent_files.h"
#include "common/language.h"
#include "common/texts.h"
#include "ui/command_ids.h"
#include "ui/gui_text.h"
#include "ui/icons.h"

namespace velorin {

namespace {

enum MenuIndex { kFile, kView, kTool, kWindows, kHelp };

// One menu entry: its command, texts without a document (menu 128) and with a data window
// (menu 129), and in which of the two menus it appears.
struct MenuEntry {
    int id;
    int menu;
    std::string Texts::*text;
    std::string Texts::*textDoc;
    bool withoutDocument;
    bool withDocument;
};

const MenuEntry kEntries[] = {
    {ID_FILE_OPEN, kFile, &Texts::cmdOpen, &Texts::cmdOpenDoc, true, true},
    {ID_FILE_CLOSE, kFile, &Texts::cmdClose, &Texts::cmdClose, false, true},
    {ID_FILE_SAVE_AS, kFile, &Texts::cmdSaveAs, &Texts::cmdSaveAs, false, true},
    {ID_PRINT_CURVE, kFile, &Texts::cmdPrintCurve, &Texts::cmdPrintCurve, false, true},
    {ID_PRINT_LIST, kFile, &Texts::cmdPrintList, &Texts::cmdPrintList, false, true},
    {ID_RECENT_FILES, kFile, &Texts::cmdRecentFiles, &Texts::cmdRecentFiles, true, true},
    {ID_APP_EXIT, kFile, &Texts::cmdExit, &Texts::cmdExit, true, true},
    {ID_VIEW_TOOLBAR, kView, &Texts::cmdToolbar, &Texts::cmdToolbarDoc, true, true},
    {ID_VIEW_STATUS_BAR, kView, &Texts::cmdStatusBar, &Texts::cmdStatusBarDoc, true, true},
    {ID_SHOW_PANEL, kView, &Texts::cmdShowPanel, &Texts::cmdShowPanel, true, true},
    {ID_CONNECT, kTool, &Texts::cmdConnect, &Texts::cmdConnectDoc, true, true},
    {ID_CHOOSE_PORT, kTool, &Texts::cmdChoosePort, &Texts::cmdChoosePort, true, true},
    {ID_SETUP_WIZARD, kTool, &Texts::cmdSetupWizard, &Texts::cmdSetupWizardDoc, true, true},
    {ID_UPDATE_TIME, kTool, &Texts::cmdUpdateTime, &Texts::cmdUpdateTimeDoc, true, true},
    {ID_STOP, kTool, &Texts::cmdStop, &Texts::cmdStop, true, true},
    {ID_HISTORY, kTool, &Texts::cmdHistory, &Texts::cmdHistory, true, true},
    {ID_LIVE_VIEW, kTool, &Texts::cmdLiveView, &Texts::cmdLiveView, true, true},
    {ID_CLOSE_LIVE_VIEW, kTool, &Texts::cmdCloseLiveView, &Texts::cmdCloseLiveView, true, false},
    {ID_F0_CONFIG, kTool, &Texts::cmdF0Config, &Texts::cmdF0Config, true, true},
    {ID_HELP, kHelp, &Texts::cmdHelp, &Texts::cmdHelpDoc, true, true},
    {ID_SWITCH_LANGUAGE, kHelp, &Texts::cmdSwitchLanguage, &Texts::cmdSwitchLanguage, true, false},
    {ID_APP_ABOUT, kHelp, &Texts::cmdAbout, &Texts::cmdAbout, true, true},
};

// Toolbar: command per position, 0 for a separator.
constexpr int kToolbarCommands[14] = {ID_CONNECT,         0, ID_SETUP_WIZARD, ID_UPDATE_TIME, ID_STOP,
                                      ID_HISTORY,         0, ID_CHOOSE_PORT,  ID_SHOW_PANEL,  ID_LIVE_VIEW,
                                      ID_CLOSE_LIVE_VIEW, 0, ID_FILE_SAVE_AS, ID_APP_ABOUT};

// Menu texts carry a tab before the accelerator, as Qt does too.
QString MenuText(const std::string& text) { return FromUtf8(text); }

}  // namespace

QAction* CMainFrame::MakeAction(int id, const QString& text) {
    auto* action = new QAction(text, this);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    actions_.emplace(id, action);
    return action;
}

// The menus and their actions are made once; UpdateMenus() names and shows them for the window
// that is active (the menu without a document or the data window's menu).
void CMainFrame::BuildMenus() {
    QMenuBar* bar = menuBar();
    for (int i = 0; i < 5; ++i) menus_[i] = bar->addMenu(QString());
    for (const MenuEntry& e : kEntries) {
        if (e.id == ID_APP_EXIT || e.id == ID_RECENT_FILES) {
            QAction* separator = menus_[e.menu]->addSeparator();
            // The separator before the recent files belongs to them.
            if (e.id == ID_RECENT_FILES) separator->setProperty("menuEntry", e.id);
        }
        if (e.id == ID_RECENT_FILES) {
            recentMenu_ = menus_[e.menu]->addMenu(QString());
            connect(recentMenu_, &QMenu::aboutToShow, this, &CMainFrame::FillRecentFilesMenu);
            FillRecentFilesMenu();
            continue;
        }
        QAction* a = MakeAction(e.id, QString());
        a->setProperty("menuEntry", e.id);
        if (e.id == ID_FILE_OPEN) a->setShortcut(QKeySequence::Open);
        if (e.id == ID_VIEW_TOOLBAR || e.id == ID_VIEW_STATUS_BAR || e.id == ID_SWITCH_LANGUAGE) {
            a->setCheckable(true);
        }
        menus_[e.menu]->addAction(a);
    }
    // The comparison window of several data files (its text follows the language in UpdateMenus).
    compareAction_ = MakeAction(ID_COMPARE, QString());
    compareAction_->setProperty("menu", true);
    menus_[kView]->addAction(compareAction_);
    cascadeAction_ = menus_[kWindows]->addAction(QString());
    connect(cascadeAction_, &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    tileAction_ = menus_[kWindows]->addAction(QString());
    connect(tileAction_, &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    // The open windows, listed when the menu opens (the active one checked).
    connect(menus_[kWindows], &QMenu::aboutToShow, this, &CMainFrame::FillWindowsMenu);
    UpdateMenus();
}

void CMainFrame::UpdateMenus() {
    if (menus_[0] == nullptr) return;
    const bool doc = DataWindowActive();
    const Texts& t = TextsFor(UiTextLanguage(uiLanguage_));
    menus_[kFile]->setTitle(MenuText(doc ? t.menuFileDoc : t.menuFile));
    menus_[kView]->setTitle(MenuText(doc ? t.menuViewDoc : t.menuView));
    menus_[kTool]->setTitle(MenuText(t.menuTool));
    menus_[kWindows]->setTitle(MenuText(t.menuWindows));
    menus_[kHelp]->setTitle(MenuText(t.menuHelp));
    for (QMenu* menu : menus_) {
        for (QAction* a : menu->actions()) {
            const QVariant entry = a->property("menuEntry");
            if (!entry.isValid()) continue;
            for (const MenuEntry& e : kEntries) {
                if (e.id != entry.toInt()) continue;
                a->setVisible(doc ? e.withDocument : e.withoutDocument);
                if (!a->isSeparator()) a->setText(MenuText(doc ? t.*(e.textDoc) : t.*(e.text)));
            }
        }
    }
    recentMenu_->setTitle(MenuText(t.cmdRecentFiles));
    recentMenu_->menuAction()->setVisible(true);
    compareAction_->setText(FromUtf8(CompareTextsFor(UiTextLanguage(uiLanguage_)).command));
    cascadeAction_->setText(MenuText(t.windowCascade));
    tileAction_->setText(MenuText(t.windowTile));
    UpdateCommands();
}

void CMainFrame::FillRecentFilesMenu() {
    recentMenu_->clear();
    const QStringList files = RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        QAction* a = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]));
        const QString path = files[i];
        connect(a, &QAction::triggered, this, [this, path] { OpenDataFile(path); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void CMainFrame::FillWindowsMenu() {
    QMenu* menu = menus_[kWindows];
    for (QAction* a : windowActions_) {
        menu->removeAction(a);
        a->deleteLater();
    }
    windowActions_.clear();
    const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
    if (windows.isEmpty()) return;
    windowActions_.push_back(menu->addSeparator());
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == mdi_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w = QPointer<QMdiSubWindow>(w)] {
            if (w) mdi_->setActiveSubWindow(w);
        });
        windowActions_.push_back(a);
    }
}

void CMainFrame::BuildToolBar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar"));
    toolbar_->setObjectName(QStringLiteral("MainToolBar"));
    toolbar_->setIconSize(QSize(32, 32));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setMovable(true);
    toolbar_->setAllowedAreas(Qt::AllToolBarAreas);
    int icon = 0;
    for (int position = 0; position < 14; ++position) {
        const int id = kToolbarCommands[position];
        if (id == 0) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* a = MakeAction(id, QString());
        a->setIcon(ToolbarIcon(kToolbarIconResources[icon++]));
        a->setProperty("toolbarPosition", position);
        toolbar_->addAction(a);
    }
    SetToolbarLabels();
}

void CMainFrame::SetToolbarLabels() {
    const Texts& t = TextsFor(language_);
    std::vector<QAction*> buttons;
    for (QAction* a : toolbar_->actions()) {
        const QVariant position = a->property("toolbarPosition");
        if (!position.isValid()) continue;
        a->setText(FromUtf8(t.toolbarLabel[position.toInt()]));
        buttons.push_back(a);
    }
    // Every button is as wide as the widest label. So that all eleven fit in the frame's
    // default width of 1024 pixels in either language, the labels' font shrinks (to 7 points at
    // the least) until eleven such buttons and the separators fit.
    constexpr int kFitWidth = 1024 - 40;  // frame border, toolbar handle and margins
    constexpr int kButtonPadding = 8;
    constexpr int kSeparatorWidth = 8;
    QFont font = QApplication::font(toolbar_);
    int widest = 0;
    for (double points = font.pointSizeF();; points -= 0.5) {
        font.setPointSizeF(points);
        const QFontMetrics metrics(font);
        widest = 0;
        for (QAction* a : buttons) widest = std::max(widest, metrics.horizontalAdvance(a->text()));
        widest = std::max(widest, toolbar_->iconSize().width());
        const int total = static_cast<int>(buttons.size()) * (widest + kButtonPadding) + 3 * kSeparatorWidth;
        if (total <= kFitWidth || points <= 7.0) break;
    }
    for (QAction* a : buttons) {
        if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(a))) {
            button->setFont(font);
            button->setFixedWidth(widest + kButtonPadding);
        }
    }
}

}  // namespace velorin
