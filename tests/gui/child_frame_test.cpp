// Closing a data window asks first, except while the live view is open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QPointer>

#include "app/child_frame.h"
#include "gui/scripted_presenter.h"

namespace velorin {
namespace {

TEST(ChildFrame, CloseAsksAndOnlyOkCloses) {
    test::ScriptedPresenter presenter;
    bool liveViewOpen = false;
    QMdiArea area;
    QPointer<CChildFrame> frame = new CChildFrame(presenter, [&] { return liveViewOpen; });
    area.addSubWindow(frame);
    frame->show();

    presenter.answers = {false};
    frame->close();
    QApplication::processEvents();
    ASSERT_FALSE(frame.isNull());
    ASSERT_EQ(presenter.questions.size(), 1u);
    EXPECT_EQ(presenter.questions[0].text, QStringLiteral("您确定要关闭吗？请确认数据已保存！"));
    EXPECT_EQ(presenter.questions[0].caption, QStringLiteral("关闭"));

    frame->close();  // answered OK
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(presenter.questions.size(), 2u);
}

TEST(ChildFrame, ClosesWithoutAskingWhileTheLiveViewIsOpen) {
    test::ScriptedPresenter presenter;
    QMdiArea area;
    QPointer<CChildFrame> frame = new CChildFrame(presenter, [] { return true; });
    area.addSubWindow(frame);
    frame->show();
    frame->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.isNull());
    EXPECT_TRUE(presenter.questions.empty());
}

}  // namespace
}  // namespace velorin
