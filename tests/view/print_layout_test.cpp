// The printouts' layout in printer units, recorded through a surface that keeps every call.
#include "view/print_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_codec.h"
#include "history/record_set.h"

namespace velorin {
namespace {

struct Call {
    enum Kind { Page, Font, Text, Cell, Frame, Plot } kind = Page;
    int a = 0, b = 0, c = 0, d = 0;  // x, y / left, top, right, bottom / left, top, width, height
    std::string text;
};

class RecordingSurface : public PrintSurface {
public:
    bool BeginPage() override {
        calls.push_back(Call{Call::Page, 0, 0, 0, 0, {}});
        return ++pages <= acceptPages;
    }
    void SetFont(PrintFont font) override { calls.push_back(Call{Call::Font, static_cast<int>(font), 0, 0, 0, {}}); }
    void Text(int x, int y, const std::string& gbk) override { calls.push_back({Call::Text, x, y, 0, 0, gbk}); }
    void CellText(int l, int t, int r, int b, const std::string& gbk) override {
        calls.push_back({Call::Cell, l, t, r, b, gbk});
    }
    void Frame(int l, int t, int r, int b, int pen) override {
        calls.push_back({Call::Frame, l, t, r, b, std::to_string(pen)});
    }
    void Plot(int l, int t, int w, int h) override { calls.push_back(Call{Call::Plot, l, t, w, h, {}}); }

    std::vector<Call> Of(Call::Kind kind) const {
        std::vector<Call> out;
        for (const Call& c : calls) {
            if (c.kind == kind) out.push_back(c);
        }
        return out;
    }
    // The serial-number cells of the rows (column 0 below the heads), with the page they are on.
    std::vector<std::pair<int, Call>> SerialCells() const {
        std::vector<std::pair<int, Call>> out;
        int page = 0;
        for (const Call& c : calls) {
            if (c.kind == Call::Page) ++page;
            if (c.kind == Call::Cell && c.a == 0 && c.text != Utf8ToGbk("序号")) out.push_back({page, c});
        }
        return out;
    }

    std::vector<Call> calls;
    int pages = 0;
    int acceptPages = 1000;
};

RecordSet Set(int records, std::vector<int> channels) {
    RecordSet set;
    set.recordCount = records;
    set.records.resize(static_cast<size_t>(records));
    for (int i = 0; i < records; ++i) {
        SampleRecord& r = set.records[static_cast<size_t>(i)];
        r.year = 26, r.month = 3, r.day = 4, r.hour = 5, r.minute = i % 60, r.second = 7;
        for (int c = 0; c < 8; ++c) r.value[c] = 20.0f + static_cast<float>(i) / 4;
    }
    for (int c : channels) {
        set.channelEnabled[c] = 1;
        SetUnitText(set, c, Utf8ToGbk("℃"));
        SetQuantityText(set, c, Utf8ToGbk("温度"));
        set.maxValue[c] = 30.25f;
        set.minValue[c] = -1.04f;
        set.avgValue[c] = 12.345f;
    }
    StoreInField(set.userName, "Lab 3");
    StoreInField(set.title, "Run 7");
    StoreInField(set.recordModeText, "AutoMode");
    set.intervalHours = 0, set.intervalMinutes = 1, set.intervalSecondsPart = 30;
    return set;
}

const uint8_t kTenths[8] = {0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02};

TEST(PrintSummary, LinesOfTheBlockAndOnePerEnabledChannel) {
    const std::vector<std::string> lines = PrintSummaryLines(Set(3, {0, 2}));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(GbkToUtf8(lines[0]), "用户名:Lab 3    标题：Run 7");
    EXPECT_EQ(GbkToUtf8(lines[1]), "记录次数:3  记录间隔:00:01:30  记录模式:AutoMode");
    EXPECT_EQ(GbkToUtf8(lines[2]), "开始时间:2026-03-04 05:00:07");
    EXPECT_EQ(GbkToUtf8(lines[3]), "结束时间:2026-03-04 05:02:07");
    EXPECT_EQ(GbkToUtf8(lines[4]), "通道1  最大值:30.2  最小值:-1.0  平均值:12.35  通道类型:温度");
    EXPECT_EQ(GbkToUtf8(lines[5]).substr(0, 7), "通道3");

    // A set without records has no times to print; nothing past the records is read.
    const std::vector<std::string> empty = PrintSummaryLines(Set(0, {0}));
    EXPECT_EQ(GbkToUtf8(empty[2]), "开始时间:");
    EXPECT_EQ(GbkToUtf8(empty[3]), "结束时间:");
}

TEST(PrintList, SerialRangesAreCutToTheRecords) {
    const RecordSet set = Set(100, {0});
    struct Case {
        int from, to;
        std::vector<int> serials;
    };
    for (const Case& c :
         {Case{1, 10, {1, 10}}, Case{95, 200, {95, 100}}, Case{100, 200, {100, 100}}, Case{-3, 2, {1, 2}}}) {
        RecordingSurface s;
        ASSERT_EQ(DrawDataList(s, set, kTenths, c.from, c.to, 5100, 6600), ListPrintOutcome::Drawn);
        const auto cells = s.SerialCells();
        ASSERT_FALSE(cells.empty());
        EXPECT_EQ(cells.front().second.text, std::to_string(c.serials[0])) << c.from;
        EXPECT_EQ(cells.back().second.text, std::to_string(c.serials[1])) << c.from;
        EXPECT_EQ(static_cast<int>(cells.size()), c.serials[1] - c.serials[0] + 1) << c.from;
    }
    EXPECT_FALSE(ListRangeAccepted(5, 5));
    EXPECT_FALSE(ListRangeAccepted(6, 5));
    EXPECT_TRUE(ListRangeAccepted(1, 2));
}

TEST(PrintList, NothingInRangeBeginsNoPageAndNoChannelFails) {
    RecordingSurface s;
    EXPECT_EQ(DrawDataList(s, Set(100, {0}), kTenths, 101, 200, 5100, 6600), ListPrintOutcome::NothingToDraw);
    EXPECT_EQ(DrawDataList(s, Set(0, {0}), kTenths, 1, 10, 5100, 6600), ListPrintOutcome::NothingToDraw);
    EXPECT_EQ(DrawDataList(s, Set(10, {}), kTenths, 1, 10, 5100, 6600), ListPrintOutcome::NoChannel);
    EXPECT_TRUE(s.calls.empty());
}

TEST(PrintList, FirstAndLaterPagePositionsOnA6600UnitPage) {
    RecordingSurface s;
    const int pw = 5100;
    ASSERT_EQ(DrawDataList(s, Set(100, {0, 2, 4}), kTenths, 1, 100, pw, 6600), ListPrintOutcome::Drawn);

    const std::vector<Call> texts = s.Of(Call::Text);
    const std::vector<int> ys = {124, 186, 248, 310, 372, 434, 496, 558};
    ASSERT_EQ(texts.size(), ys.size());
    for (size_t i = 0; i < ys.size(); ++i) {
        EXPECT_EQ(texts[i].a, i + 1 < ys.size() ? 100 : 0);
        EXPECT_EQ(texts[i].b, ys[i]) << i;
    }
    EXPECT_EQ(texts.back().text, std::string(139, '-'));

    // Columns: serial PW ÷ 18 wide, then date, time and three channels PW ÷ 6 wide each.
    const std::vector<Call> cells = s.Of(Call::Cell);
    const int c = pw / 6, x0 = c / 3;
    EXPECT_EQ(cells[0].c - cells[0].a, x0);
    for (int col = 1; col < 6; ++col) EXPECT_EQ(cells[col].c - cells[col].a, c) << col;
    EXPECT_EQ(cells[0].b, 620);
    EXPECT_EQ(cells[0].d, 682);
    EXPECT_EQ(GbkToUtf8(cells[3].text), "通道1(℃)  ");
    EXPECT_EQ(GbkToUtf8(cells[5].text), "通道5(℃)  ");
    EXPECT_EQ(cells[6].b, 713) << "first row half a line below the heads";
    EXPECT_EQ(cells[6].d, 775);

    // 93 rows fill the first page (the 93rd reaches PH − 2L = 6476); the second page starts
    // with heads without units from 62 to 124 and its first row from 155 to 217.
    const auto serials = s.SerialCells();
    ASSERT_EQ(serials.size(), 100u);
    EXPECT_EQ(serials[92].first, 1);
    EXPECT_EQ(serials[92].second.d, 6479);
    EXPECT_EQ(serials[93].first, 2);
    EXPECT_EQ(serials[93].second.b, 155);
    EXPECT_EQ(serials[93].second.d, 217);
    EXPECT_EQ(s.pages, 2);
    bool secondPageHeads = false;
    int page = 0;
    for (const Call& call : s.calls) {
        if (call.kind == Call::Page) ++page;
        if (page == 2 && call.kind == Call::Cell && call.b == 62) {
            secondPageHeads = true;
            EXPECT_EQ(call.d, 124);
            EXPECT_EQ(call.text.find('('), std::string::npos) << "no unit on later pages";
        }
    }
    EXPECT_TRUE(secondPageHeads);
}

TEST(PrintList, ExactlyOnePageFullBeginsNoEmptyPage) {
    RecordingSurface s;
    ASSERT_EQ(DrawDataList(s, Set(93, {0, 2, 4}), kTenths, 1, 93, 5100, 6600), ListPrintOutcome::Drawn);
    EXPECT_EQ(s.pages, 1);
    RecordingSurface refused;
    refused.acceptPages = 1;
    EXPECT_EQ(DrawDataList(refused, Set(94, {0, 2, 4}), kTenths, 1, 94, 5100, 6600), ListPrintOutcome::PageRefused);
}

// The row of record 1 with `second` as the value of its second channel (tenths).
std::vector<std::string> PrintedFirstRow(float second) {
    RecordSet set = Set(2, {0, 1});
    set.records[0].value[0] = 25.25f;
    set.records[0].value[1] = second;
    const uint8_t types[8] = {0x22, 0x02};
    RecordingSurface s;
    EXPECT_EQ(DrawDataList(s, set, types, 1, 2, 5000, 6600), ListPrintOutcome::Drawn);
    std::vector<std::string> row;
    for (const Call& c : s.Of(Call::Cell)) {
        if (c.b == 651) row.push_back(c.text);  // two channel lines: heads 558..620, rows from 651
    }
    return row;
}

TEST(PrintList, RowCellsFollowTheChannelTypeAndPrintMissingSamplesAsTheListDoes) {
    std::vector<std::string> row = PrintedFirstRow(kMissingValue2Byte);
    ASSERT_EQ(row.size(), 5u);
    EXPECT_EQ(row[0], "1");
    EXPECT_EQ(row[1], "2026-03-04");
    EXPECT_EQ(row[2], "5:00:07") << "the hour is not padded";
    EXPECT_EQ(row[3], "25.25");
    EXPECT_EQ(row[4], "Error");
    // The 4-byte marker is no "0.0" measurement either; a real 0.0 stays a value.
    row = PrintedFirstRow(kMissingValue4Byte);
    ASSERT_EQ(row.size(), 5u);
    EXPECT_EQ(row[4], "Error");
    row = PrintedFirstRow(0.0f);
    ASSERT_EQ(row.size(), 5u);
    EXPECT_EQ(row[4], "0.0");
}

TEST(PrintCurve, PositionsOnALandscapePage) {
    const int pw = 6600, ph = 5100;  // h = 102
    RecordingSurface none;
    ASSERT_TRUE(DrawCurvePage(none, Set(10, {}), 2, 8, pw, ph));
    std::vector<Call> texts = none.Of(Call::Text);
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0].a, 725);
    EXPECT_EQ(texts[0].b, 204);
    EXPECT_EQ(texts[3].b, 510);
    const Call frame = none.Of(Call::Frame).at(0);
    EXPECT_EQ(frame.a, 825);
    EXPECT_EQ(frame.b, 714) << "7h below the top without channels";
    EXPECT_EQ(frame.c, 5775);
    EXPECT_EQ(frame.d, 4371);
    EXPECT_EQ(frame.text, "10");
    const Call plot = none.Of(Call::Plot).at(0);
    EXPECT_EQ(plot.a, 825 + 33);
    EXPECT_EQ(plot.b, 714 + 25);
    EXPECT_EQ(plot.c, 4950 - 66);
    EXPECT_EQ(plot.d, 4371 - 714 - 51);
    // Date and time of records 2 and 7 under the frame's corners.
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[4].a, 618);
    EXPECT_EQ(texts[4].b, 4391);
    EXPECT_EQ(texts[4].text, "2026-03-04");
    EXPECT_EQ(texts[5].b, 4493);
    EXPECT_EQ(texts[5].text, "05:02:07");
    EXPECT_EQ(texts[6].a, 5568);
    EXPECT_EQ(texts[7].text, "05:07:07");

    RecordingSurface eight;
    ASSERT_TRUE(DrawCurvePage(eight, Set(10, {0, 1, 2, 3, 4, 5, 6, 7}), 0, 10, pw, ph));
    EXPECT_EQ(eight.Of(Call::Text).size(), 4u + 8u + 4u);
    EXPECT_EQ(eight.Of(Call::Frame).at(0).b, 510 + 8 * 102 + 204);
}

TEST(PrintCurve, ARangeWithoutRecordsDrawsNoDates) {
    RecordingSurface s;
    ASSERT_TRUE(DrawCurvePage(s, Set(0, {0}), 0, 0, 6600, 5100));
    EXPECT_EQ(s.Of(Call::Text).size(), 5u);  // four summary lines and one channel line
    RecordingSurface refused;
    refused.acceptPages = 0;
    EXPECT_FALSE(DrawCurvePage(refused, Set(3, {0}), 0, 3, 6600, 5100));
}

}  // namespace
}  // namespace velorin
