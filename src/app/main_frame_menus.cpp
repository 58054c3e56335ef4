// The main frame's menus and toolbar, built from one table per language.
#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>

#include "analysis/compare_texts.h"
#include "app/command_ids.h"
#include "app/gui_text.h"
#include "app/icons.h"
#include "app/main_frame.h"
#include "app/recent_files.h"
#include "common/texts.h"

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
constexpr int kToolbarCommands[14] = {ID_CONNECT,    0,           ID_SETUP_WIZARD, ID_UPDATE_TIME,
                                      ID_STOP,       ID_HISTORY,  0,               ID_CHOOSE_PORT,
                                      ID_SHOW_PANEL, ID_LIVE_VIEW, ID_CLOSE_LIVE_VIEW, 0,
                                      ID_FILE_SAVE_AS, ID_APP_ABOUT};

// Menu texts carry a tab before the accelerator, as Qt does too.
QString MenuText(const std::string& gbk) { return FromGbk(gbk); }

}  // namespace

QAction* CMainFrame::MakeAction(int id, const QString& text) {
    auto* action = new QAction(text, this);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    actions_.emplace(id, action);
    return action;
}

void CMainFrame::BuildMenus() {
    const bool doc = DataWindowActive();
    const Texts& t = TextsFor(languageName_);
    // Menu actions are rebuilt with the menu bar; the toolbar keeps its own.
    for (auto it = actions_.begin(); it != actions_.end();) {
        if (it->second->property("menu").toBool()) {
            it->second->deleteLater();
            it = actions_.erase(it);
        } else {
            ++it;
        }
    }
    QMenuBar* bar = menuBar();
    bar->clear();
    QMenu* menus[5] = {
        bar->addMenu(MenuText(doc ? t.menuFileDoc : t.menuFile)),
        bar->addMenu(MenuText(doc ? t.menuViewDoc : t.menuView)),
        bar->addMenu(MenuText(t.menuTool)),
        bar->addMenu(MenuText(t.menuWindows)),
        bar->addMenu(MenuText(t.menuHelp)),
    };
    for (const MenuEntry& e : kEntries) {
        if (doc ? !e.withDocument : !e.withoutDocument) continue;
        const std::string& text = doc ? t.*(e.textDoc) : t.*(e.text);
        if (e.id == ID_APP_EXIT || e.id == ID_RECENT_FILES) menus[e.menu]->addSeparator();
        if (e.id == ID_RECENT_FILES) {
            QMenu* recent = menus[e.menu]->addMenu(MenuText(text));
            const QStringList files = RecentFiles();
            for (int i = 0; i < files.size(); ++i) {
                QAction* a = recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]));
                const QString path = files[i];
                connect(a, &QAction::triggered, this, [this, path] { OpenDataFile(path); });
            }
            recent->setEnabled(!files.isEmpty());
            continue;
        }
        QAction* a = MakeAction(e.id, MenuText(text));
        a->setProperty("menu", true);
        if (e.id == ID_FILE_OPEN) a->setShortcut(QKeySequence::Open);
        if (e.id == ID_VIEW_TOOLBAR || e.id == ID_VIEW_STATUS_BAR || e.id == ID_SWITCH_LANGUAGE) {
            a->setCheckable(true);
        }
        menus[e.menu]->addAction(a);
    }
    // The comparison window of several data files, in both menus.
    QAction* compare = MakeAction(ID_COMPARE, FromGbk(CompareTextsFor(languageName_).command));
    compare->setProperty("menu", true);
    menus[kView]->addAction(compare);
    QAction* cascade = menus[kWindows]->addAction(MenuText(t.windowCascade));
    connect(cascade, &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    QAction* tile = menus[kWindows]->addAction(MenuText(t.windowTile));
    connect(tile, &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    UpdateCommands();
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
    const Texts& t = TextsFor(languageName_);
    int widest = 0;
    for (QAction* a : toolbar_->actions()) {
        const QVariant position = a->property("toolbarPosition");
        if (!position.isValid()) continue;
        a->setText(FromGbk(t.toolbarLabel[position.toInt()]));
        widest = std::max(widest, toolbar_->fontMetrics().horizontalAdvance(a->text()));
    }
    // Every button as wide as the widest label.
    for (QAction* a : toolbar_->actions()) {
        if (QWidget* w = toolbar_->widgetForAction(a)) {
            if (qobject_cast<QToolButton*>(w) != nullptr) w->setMinimumWidth(widest + 12);
        }
    }
}

}  // namespace velorin
