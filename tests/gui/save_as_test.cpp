// Save As of a data window: the dialog's six forms (four GBK/binary, two UTF-8), the form chosen by the filter and not by
// the typed name, the extension rule, the four writers, Cancel, and the failure messages.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include "gui/frame_fixture.h"
#include "history/dastrel_doc.h"
#include "history/kv_file.h"
#include "ui/command_ids.h"

namespace velorin {
namespace {

using test::FileExists;
using test::ReadFileBytes;

class SaveAsTest : public test::MainFrameTest {
protected:
    // A frame with one data window of three records (channel 1, 21.5 … 23.5).
    CMainFrame& FrameWithData() {
        WriteLanguageFile("English");
        CMainFrame& frame = Frame();
        RecordSet set;
        set.recordCount = 3;
        set.records.resize(3);
        for (int i = 0; i < 3; ++i) {
            SampleRecord& r = set.records[static_cast<size_t>(i)];
            r.year = 26;
            r.month = 2;
            r.day = 3;
            r.hour = 4;
            r.minute = 5 + i;
            r.value[0] = 21.5f + static_cast<float>(i);
        }
        set.channelEnabled[0] = 1;
        set.upperAlarmX10[0] = 300;
        set.storageCapacity = 1000;
        set.deviceRecordCount = 3;
        SetUnitText(set, 0, "C");
        const std::string path = work_.Path() + "/source.kv";
        EXPECT_TRUE(WriteKvFile(path, set).ok);
        EXPECT_TRUE(frame.OpenDataFile(QString::fromStdString(path)));
        // The frame's deferred start-up work (its USB library check, which finds none here) runs
        // before the command, as it does in the program: the report's progress dialog runs the
        // event loop.
        QCoreApplication::processEvents();
        presenter_.messages.clear();
        return frame;
    }
    void Answer(const std::string& name, int filter) {
        presenter_.saveAnswer = QString::fromStdString(work_.Path() + "/" + name);
        presenter_.saveAsFilterAnswer = filter;
    }
    std::string In(const std::string& name) const { return work_.Path() + "/" + name; }
};

TEST_F(SaveAsTest, OffersSixFormsAndTheFilterChoosesTheForm) {
    CMainFrame& frame = FrameWithData();
    Answer("report.csv", 1);  // typed as CSV, saved with the PDF filter
    frame.RunCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(presenter_.saveAsFilters,
              QStringList({QStringLiteral("PDF FILE (*.pdf)"), QStringLiteral("Excel FILE (*.csv)"),
                           QStringLiteral("TXT FILE (*.txt)"), QStringLiteral("数据记录仪文件(*.kv)"),
                           QStringLiteral("CSV (UTF-8) (*.csv)"), QStringLiteral("TXT (UTF-8) (*.txt)")}));
    EXPECT_EQ(ReadFileBytes(In("report.csv.pdf")).substr(0, 5), "%PDF-");
    EXPECT_FALSE(FileExists(In("report.csv")));
    EXPECT_TRUE(presenter_.messages.empty()) << presenter_.messages.front().text.toStdString();

    Answer("table", 2);
    frame.RunCommand(ID_FILE_SAVE_AS);
    EXPECT_NE(ReadFileBytes(In("table.csv")).find("Record times:3"), std::string::npos);
    Answer("list.txt", 3);
    frame.RunCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(ReadFileBytes(In("list.txt")).rfind("User name:", 0), 0u);
    EXPECT_FALSE(FileExists(In("list.txt.txt")));

    // The UTF-8 forms: the same tables with converted texts ("用户名" in the CSV's head is GBK in
    // the default form); only the CSV starts with a byte-order mark.
    Answer("table8", 5);
    frame.RunCommand(ID_FILE_SAVE_AS);
    const std::string csv8 = ReadFileBytes(In("table8.csv"));
    EXPECT_EQ(csv8.rfind("\xEF\xBB\xBF\xE7\x94\xA8\xE6\x88\xB7\xE5\x90\x8D:", 0), 0u) << csv8.substr(0, 20);
    EXPECT_NE(csv8.find("Record times:3\r\n"), std::string::npos);
    Answer("list8", 6);
    frame.RunCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(ReadFileBytes(In("list8.txt")).rfind("User name:", 0), 0u);
    EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(SaveAsTest, DataFileOpensAgainAsTheSameDataSet) {
    CMainFrame& frame = FrameWithData();
    Answer("data", 4);
    frame.RunCommand(ID_FILE_SAVE_AS);
    ASSERT_TRUE(FileExists(In("data.kv")));
    EXPECT_EQ(ReadFileBytes(In("data.kv")), ReadFileBytes(In("source.kv")));
    RecordSet again;
    ASSERT_TRUE(ReadKvFile(In("data.kv"), again).ok());
    EXPECT_EQ(again.recordCount, 3);
    EXPECT_FLOAT_EQ(again.records[2].value[0], 23.5f);
}

TEST_F(SaveAsTest, CancelWritesNothingAndChangesNothing) {
    CMainFrame& frame = FrameWithData();
    const RecordSet before = frame.ActiveDocument()->Set();
    presenter_.saveAnswer.clear();
    presenter_.saveAsFilterAnswer = 1;
    frame.RunCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(presenter_.saveAsFilters.size(), 6);  // the dialog was shown
    EXPECT_TRUE(presenter_.messages.empty());
    const RecordSet& after = frame.ActiveDocument()->Set();
    EXPECT_EQ(after.maxValue[0], before.maxValue[0]);
    EXPECT_EQ(after.avgValue[0], before.avgValue[0]);
    const QStringList files = QDir(QString::fromStdString(work_.Path())).entryList(QDir::Files);
    EXPECT_EQ(files, QStringList({QStringLiteral("Language.ini"), QStringLiteral("source.kv")}));
}

TEST_F(SaveAsTest, AReportLeavesTheDocumentAsItWasAndFailuresAreShown) {
    CMainFrame& frame = FrameWithData();
    RecordSet& set = frame.ActiveDocument()->Set();
    set.maxValue[0] = 30.25f;  // as the download stored them
    set.avgValue[0] = 20.75f;
    const std::string before = SerializeKv(set);
    Answer("r.pdf", 1);
    frame.RunCommand(ID_FILE_SAVE_AS);
    ASSERT_TRUE(test::FileExists(In("r.pdf")));
    EXPECT_EQ(SerializeKv(frame.ActiveDocument()->Set()), before);

    Answer("no/folder/r.pdf", 1);
    frame.RunCommand(ID_FILE_SAVE_AS);
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_TRUE(presenter_.messages[0].text.startsWith(QStringLiteral("创建PDF文件失败！\n路径: ") +
                                                       QString::fromStdString(In("no/folder/r.pdf"))))
        << presenter_.messages[0].text.toStdString();
    EXPECT_EQ(presenter_.messages[0].icon, BoxIcon::Error);

    Answer("no/folder/d", 4);
    frame.RunCommand(ID_FILE_SAVE_AS);
    ASSERT_EQ(presenter_.messages.size(), 2u);
    EXPECT_TRUE(presenter_.messages[1].text.startsWith(QStringLiteral("Cannot store the data file ") +
                                                       QString::fromStdString(In("no/folder/d.kv"))))
        << presenter_.messages[1].text.toStdString();
}

}  // namespace
}  // namespace velorin
