// The main frame as a person sees it: every toolbar button at the default width, menus made
// once and named for the active window, the Windows menu, the languages of menus and of Qt's own
// dialogs, child windows that keep their geometry, and printing without a printer.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QToolBar>

#include "app/data_windows.h"
#include "app/live_view_frame.h"
#include "common/language.h"
#include "gui/frame_fixture.h"
#include "history/kv_file.h"
#include "history/record_set.h"
#include "live/live_geometry.h"
#include "live/live_view_widget.h"
#include "ui/command_ids.h"
#include "view/dastrel_view.h"

namespace velorin::test {
namespace {

std::string WriteDataFile(const TempDir& dir, const std::string& name) {
    RecordSet set;
    set.recordCount = 3;
    set.records.resize(3);
    for (int i = 0; i < 3; ++i) {
        set.records[static_cast<size_t>(i)].year = 26;
        set.records[static_cast<size_t>(i)].month = 1;
        set.records[static_cast<size_t>(i)].day = 2;
        set.records[static_cast<size_t>(i)].minute = i;
        set.records[static_cast<size_t>(i)].value[0] = 20.0f + static_cast<float>(i);
    }
    set.channelEnabled[0] = 1;
    const std::string path = dir.Path() + "/" + name;
    EXPECT_TRUE(WriteKvFile(path, set).ok);
    return path;
}

QStringList MenuTitles(CMainFrame& frame) {
    QStringList titles;
    for (QAction* a : frame.menuBar()->actions()) titles << a->text();
    return titles;
}

using FrameLayoutTest = MainFrameTest;

TEST_F(FrameLayoutTest, AllElevenToolbarButtonsShowAtTheDefaultWidthInBothLanguages) {
    for (const char* language : {"English", "Chinese"}) {
        WriteLanguageFile(language);
        CMainFrame& frame = Frame();
        frame.show();
        ASSERT_EQ(frame.width(), 1024);
        QCoreApplication::processEvents();
        QToolBar* bar = frame.ToolBar();
        int buttons = 0;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) continue;
            ++buttons;
            QWidget* w = bar->widgetForAction(a);
            ASSERT_NE(w, nullptr) << language;
            // A button that does not fit is hidden behind the toolbar's extension arrow.
            EXPECT_TRUE(w->isVisible()) << language << ": " << a->text().toStdString();
            EXPECT_LE(w->geometry().right(), bar->width()) << language << ": " << a->text().toStdString();
            // The whole label is drawn: the button is at least as wide as its text.
            EXPECT_GE(w->width(), QFontMetrics(w->font()).horizontalAdvance(a->text())) << a->text().toStdString();
        }
        EXPECT_EQ(buttons, 11);
    }
}

TEST_F(FrameLayoutTest, MenusAreMadeOnceAndRenamedForTheActiveWindow) {
    WriteLanguageFile("English");
    CMainFrame& frame = Frame();
    const std::vector<QAction*> open = frame.Actions(ID_FILE_OPEN);
    const std::vector<QAction*> close = frame.Actions(ID_FILE_CLOSE);
    ASSERT_EQ(close.size(), 1u);
    EXPECT_FALSE(close[0]->isVisible());  // menu without a document
    EXPECT_EQ(MenuTitles(frame).first(), QStringLiteral("Files(&F)"));

    ASSERT_TRUE(frame.OpenDataFile(QString::fromStdString(WriteDataFile(work_, "a.kv"))));
    ASSERT_TRUE(frame.OpenDataFile(QString::fromStdString(WriteDataFile(work_, "b.kv"))));
    EXPECT_EQ(frame.Actions(ID_FILE_OPEN), open);  // the same actions, not new ones
    EXPECT_EQ(frame.Actions(ID_FILE_CLOSE), close);
    EXPECT_TRUE(close[0]->isVisible());
    EXPECT_TRUE(close[0]->isEnabled());
    EXPECT_EQ(MenuTitles(frame).first(), QStringLiteral("File(&F)"));
    // "Close the live view" belongs to the menu without a document.
    ASSERT_EQ(frame.Actions(ID_CLOSE_LIVE_VIEW).size(), 2u);  // menu entry and toolbar button
    for (QAction* a : frame.Actions(ID_CLOSE_LIVE_VIEW)) {
        if (a->property("menuEntry").isValid()) {
            EXPECT_FALSE(a->isVisible());
        }
    }

    // The Windows menu lists the open windows, the active one checked, and activates them.
    QMenu* windows = frame.menuBar()->actions()[3]->menu();
    ASSERT_NE(windows, nullptr);
    QMetaObject::invokeMethod(windows, "aboutToShow");
    QStringList listed;
    QAction* first = nullptr;
    for (QAction* a : windows->actions()) {
        if (a->text().startsWith(QLatin1Char('&'))) {
            listed << a->text();
            if (first == nullptr) first = a;
        }
    }
    ASSERT_EQ(listed, (QStringList{"&1 a.kv", "&2 b.kv"}));
    EXPECT_FALSE(first->isChecked());
    first->trigger();
    EXPECT_EQ(frame.MdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("a.kv"));

    // Closing every window brings the menu without a document back.
    frame.MdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MenuTitles(frame).first(), QStringLiteral("Files(&F)"));
    EXPECT_FALSE(close[0]->isVisible());
}

// A language file holding "English" and a line break leaves menus and dialogs to the system's
// language while every text chosen by the language name stays Chinese.
TEST_F(FrameLayoutTest, MenusFollowTheSystemLanguageWhenTheFileLeavesItOpen) {
    WriteLanguageFile("English\n");
    FrameOptions options{false, false, false};
    options.systemLocale = "en_US";
    CMainFrame& english = Frame(options);
    EXPECT_EQ(english.UiLanguage(), kUiEnglish);
    EXPECT_EQ(MenuTitles(english).first(), QStringLiteral("Files(&F)"));
    EXPECT_EQ(english.ToolBar()->actions().first()->text(), QStringLiteral("连接设备"));

    options.systemLocale = "zh_CN";
    CMainFrame& chinese = Frame(options);
    EXPECT_EQ(chinese.UiLanguage(), kUiChinese);
    EXPECT_EQ(MenuTitles(chinese).first(), QStringLiteral("文件(&F)"));
}

TEST_F(FrameLayoutTest, QtsOwnDialogsSpeakTheInterfaceLanguage) {
    WriteLanguageFile("Chinese");
    Frame();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    frame_.reset();  // the translator leaves with the frame
    WriteLanguageFile("English");
    Frame();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

TEST_F(FrameLayoutTest, ClosingTheLiveViewKeepsTheDataWindowAsItWas) {
    WriteLanguageFile("English");
    StartSimulator(false);
    CMainFrame& frame = Frame();
    frame.show();
    ASSERT_TRUE(frame.OpenDataFile(QString::fromStdString(WriteDataFile(work_, "a.kv"))));
    QMdiSubWindow* data = frame.MdiArea()->activeSubWindow();
    QCoreApplication::processEvents();
    const QRect before = data->geometry();
    const bool maximised = data->isMaximized();
    ASSERT_TRUE(ConnectAndWait(frame));
    frame.RunCommand(ID_LIVE_VIEW);
    ASSERT_NE(LiveView(frame), nullptr);
    frame.RunCommand(ID_CLOSE_LIVE_VIEW);
    QCoreApplication::processEvents();
    EXPECT_EQ(data->isMaximized(), maximised);
    EXPECT_EQ(data->geometry(), before);
}

// Too small a window scrolls the live view instead of squeezing its statics into the plot.
TEST_F(FrameLayoutTest, LiveViewScrollsInASmallWindowAndKeepsTwoRowsOfValues) {
    WriteLanguageFile("Chinese");
    StartSimulator(false);
    CMainFrame& frame = Frame();
    frame.resize(800, 600);
    frame.show();
    ASSERT_TRUE(ConnectAndWait(frame));
    frame.RunCommand(ID_LIVE_VIEW);
    CRealImage* view = LiveView(frame);
    ASSERT_NE(view, nullptr);
    QCoreApplication::processEvents();
    EXPECT_GE(view->width(), LiveMinimumViewWidth());
    EXPECT_GE(view->height(), kLiveMinimumViewHeight);
    auto* scroll = qobject_cast<QScrollArea*>(view->parentWidget()->parentWidget());
    ASSERT_NE(scroll, nullptr);
    EXPECT_LT(scroll->viewport()->height(), view->height());  // there is something to scroll
    const std::array<LivePoint, kChannelCount> at = LiveLabelPositions(view->PlotWidth());
    EXPECT_LE(at[kChannelCount - 1].y - at[0].y, 25);  // two rows at most
    // Every static and the list lie inside the view.
    for (QWidget* w : view->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w->isVisible()) {
            EXPECT_TRUE(view->rect().contains(w->geometry())) << w->metaObject()->className();
        }
    }
}

TEST_F(FrameLayoutTest, PrintingWithoutAPrinterSaysSoAndOpensNoDialog) {
    for (const char* language : {"English", "Chinese"}) {
        WriteLanguageFile(language);
        CMainFrame& frame = Frame();
        UseHistoryViews(frame);
        ASSERT_TRUE(frame.OpenDataFile(QString::fromStdString(WriteDataFile(work_, "a.kv"))));
        presenter_.printers.clear();
        presenter_.messages.clear();
        presenter_.printDialogs = 0;
        presenter_.printTo = QString::fromStdString(work_.Path() + "/out.pdf");
        frame.RunCommand(ID_PRINT_CURVE);
        frame.RunCommand(ID_PRINT_LIST);
        EXPECT_EQ(presenter_.printDialogs, 0);
        ASSERT_EQ(presenter_.messages.size(), 2u);
        const QString expected = std::string(language) == "English" ? QStringLiteral("No printer is installed")
                                                                    : QStringLiteral("没有安装打印机");
        EXPECT_TRUE(presenter_.messages[0].text.startsWith(expected)) << presenter_.messages[0].text.toStdString();
        EXPECT_FALSE(QFile::exists(presenter_.printTo));
        presenter_.printers = QStringList{QStringLiteral("Test printer")};
    }
}

}  // namespace
}  // namespace velorin::test
