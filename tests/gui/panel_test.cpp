// The property panel (tree filling, queued filling from a worker, hide button, layout) and the
// program's pictures.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/property_panel.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/panel_lines.h"
#include "ui/command_ids.h"
#include "ui/icons.h"

namespace velorin {
namespace {

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

// The expected tree text, decoded with the core's own converter (not the GUI's).
QStringList Expected(const std::vector<PanelLine>& lines) {
    QStringList out;
    for (const PanelLine& l : lines) {
        out << QString(l.depth * 2, QLatin1Char(' ')) + QString::fromStdString(GbkToUtf8(l.text));
    }
    return out;
}

// A logger with a timed start and a timed stop, channels 1, 3 and 7 enabled.
DeviceInfo SampleInfo(Language language) {
    const Texts& t = TextsFor(language);
    DeviceInfo info;
    StoreInField(info.startTime, "2024-03-07 08:05:00");
    StoreInField(info.userName, Utf8ToGbk("冷库管理员"));
    StoreInField(info.title, "Cold room 3");
    StoreInField(info.workState, Utf8ToGbk(t.workStateRecording));
    StoreInField(info.startMode, Utf8ToGbk(t.startModeLabel[1]));
    StoreInField(info.timedStartTime, "2024-03-08 09:00:00");
    StoreInField(info.stopMode, Utf8ToGbk(t.stopModeLabel[1]));
    StoreInField(info.timedStopTime, "2024-04-01 00:00:00");
    StoreInField(info.recordMode, Utf8ToGbk(t.recordModeAuto));
    StoreInField(info.serialNumber, "20261209");
    StoreInField(info.model, "VLR-T81");
    info.storedRecordCount = 100;
    info.intervalHours = 1;
    info.intervalMinutes = 2;
    info.intervalSeconds = 5;
    info.storageCapacity = 32000;
    info.firmwareVersion = 11;
    info.powerMode = 0x80;
    for (int i : {0, 2, 6}) info.channel[i].channelEnabled = 1;
    info.channel[0].quantityCode = 1;
    info.channel[0].unitCode = 1;
    info.channel[0].upperAlarmX10 = -125;
    info.channel[2].quantityCode = 2;
    info.channel[2].unitCode = 4;
    info.channel[6].quantityCode = 7;
    info.channel[6].unitCode = 44;
    return info;
}

// --- filling ---------------------------------------------------------------------------------

TEST(PanelFill, TreeHoldsTheLinesOfADeviceInBothLanguages) {
    struct Case {
        const char* language;
        const char* basic;
        const char* channels;
        const char* startMode;
    };
    const Case cases[] = {
        {"English", "Basic ATTR", "Channel ATTR", "Start Mode:"},
        {"Chinese", "基本属性", "通道属性", "启动方式："},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        PropertyPanel panel;
        DeviceInfo info = SampleInfo(LanguageFromName(c.language));
        const std::vector<PanelLine> lines = BuildPanelLines(info, LanguageFromName(c.language));
        panel.Fill(lines);
        EXPECT_EQ(panel.TreeText(), Expected(lines));

        // The shape behind the text: two roots, sixteen basic lines, the timed start's time
        // under the start mode, seven lines for each of the three channels.
        QTreeWidget* tree = panel.Tree();
        ASSERT_EQ(tree->topLevelItemCount(), 2);
        QTreeWidgetItem* basic = tree->topLevelItem(0);
        EXPECT_EQ(basic->text(0), QString::fromUtf8(c.basic));
        EXPECT_EQ(tree->topLevelItem(1)->text(0), QString::fromUtf8(c.channels));
        ASSERT_EQ(basic->childCount(), 16);
        QTreeWidgetItem* startMode = basic->child(6);
        EXPECT_TRUE(startMode->text(0).startsWith(QString::fromUtf8(c.startMode)));
        ASSERT_EQ(startMode->childCount(), 1);
        EXPECT_EQ(startMode->child(0)->text(0), QStringLiteral("2024-03-08 09:00:00"));
        EXPECT_EQ(basic->child(7)->childCount(), 1);
        EXPECT_EQ(tree->topLevelItem(1)->childCount(), 21);
        EXPECT_EQ(basic->child(1)->text(0).right(5), QString::fromUtf8("冷库管理员"));
    }
}

TEST(PanelFill, EveryFillStartsFromAnEmptyTree) {
    PropertyPanel panel;
    DeviceInfo info = SampleInfo(Language::English);
    const std::vector<PanelLine> full = BuildPanelLines(info, Language::English);
    panel.Fill(full);
    panel.Fill(full);
    EXPECT_EQ(panel.TreeText(), Expected(full));  // nothing doubled

    const std::vector<PanelLine> labels = InitialPanelLines(Language::Chinese);
    panel.Fill(labels);
    EXPECT_EQ(panel.TreeText(), Expected(labels));  // nothing left over

    panel.Fill({});
    EXPECT_EQ(panel.Tree()->topLevelItemCount(), 0);
}

TEST(PanelFill, ItemsOpenAsTheLinesSay) {
    PropertyPanel panel;
    // Expanded parents whose children follow them, a closed parent, and a closed root.
    const std::vector<PanelLine> lines = {
        {0, "open root", true},     {1, "open child", true},         {2, "grandchild", false},
        {1, "closed child", false}, {2, "hidden grandchild", false}, {0, "closed root", false},
        {1, "hidden child", false},
    };
    panel.Fill(lines);
    QTreeWidget* tree = panel.Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* open = tree->topLevelItem(0);
    ASSERT_EQ(open->childCount(), 2);
    EXPECT_TRUE(open->isExpanded());
    EXPECT_TRUE(open->child(0)->isExpanded());
    EXPECT_FALSE(open->child(1)->isExpanded());
    EXPECT_FALSE(tree->topLevelItem(1)->isExpanded());

    // The device panel: both roots and both mode lines are open.
    DeviceInfo info = SampleInfo(Language::Chinese);
    panel.Fill(BuildPanelLines(info, Language::Chinese));
    QTreeWidgetItem* basic = tree->topLevelItem(0);
    EXPECT_TRUE(basic->isExpanded());
    EXPECT_TRUE(tree->topLevelItem(1)->isExpanded());
    EXPECT_TRUE(basic->child(6)->isExpanded());
    EXPECT_TRUE(basic->child(7)->isExpanded());
}

TEST(PanelFill, LinesDeeperThanTheirPredecessorHangUnderTheDeepestItem) {
    PropertyPanel panel;
    panel.Fill({{2, "first", false}, {0, "root", false}, {2, "skips a level", false}, {-1, "negative", false}});
    EXPECT_EQ(panel.TreeText(), QStringList({"first", "root", "  skips a level", "negative"}));
}

TEST(PanelFill, QueuedFillFromAWorkerIsCarriedOutOnTheGuiThread) {
    PropertyPanel panel;
    std::vector<QThread*> insertingThreads;
    QObject::connect(
        panel.Tree()->model(), &QAbstractItemModel::rowsInserted, &panel,
        [&insertingThreads] { insertingThreads.push_back(QThread::currentThread()); }, Qt::DirectConnection);

    DeviceInfo info = SampleInfo(Language::English);
    const std::vector<PanelLine> lines = BuildPanelLines(info, Language::English);
    std::thread worker([&panel, lines] { panel.FillQueued(lines); });
    worker.join();
    EXPECT_EQ(panel.Tree()->topLevelItemCount(), 0);  // the worker touched nothing

    ASSERT_TRUE(WaitFor([&] { return panel.Tree()->topLevelItemCount() == 2; }));
    EXPECT_EQ(panel.TreeText(), Expected(lines));
    ASSERT_FALSE(insertingThreads.empty());
    for (QThread* t : insertingThreads) EXPECT_EQ(t, QCoreApplication::instance()->thread());
}

TEST(PanelFill, QueuedFillForAPanelThatIsGoneIsDropped) {
    auto* panel = new PropertyPanel;
    std::thread worker([panel] { panel->FillQueued(InitialPanelLines(Language::English)); });
    worker.join();
    delete panel;
    QCoreApplication::processEvents();  // must not reach the deleted panel (sanitizer builds see it)
}

// --- window ----------------------------------------------------------------------------------

double Scale() { return QGuiApplication::primaryScreen()->logicalDotsPerInchX() / 96.0; }

TEST(PanelWindow, DocksLeftOrRightAndHidesWithItsButton) {
    QMainWindow frame;
    auto* panel = new PropertyPanel(&frame);
    EXPECT_EQ(panel->objectName(), QStringLiteral("PropertyPanel"));
    EXPECT_EQ(panel->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    frame.addDockWidget(Qt::LeftDockWidgetArea, panel);
    frame.show();
    ASSERT_TRUE(WaitFor([&] { return panel->isVisible(); }));

    auto* hide = panel->findChild<QPushButton*>(QStringLiteral("PanelHideButton"));
    ASSERT_NE(hide, nullptr);
    EXPECT_FALSE(hide->icon().isNull());
    EXPECT_TRUE(hide->isVisible());
    hide->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(frame.isVisible());
    panel->show();  // the frame's command brings it back
    EXPECT_TRUE(panel->isVisible());
}

TEST(PanelWindow, TitleIsScaledAndTheBodyPrefersTheTemplateSize) {
    PropertyPanel panel;
    const double scale = Scale();
    auto* title = panel.findChild<QLabel*>(QStringLiteral("PanelTitle"));
    ASSERT_NE(title, nullptr);
    const QSize expectedTitle(static_cast<int>(std::lround(PanelTitlePixmap().width() * scale)),
                              static_cast<int>(std::lround(PanelTitlePixmap().height() * scale)));
    EXPECT_EQ(title->pixmap().size(), expectedTitle);
    // The title's rectangle starts at the top left and is as tall as the picture; it runs on
    // to the right edge of a wider panel.
    EXPECT_EQ(title->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(title->geometry().height(), expectedTitle.height());
    EXPECT_GE(title->geometry().width(), expectedTitle.width());
    // 128 × 434 dialog units.
    EXPECT_EQ(panel.widget()->sizeHint(),
              QSize(static_cast<int>(std::lround(224 * scale)), static_cast<int>(std::lround(705 * scale))));
}

TEST(PanelWindow, BackgroundAndTreeFollowEverySizeChange) {
    PropertyPanel panel;
    panel.show();
    ASSERT_TRUE(WaitFor([&] { return panel.isVisible(); }));
    QWidget* body = panel.widget();
    auto* title = panel.findChild<QLabel*>(QStringLiteral("PanelTitle"));
    auto* background = panel.findChild<QLabel*>(QStringLiteral("PanelBackground"));
    ASSERT_NE(title, nullptr);
    ASSERT_NE(background, nullptr);
    const int titleBottom = title->geometry().y() + title->geometry().height();

    // Resizing the panel lays out its body.
    panel.resize(300, 640);
    QCoreApplication::processEvents();
    const QSize first = body->size();
    ASSERT_GT(first.height(), titleBottom + 30);
    EXPECT_EQ(background->geometry(), QRect(0, titleBottom + 8, first.width(), first.height() - titleBottom - 16));
    EXPECT_EQ(panel.Tree()->geometry(),
              QRect(2, titleBottom + 15, first.width() - 4, first.height() - titleBottom - 30));

    EXPECT_EQ(title->geometry().width(), std::max(first.width(), title->pixmap().width()));

    // Exact figures for a body of 250 × 500.
    body->resize(250, 500);
    EXPECT_EQ(title->geometry(), QRect(0, 0, std::max(250, title->pixmap().width()), titleBottom));
    EXPECT_EQ(background->geometry(), QRect(0, titleBottom + 8, 250, 500 - titleBottom - 16));
    EXPECT_EQ(panel.Tree()->geometry(), QRect(2, titleBottom + 15, 246, 500 - titleBottom - 30));

    // Too small for the rule: sizes stop at zero.
    body->resize(3, titleBottom + 10);
    EXPECT_EQ(background->geometry().size(), QSize(3, 0));
    EXPECT_EQ(panel.Tree()->geometry().size(), QSize(0, 0));
    EXPECT_EQ(panel.Tree()->geometry().topLeft(), QPoint(2, titleBottom + 15));
}

// --- pictures --------------------------------------------------------------------------------

QImage At(const QIcon& icon, int size) {
    return icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 128;
    }
    return n;
}

int ClearPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) == 0;
    }
    return n;
}

TEST(Pictures, ToolbarIconsAreDistinctVisiblePicturesOnATransparentGround) {
    std::vector<QImage> images;
    for (int resource : kToolbarIconResources) {
        SCOPED_TRACE(resource);
        const QIcon icon = ToolbarIcon(resource);
        ASSERT_FALSE(icon.isNull());
        const QImage image = At(icon, 32);
        ASSERT_EQ(image.size(), QSize(32, 32));
        EXPECT_GT(OpaquePixels(image), 32 * 32 / 5);  // a real shape, not a speck
        EXPECT_GT(ClearPixels(image), 32);            // and a transparent ground around it
        EXPECT_FALSE(At(icon, 16).isNull());
        images.push_back(image);
    }
    for (size_t i = 0; i < images.size(); ++i) {
        for (size_t j = i + 1; j < images.size(); ++j) {
            EXPECT_NE(images[i], images[j]) << kToolbarIconResources[i] << " and " << kToolbarIconResources[j];
        }
    }
}

TEST(Pictures, IconsAreMadeOnceAndUnknownNumbersHaveNone) {
    EXPECT_EQ(ToolbarIcon(161).cacheKey(), ToolbarIcon(161).cacheKey());
    EXPECT_EQ(PanelTitlePixmap().cacheKey(), PanelTitlePixmap().cacheKey());
    EXPECT_EQ(ApplicationIcon().cacheKey(), ApplicationIcon().cacheKey());
    EXPECT_TRUE(ToolbarIcon(0).isNull());
    EXPECT_TRUE(ToolbarIcon(140).isNull());
}

TEST(Pictures, PanelAndApplicationPictures) {
    const QPixmap title = PanelTitlePixmap();
    EXPECT_EQ(title.width(), 224);  // as wide as the panel at 96 dpi
    EXPECT_GT(title.height(), 0);
    EXPECT_GT(OpaquePixels(title.toImage()), title.width() * title.height() / 2);

    const QImage background = PanelBackgroundPixmap().toImage();
    ASSERT_FALSE(background.isNull());
    EXPECT_EQ(OpaquePixels(background), background.width() * background.height());  // no holes
    // A gradient: the top and the bottom rows differ.
    EXPECT_NE(background.pixel(0, 0), background.pixel(0, background.height() - 1));

    for (const QIcon& icon : {PanelHideIcon(), ApplicationIcon()}) {
        for (int size : {16, 32}) {
            const QImage image = At(icon, size);
            ASSERT_EQ(image.size(), QSize(size, size));
            EXPECT_GT(OpaquePixels(image), size * size / 10);
            EXPECT_GT(ClearPixels(image), 0);
        }
    }
    EXPECT_NE(At(PanelHideIcon(), 32), At(ToolbarIcon(141), 32));
}

}  // namespace
}  // namespace velorin
