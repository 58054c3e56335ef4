// The main window's "F0 Config" command against data windows with and without the lists.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTreeWidget>

#include "app/property_panel.h"
#include "common/language.h"
#include "gui/frame_fixture.h"
#include "history/dastrel_doc.h"
#include "history/kv_file.h"
#include "support/temp_dir.h"
#include "ui/command_ids.h"
#include "ui/gui_text.h"
#include "view/f0_command.h"
#include "view/f0_parameters_dialog.h"
#include "view/history_lists.h"
#include "view/lists_test_set.h"

namespace velorin::test {
namespace {

// A data window content that carries the lists as a history view does, opening them when it is
// first shown (inside the main window, so that the panel is found there).
class ListsView : public QWidget {
public:
    ListsView(std::shared_ptr<CDastrelDoc> doc, QWidget* parent) : QWidget(parent) {
        HistoryLists::Setup s;
        s.doc = std::move(doc);
        s.display.language = Language::English;
        s.statistics = new QTableView(this);
        s.data = new QTableView(this);
        lists_ = new HistoryLists(std::move(s), this);
    }

protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        if (!opened_) lists_->Open();
        opened_ = true;
    }

private:
    HistoryLists* lists_;
    bool opened_ = false;
};

QWidget* MakeListsView(std::shared_ptr<CDastrelDoc> doc, QWidget* parent) {
    return new ListsView(std::move(doc), parent);
}

class F0CommandTest : public MainFrameTest {
protected:
    std::string WriteSet(const RecordSet& set) {
        const std::string path = work_.Path() + "/xData/123456789.kv";
        work_.MakeDir("xData");
        EXPECT_TRUE(WriteKvFile(path, set).ok);
        return path;
    }
    HistoryLists* ActiveLists(CMainFrame& frame) { return HistoryListsOf(frame.MdiArea()->activeSubWindow()); }
};

TEST_F(F0CommandTest, OkStoresTheParametersAndSwitchesF0OnWithoutTouchingTheStoredFile) {
    WriteLanguageFile("English");
    CMainFrame& frame = Frame();
    frame.SetDataViewFactory(MakeListsView);
    frame.show();
    RecordSet set = ChannelsOneTwoFive(20);
    for (SampleRecord& r : set.records) r.value[0] = 111.0f;
    const std::string path = WriteSet(set);
    const std::string stored = ReadFileBytes(path);
    ASSERT_TRUE(frame.OpenDataFile(QString::fromStdString(path)));
    ASSERT_NE(ActiveLists(frame), nullptr);
    EXPECT_TRUE(frame.Panel()->TreeText().contains("  Start channel:1,2,5"));

    presenter_.onExec = [](QDialog& d) {
        auto& dialog = dynamic_cast<ConfigValueDlg&>(d);
        dialog.ReferenceEdit()->setText("101");
        return int(QDialog::Accepted);
    };
    frame.RunCommand(ID_F0_CONFIG);
    EXPECT_EQ(presenter_.dialogs, 1);
    EXPECT_FLOAT_EQ(frame.F0Parameter(0), 101.0f);
    EXPECT_FLOAT_EQ(frame.F0Parameter(1), 10.0f);
    ASSERT_TRUE(ActiveLists(frame)->F0On());
    const RecordSet& shown = frame.ActiveDocument()->Set();
    EXPECT_FLOAT_EQ(shown.records[0].value[1], 10.0f);  // 111 °C is one z above 101 °C
    EXPECT_TRUE(frame.Panel()->TreeText().contains("  CH2Type:F0"));

    // Cancel keeps the parameters and the mode.
    presenter_.onExec = [](QDialog&) { return int(QDialog::Rejected); };
    frame.RunCommand(ID_F0_CONFIG);
    EXPECT_FLOAT_EQ(frame.F0Parameter(0), 101.0f);

    ActiveLists(frame)->SwitchF0Off();
    EXPECT_FLOAT_EQ(shown.records[0].value[1], 40.0f);
    frame.MdiArea()->closeAllSubWindows();
    EXPECT_EQ(ReadFileBytes(path), stored);
}

TEST_F(F0CommandTest, NothingHappensWithoutAHistoryView) {
    WriteLanguageFile("Chinese");
    CMainFrame& frame = Frame();
    frame.RunCommand(ID_F0_CONFIG);  // no data window: the command is disabled
    EXPECT_EQ(presenter_.dialogs, 0);
    // A data window that shows only a table is not a history view.
    const std::string path = WriteSet(ChannelsOneTwoFive(3));
    ASSERT_TRUE(frame.OpenDataFile(QString::fromStdString(path)));
    frame.RunCommand(ID_F0_CONFIG);
    EXPECT_EQ(presenter_.dialogs, 0);
    EXPECT_FLOAT_EQ(frame.F0Parameter(0), 121.0f);
}

}  // namespace
}  // namespace velorin::test
