// The history view's lists, panel refill and F0 mode as the view drives them (HistoryLists over
// two tables), without the curve.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <QTableView>
#include <QWidget>
#include <memory>

#include "common/language.h"
#include "common/text_codec.h"
#include "device/panel_lines.h"
#include "history/dastrel_doc.h"
#include "ui/gui_text.h"
#include "view/data_list_model.h"
#include "view/history_lists.h"
#include "view/lists_test_set.h"
#include "view/statistics_model.h"

namespace velorin {
namespace {

QString At(const QTableView& table, int row, int column) { return table.model()->index(row, column).data().toString(); }

QString Header(const QTableView& table, int column) {
    return table.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

// A view with the two lists, the shown range it would have and what reached the panel.
class ListsHost : public ::testing::Test {
protected:
    void Build(RecordSet set, Language language = Language::English) {
        doc_ = std::make_shared<CDastrelDoc>();
        doc_->Set() = std::move(set);
        end_ = doc_->Set().recordCount;
        host_ = std::make_unique<QWidget>();
        statistics_ = new QTableView(host_.get());
        data_ = new QTableView(host_.get());
        HistoryLists::Setup s;
        s.doc = doc_;
        s.display.language = language;
        s.display.channelType[0] = 0x22;  // hundredths
        s.statistics = statistics_;
        s.data = data_;
        s.shownRange = [this] { return std::make_pair(first_, end_); };
        s.fillPanel = [this](const std::vector<PanelLine>& lines) {
            panel_.clear();
            for (const PanelLine& l : lines) panel_ << FromGbk(l.text);
        };
        lists_ = new HistoryLists(std::move(s), host_.get());
        QObject::connect(lists_, &HistoryLists::F0Switched, [this](const F0Switch& r) { switches_.push_back(r); });
        lists_->Open();
    }

    std::shared_ptr<CDastrelDoc> doc_;
    int32_t first_ = 0, end_ = 0;
    std::unique_ptr<QWidget> host_;
    QTableView* statistics_ = nullptr;
    QTableView* data_ = nullptr;
    HistoryLists* lists_ = nullptr;
    QStringList panel_;
    std::vector<F0Switch> switches_;
};

TEST_F(ListsHost, ChannelsOneTwoAndFiveInBothListsAndThePanelAndReturnKeepsThem) {
    Build(test::ChannelsOneTwoFive(10));
    ASSERT_EQ(statistics_->model()->rowCount(), 3);
    EXPECT_EQ(At(*statistics_, 0, 0), "CH1");
    EXPECT_EQ(At(*statistics_, 1, 0), "CH2");
    EXPECT_EQ(At(*statistics_, 2, 0), "CH5");
    EXPECT_EQ(At(*statistics_, 2, 4), "Error");
    EXPECT_EQ(statistics_->columnWidth(7), 240);
    ASSERT_EQ(data_->model()->columnCount(), 5);
    EXPECT_EQ(Header(*data_, 4), "CH5(kPa)");
    EXPECT_EQ(data_->model()->rowCount(), 10);
    EXPECT_EQ(At(*data_, 9, 0), "10");
    EXPECT_EQ(At(*data_, 3, 4), "Error");
    EXPECT_EQ(At(*data_, 1, 2), "20.25");  // channel 1 in hundredths
    EXPECT_EQ(data_->columnWidth(1), 240);
    EXPECT_EQ(data_->columnWidth(4), 100);
    EXPECT_TRUE(panel_.contains("Start channel:1,2,5"));
    EXPECT_TRUE(switches_.empty());

    // "Return" without F0 mode leaves the recorded channel 2 where it was.
    lists_->SwitchF0Off();
    ASSERT_EQ(switches_.size(), 1u);
    EXPECT_FALSE(switches_[0].changed);
    EXPECT_TRUE(switches_[0].channel2Enabled);
    EXPECT_EQ(doc_->Set().channelEnabled[1], 1);
    EXPECT_EQ(data_->model()->columnCount(), 5);
}

TEST_F(ListsHost, TheReadoutFillsTheSelectedColumnUntilTheListsAreRebuilt) {
    Build(test::ChannelsOneTwoFive(10));
    lists_->ShowSelected({"21.00", "44.0", "Error", "ignored: no fourth row"});
    EXPECT_EQ(At(*statistics_, 0, 3), "21.00");
    EXPECT_EQ(At(*statistics_, 2, 3), "Error");
    lists_->ShowSelected({"20.50"});
    EXPECT_EQ(At(*statistics_, 1, 3), "");
    lists_->SwitchF0Off();
    EXPECT_EQ(At(*statistics_, 0, 3), "");
}

TEST_F(ListsHost, F0OnAZoomedRangeAndBackRestoresTheRecordedChannelTwo) {
    Build(test::ChannelsOneTwoFive(300));
    first_ = 100;
    end_ = 200;  // zoomed: the lists keep showing all records until F0 mode rebuilds them
    EXPECT_EQ(data_->model()->rowCount(), 300);

    ASSERT_TRUE(lists_->SwitchF0On(121.0f, 10.0f));
    EXPECT_TRUE(lists_->F0On());
    ASSERT_EQ(switches_.size(), 1u);
    EXPECT_TRUE(switches_[0].channel2Enabled);
    EXPECT_TRUE(switches_[0].extremes.any);
    ASSERT_EQ(data_->model()->rowCount(), 101);
    EXPECT_EQ(At(*data_, 0, 0), "1");
    EXPECT_EQ(At(*data_, 100, 0), "101");
    EXPECT_EQ(At(*data_, 100, 1), "26-03-04  08:26:00");  // record 200
    EXPECT_EQ(At(*statistics_, 1, 1), "F0");
    EXPECT_TRUE(panel_.contains("CH2Type:F0"));
    EXPECT_NE(At(*data_, 0, 3), "140.0");

    // "Return": the whole set again, channel 2 as recorded, still enabled.
    first_ = 0;
    end_ = 300;
    lists_->SwitchF0Off();
    EXPECT_FALSE(lists_->F0On());
    ASSERT_EQ(switches_.size(), 2u);
    EXPECT_TRUE(switches_[1].changed);
    EXPECT_TRUE(switches_[1].channel2Enabled);
    EXPECT_EQ(data_->model()->rowCount(), 300);
    EXPECT_EQ(At(*data_, 100, 3), "140.0");
    EXPECT_EQ(At(*statistics_, 1, 1), FromGbk(Utf8ToGbk("湿度")));
    EXPECT_EQ(At(*statistics_, 1, 4), "80.00");
    EXPECT_TRUE(panel_.contains("CH2Type:" + FromGbk(Utf8ToGbk("湿度"))));
}

TEST_F(ListsHost, F0AddsAChannelTwoColumnToASetWithoutOneAndReturnRemovesIt) {
    RecordSet set = test::ChannelsOneTwoFive(5);
    set.channelEnabled[1] = 0;
    for (SampleRecord& r : set.records) r.value[0] = 121.0f;
    Build(std::move(set), Language::Chinese);
    ASSERT_EQ(data_->model()->columnCount(), 4);
    ASSERT_TRUE(lists_->SwitchF0On(121.0f, 10.0f));
    ASSERT_EQ(data_->model()->columnCount(), 5);
    // F counts minutes: not the unit the disabled channel 2 still holds.
    EXPECT_EQ(Header(*data_, 3), FromGbk(Utf8ToGbk("通道2(分钟)")));
    EXPECT_EQ(At(*data_, 4, 3), "5.0");
    EXPECT_EQ(At(*statistics_, 1, 4), "5.00");  // MAX of F
    EXPECT_EQ(At(*statistics_, 1, 5), "1.00");
    lists_->SwitchF0Off();
    EXPECT_EQ(data_->model()->columnCount(), 4);
    EXPECT_FALSE(switches_.back().channel2Enabled);
    // A z-value of zero switches nothing on.
    EXPECT_FALSE(lists_->SwitchF0On(121.0f, 0.0f));
    EXPECT_EQ(data_->model()->columnCount(), 4);
}

TEST_F(ListsHost, AFullDataSetIsUsableAtOnce) {
    RecordSet set = test::ChannelsOneTwoFive(2);
    set.records.resize(kRecordCapacity, set.records[1]);
    set.recordCount = kRecordCapacity;
    Build(std::move(set));
    data_->resize(900, 600);
    host_->show();
    data_->scrollToBottom();
    QCoreApplication::processEvents();
    ASSERT_EQ(data_->model()->rowCount(), kRecordCapacity);
    EXPECT_EQ(At(*data_, kRecordCapacity - 1, 0), "270336");
    EXPECT_EQ(data_->verticalScrollBar()->value(), data_->verticalScrollBar()->maximum());
    EXPECT_GT(data_->rowAt(0), kRecordCapacity - 100);
}

TEST_F(ListsHost, TablesAndListsMayGoInEitherOrder) {
    Build(test::ChannelsOneTwoFive(50));
    host_->show();
    QCoreApplication::processEvents();
    delete data_;  // the table first, as when the window's children are deleted in order
    lists_->SwitchF0On(121.0f, 10.0f);
    delete lists_;  // then the lists: the remaining table no longer shows their model
    EXPECT_EQ(statistics_->model(), nullptr);
}

}  // namespace
}  // namespace velorin
