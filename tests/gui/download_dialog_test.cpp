// The History command and its dialog against the simulator: the command-enable flags while a
// download runs and after it, the question when a data window is open, OK storing the data set
// on both routes and opening it, Cancel storing nothing. Opening data files from the frame.
#include <gtest/gtest.h>

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include <sys/stat.h>

#include "gui/frame_fixture.h"
#include "history/dastrel_doc.h"
#include "history/download_dialog.h"
#include "history/download_engine.h"
#include "history/kv_file.h"
#include "history_generator.h"
#include "ui/command_ids.h"

namespace velorin {
namespace {

using test::Enabled;
using test::FileExists;
using test::WaitFor;

class DownloadTest : public test::MainFrameTest {
protected:
    // A frame whose downloads use short pauses and store under work_/xData. Over serial it is
    // connected by Connect; over USB the start-up detection finds the logger and the automatic
    // download opens its dialog.
    CMainFrame& ConnectedFrame(bool usb) {
        StartSimulator(usb);
        server_->UpdateState([](sim::LoggerState& s) {
            s.recordCount = 700;
            s.serialBlockRecords = 250;  // three serial blocks
        });
        CMainFrame& frame = Frame({false, usb, false});
        FastDownloads(frame);
        if (usb) {
            EXPECT_TRUE(WaitFor([&] { return frame.Download() != nullptr; }));
        } else {
            EXPECT_TRUE(ConnectAndWait(frame));
        }
        return frame;
    }

    std::string SerialName() const { return std::string(server_->State().serialNumber, 8); }

    // A picture of the dialog when VELORIN_SCREENSHOTS names a folder.
    static void Picture(QWidget& w, const char* name) {
        const char* folder = std::getenv("VELORIN_SCREENSHOTS");
        if (folder != nullptr) w.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + name + ".png");
    }
};

TEST_F(DownloadTest, OkStoresTheDataFileAndItsCsvAndOpensADataWindow) {
    CMainFrame& frame = ConnectedFrame(false);
    frame.RunCommand(ID_HISTORY);
    CProgress1Dlg* dialog = frame.Download();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("历史数据下载进度。。。"));
    EXPECT_FALSE(dialog->OkButton()->isEnabled());
    // Nothing else may talk to the logger while the download runs.
    for (int id : {ID_CONNECT, ID_LIVE_VIEW, ID_HISTORY, ID_SETUP_WIZARD, ID_STOP})
        EXPECT_FALSE(Enabled(frame, id)) << id;

    ASSERT_TRUE(WaitFor([&] { return dialog->OkButton()->isEnabled(); }));
    EXPECT_EQ(dialog->StatusText(), QStringLiteral("请点击按钮“OK”或“取消”"));
    EXPECT_EQ(dialog->ProgressMaximum(), 3);
    EXPECT_EQ(dialog->ProgressValue(), 3);
    EXPECT_TRUE(presenter_.messages.empty());

    dialog->OkButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
    const std::string kv = work_.Path() + "/xData/" + SerialName() + ".kv";
    EXPECT_TRUE(FileExists(kv));
    EXPECT_TRUE(FileExists(kv + ".csv"));
    const std::shared_ptr<CDastrelDoc> doc = frame.ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Set().recordCount, 700);
    // The shown data set is the stored file, record for record.
    const sim::LoggerState state = server_->State();
    const sim::HistoryGenerator history(state);
    const SampleRecord& last = doc->Set().records.back();
    const double expected = history.Sample(0, history.FirstIndex() + 699).value;  // sent in tenths
    EXPECT_NEAR(last.value[0], expected, 0.051);
    // After OK only Connect comes back.
    EXPECT_TRUE(Enabled(frame, ID_CONNECT));
    EXPECT_FALSE(Enabled(frame, ID_HISTORY));
}

TEST_F(DownloadTest, AnOpenDataWindowAsksWhereToSave) {
    CMainFrame& frame = ConnectedFrame(true);
    ASSERT_TRUE(WaitFor([&] { return frame.Download() && frame.Download()->OkButton()->isEnabled(); }, 20000));
    frame.Download()->OkButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
    ASSERT_NE(frame.ActiveDocument(), nullptr);
    EXPECT_EQ(frame.ActiveDocument()->Set().recordCount, 700);

    EXPECT_EQ(link_.hidHandle, nullptr);
    EXPECT_TRUE(presenter_.messages.empty());
    // OK to the question and a name without ".kv": the file gets the extension, no CSV.
    frame.Flags().SetDeviceCommands(1);
    frame.UpdateCommands();
    presenter_.answers = {true};
    presenter_.saveAnswer = QString::fromStdString(work_.Path() + "/chosen");
    frame.RunCommand(ID_HISTORY);
    ASSERT_EQ(presenter_.questions.size(), 1u);
    EXPECT_EQ(presenter_.questions[0].text, QStringLiteral("已有数据窗口显示，是否将下载的历史数据另存为？"));
    EXPECT_EQ(presenter_.questions[0].caption, QStringLiteral("提示"));
    ASSERT_NE(frame.Download(), nullptr);
    // The USB handle was closed at the end of the first download (the next Connect finds it
    // again): this download gets no count and says so; OK stores nothing, not even over a
    // file the user named.
    ASSERT_TRUE(WaitFor([&] { return frame.Download()->OkButton()->isEnabled(); }, 20000));
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("历史数据下载失败了!"));
    EXPECT_EQ(frame.Download()->StatusText(), QStringLiteral("未保存任何数据"));
    frame.Download()->OkButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
    EXPECT_FALSE(FileExists(work_.Path() + "/chosen.kv"));
    EXPECT_FALSE(FileExists(work_.Path() + "/chosen.kv.csv"));
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(frame.ActiveDocument()->Set().recordCount, 700);
}

TEST_F(DownloadTest, ACountFailureStoresNothingAndKeepsTheLastGoodFile) {
    CMainFrame& frame = ConnectedFrame(false);
    const std::string kv = work_.Path() + "/xData/" + SerialName() + ".kv";
    ASSERT_EQ(mkdir((work_.Path() + "/xData").c_str(), 0755), 0);
    RecordSet good;
    good.records.resize(3);
    good.recordCount = 3;
    good.channelEnabled[0] = 1;
    ASSERT_TRUE(WriteKvFile(kv, good).ok);
    const std::string bytes = test::ReadFileBytes(kv);
    const std::string csv = work_.MakeFile("xData/" + SerialName() + ".kv.csv", "the good copy");

    sim::FaultPlan silent;
    silent.kind = sim::FaultKind::Silence;
    silent.command = 0x19;
    server_->SetFaultPlan(silent);
    frame.RunCommand(ID_HISTORY);
    CProgress1Dlg* dialog = frame.Download();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitFor([&] { return dialog->OkButton()->isEnabled(); }));
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("历史数据下载失败了!"));
    EXPECT_EQ(dialog->StatusText(), QStringLiteral("未保存任何数据"));
    Picture(*dialog, "download-count-failed-zh");
    // An empty bar, not a busy indicator (a 0 … 0 range).
    EXPECT_EQ(dialog->ProgressMaximum(), 1);
    EXPECT_EQ(dialog->ProgressValue(), 0);

    dialog->OkButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
    EXPECT_EQ(test::ReadFileBytes(kv), bytes);
    EXPECT_EQ(test::ReadFileBytes(csv), "the good copy");
    EXPECT_EQ(frame.ActiveDocument(), nullptr) << "no window on an empty data set";
    for (int id : {ID_CONNECT, ID_LIVE_VIEW, ID_HISTORY, ID_SETUP_WIZARD, ID_STOP})
        EXPECT_TRUE(Enabled(frame, id)) << id;
}

TEST_F(DownloadTest, APartialDownloadIsStoredBesideTheCompleteOneAndOpened) {
    CMainFrame& frame = ConnectedFrame(false);
    frame.RunCommand(ID_HISTORY);
    ASSERT_TRUE(WaitFor([&] { return frame.Download() && frame.Download()->OkButton()->isEnabled(); }));
    frame.Download()->OkButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
    const std::string kv = work_.Path() + "/xData/" + SerialName() + ".kv";
    const std::string complete = test::ReadFileBytes(kv);
    ASSERT_FALSE(complete.empty());

    sim::FaultPlan drop;
    drop.kind = sim::FaultKind::DropAfter;
    drop.parameter = 1;  // the first block comes, then the logger falls silent
    server_->SetFaultPlan(drop);
    frame.Flags().SetDeviceCommands(1);
    frame.UpdateCommands();
    presenter_.answers = {false};  // the open data window is closed, the default route taken
    frame.RunCommand(ID_HISTORY);
    ASSERT_NE(frame.Download(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return frame.Download()->OkButton()->isEnabled(); }, 30000));
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("历史数据下载失败!"));
    frame.Download()->OkButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));

    EXPECT_EQ(test::ReadFileBytes(kv), complete) << "the complete download is kept";
    const std::shared_ptr<CDastrelDoc> doc = frame.ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Set().recordCount, 250) << "the one block that came";
    const std::string partial = doc->PathName();
    EXPECT_EQ(partial.rfind(work_.Path() + "/xData/" + SerialName() + "-partial-", 0), 0u) << partial;
    EXPECT_EQ(test::ReadFileBytes(partial), SerializeKv(doc->Set())) << "the window shows the stored file";
    EXPECT_TRUE(FileExists(partial + ".csv"));
}

TEST_F(DownloadTest, EnglishFirstStatusTextAndAnEmptyBarForZeroBlocks) {
    WriteLanguageFile("English");
    CMainFrame& frame = ConnectedFrame(false);
    server_->UpdateState([](sim::LoggerState& s) { s.recordCount = 0; });
    frame.RunCommand(ID_HISTORY);
    CProgress1Dlg* dialog = frame.Download();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->StatusText(), QStringLiteral("Downloading data, please wait"));
    Picture(*dialog, "download-first-text-en");
    ASSERT_TRUE(WaitFor([&] { return dialog->OkButton()->isEnabled(); }));
    EXPECT_TRUE(presenter_.messages.empty());
    EXPECT_EQ(dialog->ProgressMaximum(), 1);
    EXPECT_EQ(dialog->ProgressValue(), 0);
    // The animation's texts are Chinese in both languages.
    EXPECT_EQ(dialog->StatusText(), QStringLiteral("请点击按钮“OK”或“取消”"));
    dialog->CancelButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
}

TEST_F(DownloadTest, ChannelsSevenAndEightAreToldAndShownAsNotRecorded) {
    StartSimulator(false);
    server_->UpdateState([](sim::LoggerState& s) {
        s.recordCount = 20;
        s.channels[6].enabled = true;
    });
    CMainFrame& frame = Frame();
    frame.SetDownloadSetup([this](CProgress1Dlg& dialog) {
        DownloadTiming fast;
        fast.countReplyMs = 30;
        fast.blockReplyMs = 30;
        fast.quietPollMs = 20;
        dialog.SetTiming(fast);
        dialog.SetExecutableFolder(work_.Path());
    });
    ASSERT_TRUE(ConnectAndWait(frame));
    frame.RunCommand(ID_HISTORY);
    ASSERT_TRUE(WaitFor([&] { return frame.Download() && frame.Download()->OkButton()->isEnabled(); }));
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text,
              QStringLiteral("通道7和通道8无法保存到数据文件中，数据窗口将其显示为未记录。"));
    frame.Download()->OkButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
    ASSERT_NE(frame.ActiveDocument(), nullptr);
    EXPECT_EQ(frame.ActiveDocument()->Set().recordCount, 20);
    EXPECT_EQ(frame.ActiveDocument()->Set().channelEnabled[6], 0);
    EXPECT_EQ(frame.ActiveDocument()->Set().channelEnabled[0], 1);
}

TEST_F(DownloadTest, CancelStoresNothingAndGivesEveryCommandBack) {
    CMainFrame& frame = ConnectedFrame(false);
    frame.RunCommand(ID_HISTORY);
    ASSERT_NE(frame.Download(), nullptr);
    frame.Download()->CancelButton()->click();
    ASSERT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
    EXPECT_FALSE(FileExists(work_.Path() + "/xData/" + SerialName() + ".kv"));
    for (int id : {ID_CONNECT, ID_LIVE_VIEW, ID_HISTORY, ID_SETUP_WIZARD, ID_STOP})
        EXPECT_TRUE(Enabled(frame, id)) << id;
    EXPECT_EQ(frame.ActiveDocument(), nullptr);
}

TEST_F(DownloadTest, OpeningRefusesOtherExtensionsAndBrokenFiles) {
    CMainFrame& frame = Frame();
    RecordSet set;
    set.recordCount = 1;
    set.records.resize(1);
    set.channelEnabled[0] = 1;
    const std::string good = work_.Path() + "/a.kv";
    ASSERT_TRUE(WriteKvFile(good, set).ok);
    const std::string bytes = test::ReadFileBytes(good);
    const std::string upper = work_.MakeFile("b.KV", bytes);
    const std::string broken = work_.MakeFile("c.kv", bytes.substr(0, bytes.size() - 1));

    EXPECT_FALSE(frame.OpenDataFile(QString::fromStdString(upper)));
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("  您执行了非法操作,\n\n请选择扩展名为(.kv)的文件进行操作"));
    EXPECT_FALSE(frame.OpenDataFile(QString::fromStdString(broken)));
    ASSERT_EQ(presenter_.messages.size(), 2u);
    EXPECT_TRUE(presenter_.messages[1].text.startsWith(QStringLiteral("无法打开数据文件 ")));
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());

    // A file opened twice is one window; the download's open gets a fresh one.
    EXPECT_TRUE(frame.OpenDataFile(QString::fromStdString(good)));
    EXPECT_TRUE(frame.OpenDataFile(QString::fromStdString(good)));
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 1);
    EXPECT_TRUE(frame.OpenDataFile(QString::fromStdString(good), true));
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 2);
    EXPECT_TRUE(Enabled(frame, ID_FILE_SAVE_AS));
}

}  // namespace
}  // namespace velorin
