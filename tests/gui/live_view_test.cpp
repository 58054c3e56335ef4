// The live view inside the main frame against the in-process simulator: opening and closing it
// with the commands, polls over the serial port and over USB with a silent period that neither
// adds a sample nor blocks the window, the plot, the pointer readout, the colour choosers and
// resizing.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QMouseEvent>
#include <QPointer>
#include <QTreeWidget>

#include "app/live_view_frame.h"
#include "app/main_frame.h"
#include "common/format.h"
#include "common/language.h"
#include "device/frame.h"
#include "device/link.h"
#include "gui/frame_fixture.h"
#include "live/live_geometry.h"
#include "live/live_text_format.h"
#include "live/live_texts.h"
#include "live/live_view_widget.h"
#include "support/pty_peer.h"
#include "ui/command_ids.h"
#include "ui/gui_text.h"

namespace velorin {
namespace {

using test::Enabled;
using test::MainFrameTest;
using test::WaitFor;

class LiveViewTest : public MainFrameTest {
protected:
    // Connected over the serial port (COM3 of the simulator).
    CMainFrame& Connected(bool usb = false) {
        StartSimulator(usb);
        CMainFrame& frame = Frame();
        frame.show();
        EXPECT_TRUE(ConnectAndWait(frame));
        return frame;
    }
    // One tick, waited for to its end; true when it brought a sample.
    bool Poll(CRealImage& view) {
        const int before = view.PollsApplied();
        if (!view.Tick()) return false;
        EXPECT_TRUE(WaitFor([&] { return !view.PollInFlight(); }));
        return view.PollsApplied() > before;
    }
    void SilenceLiveReadings(int64_t count) {
        sim::FaultPlan plan;
        plan.kind = sim::FaultKind::Silence;
        plan.command = cmd::LiveReading;
        plan.count = count;
        server_->SetFaultPlan(plan);
    }
    // A logger that stops answering: the view says since when nothing came and no longer shows
    // the last values as current; the next reading clears both.
    void ExpectNoReadingShown(CRealImage& view, const char* language) {
        ASSERT_TRUE(Poll(view));
        const int64_t last = view.Series().lastPollTime;
        EXPECT_TRUE(view.NoReadingText().isEmpty());

        SilenceLiveReadings(10);  // two whole polls of five attempts
        EXPECT_FALSE(Poll(view));
        EXPECT_FALSE(Poll(view));
        const std::string since = FormatLiveTime(last).substr(11);
        EXPECT_EQ(
            view.NoReadingText(),
            FromUtf8(FormatC(LiveTextsFor(LanguageFromName(language)).noReadingSinceFormat.c_str(), since.c_str())));
        EXPECT_EQ(view.ValueText(0), QStringLiteral("Error"));
        EXPECT_EQ(view.ValueText(2), QStringLiteral("Error"));
        EXPECT_EQ(view.ValueText(4), QStringLiteral("0.00")) << "a channel that is off stays as it was";
        // The status is drawn: red text pixels under the plot's centre.
        const QImage plot = view.Plot().toImage();
        int red = 0;
        for (int x = view.PlotWidth() / 2 - 60; x < view.PlotWidth() / 2 + 60; ++x) {
            for (int y = kLivePlotHeight - 20; y < kLivePlotHeight; ++y) {
                const QColor c = plot.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 150;
            }
        }
        EXPECT_GT(red, 20);
        // Pictures of the whole window at the usual screen sizes when VELORIN_SCREENSHOTS names a
        // folder.
        if (const char* folder = std::getenv("VELORIN_SCREENSHOTS")) {
            QWidget* top = view.window();
            for (const QSize size : {QSize(800, 600), QSize(1024, 768), QSize(1920, 1080)}) {
                top->resize(size);
                QCoreApplication::processEvents();
                top->grab().save(QStringLiteral("%1/live-no-reading-%2-%3.png")
                                     .arg(QString::fromLocal8Bit(folder), QString::fromLatin1(language))
                                     .arg(size.width()));
            }
        }

        // A tick of the view's own timer may have started a poll meanwhile.
        ASSERT_TRUE(WaitFor([&] { return !view.PollInFlight(); }));
        ASSERT_TRUE(Poll(view));
        EXPECT_TRUE(view.NoReadingText().isEmpty());
        EXPECT_NE(view.ValueText(0), QStringLiteral("Error"));
    }
    static void MovePointer(QWidget* w, int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    static void RightClick(QWidget* w, int x, int y) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
};

constexpr int kDeviceCommands[] = {ID_CONNECT, ID_LIVE_VIEW, ID_HISTORY, ID_SETUP_WIZARD, ID_UPDATE_TIME, ID_STOP};

TEST_F(LiveViewTest, OpeningDisablesTheDeviceCommandsAndClosingGivesThemBack) {
    CMainFrame& frame = Connected();
    frame.RunCommand(ID_LIVE_VIEW);
    CRealImage* view = LiveView(frame);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(WaitFor([&] { return link_.serial.IsOpen(); })) << "the port stays open while the view lives";
    for (int id : kDeviceCommands) EXPECT_FALSE(Enabled(frame, id)) << id;
    EXPECT_TRUE(Enabled(frame, ID_CLOSE_LIVE_VIEW));

    frame.RunCommand(ID_CLOSE_LIVE_VIEW);
    EXPECT_EQ(LiveView(frame), nullptr);
    EXPECT_TRUE(WaitFor([&] { return !link_.serial.IsOpen(); }));
    for (int id : kDeviceCommands) EXPECT_TRUE(Enabled(frame, id)) << id;
    EXPECT_FALSE(Enabled(frame, ID_CLOSE_LIVE_VIEW));

    // The frame's own close button does the same, and Connect works again afterwards.
    frame.RunCommand(ID_LIVE_VIEW);
    QPointer<CRealImage> reopened = LiveView(frame);
    ASSERT_NE(reopened, nullptr);
    ASSERT_TRUE(Poll(*reopened));
    frame.MdiArea()->subWindowList().front()->close();
    EXPECT_TRUE(WaitFor([&] { return reopened.isNull(); }));
    EXPECT_EQ(LiveView(frame), nullptr);
    for (int id : kDeviceCommands) EXPECT_TRUE(Enabled(frame, id)) << id;
    EXPECT_FALSE(Enabled(frame, ID_CLOSE_LIVE_VIEW));
    EXPECT_TRUE(ConnectAndWait(frame));
    EXPECT_TRUE(Enabled(frame, ID_LIVE_VIEW));
}

TEST_F(LiveViewTest, SerialPollsFillTheViewAndASilentPeriodNeitherAddsNorBlocks) {
    CMainFrame& frame = Connected();
    frame.RunCommand(ID_LIVE_VIEW);
    CRealImage* view = LiveView(frame);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->ValueText(0), QStringLiteral("0.00"));
    ASSERT_TRUE(Poll(*view));
    const LiveSeries& s = view->Series();
    EXPECT_EQ(s.window.Count(), 1);
    // Channel 1 tenths, channel 3 hundredths, channels 5–8 off.
    EXPECT_EQ(view->ValueText(0), QString::fromStdString(FormatC("%.1f", s.current.value[0])));
    EXPECT_EQ(view->ValueText(2), QString::fromStdString(FormatC("%.2f", s.current.value[2])));
    EXPECT_EQ(view->ValueText(4), QStringLiteral("0.00"));
    EXPECT_EQ(view->StartText(), view->NowText());
    EXPECT_EQ(s.reference.value[0], s.current.value[0]);

    SilenceLiveReadings(5);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(view->Tick());
    EXPECT_LT(clock.elapsed(), 100) << "the exchange runs off the GUI thread";
    EXPECT_TRUE(view->PollInFlight());
    EXPECT_FALSE(view->Tick()) << "a tick that finds a poll running is skipped";
    EXPECT_EQ(view->TicksSkipped(), 1);
    // The window keeps painting while the logger is silent.
    int repaints = 0;
    while (view->PollInFlight()) {
        view->repaint();
        ++repaints;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_GT(repaints, 5);
    EXPECT_EQ(s.window.Count(), 1) << "no sample from a silent logger";
    EXPECT_EQ(view->PollsApplied(), 1);

    ASSERT_TRUE(Poll(*view));
    EXPECT_EQ(s.window.Count(), 2);
}

// A logger that stops answering: the view says since when nothing came and no longer shows the
// last values as current; the next reading clears both.

TEST_F(LiveViewTest, ASilentLoggerShowsNoReadingSinceItsLastReadingInEnglish) {
    WriteLanguageFile("English");
    CMainFrame& frame = Connected();
    frame.RunCommand(ID_LIVE_VIEW);
    CRealImage* view = LiveView(frame);
    ASSERT_NE(view, nullptr);
    ExpectNoReadingShown(*view, "English");
}

TEST_F(LiveViewTest, ASilentLoggerShowsNoReadingSinceItsLastReadingInChinese) {
    WriteLanguageFile("Chinese");
    CMainFrame& frame = Connected();
    frame.RunCommand(ID_LIVE_VIEW);
    CRealImage* view = LiveView(frame);
    ASSERT_NE(view, nullptr);
    ExpectNoReadingShown(*view, "Chinese");
}

TEST_F(LiveViewTest, UsbPollsKeepTheHandleUsableAndSkipAFailedRead) {
    StartSimulator(true);
    CMainFrame& frame = Frame();
    frame.show();
    link_.hidHandle = link_.FindLogger();
    ASSERT_NE(link_.hidHandle, nullptr);
    link_.currentPort = HID_LINK_PORT;
    ASSERT_TRUE(ConnectAndWait(frame));
    ASSERT_TRUE(Enabled(frame, ID_LIVE_VIEW));
    frame.RunCommand(ID_LIVE_VIEW);
    CRealImage* view = LiveView(frame);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(Poll(*view));
    SilenceLiveReadings(1);
    EXPECT_FALSE(Poll(*view));
    ASSERT_TRUE(Poll(*view));
    EXPECT_EQ(view->Series().window.Count(), 2);
    EXPECT_NE(view->ValueText(0), QStringLiteral("0.00"));
    // The handle the view left behind still reaches the logger.
    ASSERT_NE(link_.hidHandle, nullptr);
    uint8_t report[64];
    EXPECT_TRUE(link_.HidRead(KVUSB_SELECTOR_READ, HidCallCode(cmd::IdentityQuery), report));
    // Unplugged: nothing to find, so the handle is forgotten rather than left dangling.
    server_->SetUsbPlugged(false);
    EXPECT_FALSE(Poll(*view));
    EXPECT_EQ(link_.hidHandle, nullptr);
    frame.RunCommand(ID_CLOSE_LIVE_VIEW);
}

TEST_F(LiveViewTest, CurvesStartOnTheCentreLineAndChannels7And8AreNeitherDrawnNorListed) {
    StartSimulator(false);
    server_->UpdateState([](sim::LoggerState& s) {
        s.channels[6] = s.channels[0];  // channel 7 on, as channel 1
    });
    CMainFrame& frame = Frame();
    frame.show();
    ASSERT_TRUE(ConnectAndWait(frame));
    frame.RunCommand(ID_LIVE_VIEW);
    CRealImage* view = LiveView(frame);
    ASSERT_NE(view, nullptr);
    view->SetColourChooser([](const QColor&) { return QColor(1, 2, 3); });
    // Only channel 1's curve: the others' boxes off before the first poll.
    for (int k = 1; k < 8; ++k) view->CurveBox(k)->setChecked(false);
    view->CurveBox(6)->setChecked(true);  // even checked, channel 7 is never drawn
    // Channel 7's legend swatch is the fifth (j = 4): give it a colour found nowhere else.
    const LiveRect swatch = LiveChannelSwatch(view->PlotWidth(), 4);
    RightClick(view, swatch.left + 5, swatch.top + 5);
    EXPECT_EQ(view->ChannelColour(6), QColor(1, 2, 3));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Poll(*view));

    EXPECT_EQ(view->List()->topLevelItemCount(), 4) << "channels 1–4 listed, channel 7 not";
    EXPECT_NE(view->ValueText(6), QStringLiteral("0.00")) << "channel 7 still shows its value";
    EXPECT_EQ(view->LabelText(6), QStringLiteral("通道7:"));
    const QImage plot = view->Plot().toImage();
    EXPECT_EQ(plot.pixelColor(1, 245), QColor(0, 255, 0)) << "channel 1's first sample on the centre line";
    EXPECT_EQ(plot.pixelColor(400, 100), QColor(100, 100, 100));
    int channel7Pixels = 0;
    for (int y = 0; y < plot.height(); ++y) {
        for (int x = 0; x < plot.width(); ++x) channel7Pixels += plot.pixelColor(x, y) == QColor(1, 2, 3);
    }
    EXPECT_EQ(channel7Pixels, 0);
}

TEST_F(LiveViewTest, PointerReadsOffASampleAndColoursAreChosenPerSwatch) {
    CMainFrame& frame = Connected();
    frame.RunCommand(ID_LIVE_VIEW);
    CRealImage* view = LiveView(frame);
    ASSERT_NE(view, nullptr);
    int asked = 0;
    view->SetColourChooser([&asked](const QColor& initial) {
        ++asked;
        EXPECT_EQ(initial, QColor(Qt::black));
        return QColor(10, 20, 30);
    });
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Poll(*view));
    const LiveSeries& s = view->Series();

    MovePointer(view, 20 + 4 * 1, 200);
    const LiveTexts& t = LiveTextsFor(frame.TextLanguage());
    EXPECT_EQ(view->ReadoutText(), FromGbk(FormatReadoutTime(s.window.TimeAt(1), t)));
    QTreeWidgetItem* row = view->List()->topLevelItem(0);
    EXPECT_EQ(row->text(3), QString::fromStdString(FormatC("%.2f", s.window.At(1).value[0])));
    EXPECT_EQ(row->text(4), view->ReadoutText());
    // Beyond the newest sample the newest one is read, and the cursor stands on it.
    MovePointer(view, 500, 200);
    EXPECT_EQ(view->ReadoutText(), FromGbk(FormatReadoutTime(s.window.TimeAt(2), t)));
    EXPECT_EQ(view->Plot().toImage().pixelColor(8, 100), QColor(150, 150, 150));

    // The first channel's swatch asks once and changes only that channel.
    const LiveRect first = LiveChannelSwatch(view->PlotWidth(), 0);
    RightClick(view, first.left + 5, first.top + 5);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(view->ChannelColour(0), QColor(10, 20, 30));
    EXPECT_EQ(view->BackgroundColour(), QColor(100, 100, 100));
    const LiveRect bg = LiveBackgroundSwatch(view->PlotWidth());
    RightClick(view, bg.left + 5, bg.top + 5);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(view->BackgroundColour(), QColor(10, 20, 30));
    EXPECT_EQ(view->Plot().toImage().pixelColor(400, 100), QColor(10, 20, 30));
}

TEST_F(LiveViewTest, ShowsWhatTheLoggerSentAndMissingSamplesReadErrorEverywhere) {
    // A scripted logger on COM5: channel 1 in hundredths reads 25.00, then 26.50; channel 2 in
    // tenths reads 10.0, then a missing sample.
    test::PtyPeer peer;
    ASSERT_TRUE(peer.Ok());
    ports_.MakeLink("COM5", peer.SlavePath());
    peer.Start([](test::PtyPeer& p, const test::PtyPeer::Request&, size_t i) {
        uint8_t data[17] = {};
        WriteU16BE(data + 1, i == 0 ? 2500 : 2650);
        WriteU16BE(data + 3, i == 0 ? 100 : 0x8001);
        uint8_t reply[32];
        p.Write(reply, EncodeReply(0, cmd::LiveReading, data, sizeof data, reply, sizeof reply));
    });
    CMainFrame& frame = Frame();
    frame.show();
    link_.currentPort = 5;
    frame.Info().channel[0].channelEnabled = 1;
    frame.Info().channel[0].channelType = 0x22;
    frame.Info().channel[0].quantityCode = 1;
    frame.Info().channel[1].channelEnabled = 1;
    frame.Info().channel[1].channelType = 0x12;
    frame.Flags().SetDeviceCommands(1);
    frame.UpdateCommands();
    frame.RunCommand(ID_LIVE_VIEW);
    CRealImage* view = LiveView(frame);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(Poll(*view));
    EXPECT_EQ(view->ValueText(0), QStringLiteral("25.00"));
    EXPECT_EQ(view->ValueText(1), QStringLiteral("10.0"));
    ASSERT_TRUE(Poll(*view));
    EXPECT_EQ(view->ValueText(0), QStringLiteral("26.50"));
    EXPECT_EQ(view->ValueText(1), QStringLiteral("Error"));

    // 26.5 against the first 25.0: 6 pixels above the centre line, 4 pixels to the right.
    const QImage plot = view->Plot().toImage();
    EXPECT_EQ(plot.pixelColor(4, 239), QColor(0, 255, 0));
    EXPECT_EQ(plot.pixelColor(4, 233), QColor(100, 100, 100));

    MovePointer(view, 20 + 4 * 1, 200);
    ASSERT_EQ(view->List()->topLevelItemCount(), 2);
    EXPECT_EQ(view->List()->topLevelItem(0)->text(3), QStringLiteral("26.50"));
    EXPECT_EQ(view->List()->topLevelItem(1)->text(3), QStringLiteral("Error"));
    MovePointer(view, 20 + 4 * 0 + 1, 200);
    EXPECT_EQ(view->List()->topLevelItem(0)->text(3), QStringLiteral("25.00"));
    EXPECT_EQ(view->List()->topLevelItem(1)->text(3), QStringLiteral("10.00"));
    EXPECT_EQ(view->ReadoutText(),
              FromGbk(FormatReadoutTime(view->Series().window.TimeAt(0), LiveTextsFor(frame.TextLanguage()))))
        << "the first sample has its own time too";
    frame.RunCommand(ID_CLOSE_LIVE_VIEW);
    peer.Stop();
}

TEST_F(LiveViewTest, ResizingChangesThePlotWidthCapacityAndLayout) {
    CMainFrame& frame = Connected();
    frame.RunCommand(ID_LIVE_VIEW);
    CRealImage* view = LiveView(frame);
    ASSERT_NE(view, nullptr);
    QMdiSubWindow* child = frame.MdiArea()->subWindowList().front();
    child->showNormal();
    // The view's own layout at each width: the scroll area around it stops sizing it.
    qobject_cast<QScrollArea*>(child->widget())->setWidgetResizable(false);
    view->resize(800, 700);
    EXPECT_EQ(view->PlotWidth(), 780);
    EXPECT_EQ(view->Capacity(), 195);
    EXPECT_EQ(view->Plot().width(), 780);
    view->resize(620, 700);
    EXPECT_EQ(view->PlotWidth(), 600);
    EXPECT_EQ(view->Capacity(), 150);
    const LiveRect bg = LiveBackgroundSwatch(600);
    EXPECT_EQ(bg.left, 470);
    EXPECT_EQ(view->CurveBox(0)->geometry().topLeft(), QPoint(470 + 47, 528));
    EXPECT_EQ(view->List()->geometry(), QRect(20, 520, 450, 700 - 10 - 520));
}

}  // namespace
}  // namespace velorin
