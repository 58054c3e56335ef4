// A data window of the main frame shows the history view, and the program ends cleanly with
// data windows open.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/data_windows.h"
#include "gui/frame_fixture.h"
#include "history/kv_file.h"
#include "support/curve_data.h"
#include "ui/command_ids.h"
#include "view/dastrel_view.h"

namespace velorin::test {
namespace {

using HistoryViewWindow = MainFrameTest;

TEST_F(HistoryViewWindow, OpensAsTheDataWindowAndTheFrameClosesWithItOpen) {
    WriteLanguageFile("English");
    CMainFrame& frame = Frame();
    UseHistoryViews(frame);
    frame.resize(1200, 800);
    frame.show();
    const std::string path = work_.Path() + "/set.kv";
    ASSERT_TRUE(WriteKvFile(path, MakeCurveSet(500, 3)).ok);
    ASSERT_TRUE(frame.OpenDataFile(QString::fromStdString(path)));
    ASSERT_TRUE(frame.OpenDataFile(QString::fromStdString(path), true));
    QCoreApplication::processEvents();
    QMdiSubWindow* window = frame.MdiArea()->activeSubWindow();
    ASSERT_NE(window, nullptr);
    auto* view = qobject_cast<CDastrelView*>(window->widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->State().endIndex, 500);
    EXPECT_FALSE(view->State().firstDrawPending);
    EXPECT_TRUE(window->isMaximized());
    // Tearing the frame down closes both windows; nothing may touch the menus meanwhile.
    frame_.reset();
}

}  // namespace
}  // namespace velorin::test
