#include "analysis/compare_statistics_table.h"

#include <QHeaderView>

#include "analysis/analysis_texts.h"
#include "analysis/clock_time.h"
#include "analysis/compare_axis.h"
#include "analysis/compare_files.h"
#include "analysis/compare_texts.h"
#include "analysis/number_text.h"
#include "analysis/range_statistics.h"
#include "analysis/temperature_marks.h"
#include "common/format.h"
#include "common/text_codec.h"
#include "ui/gui_text.h"

namespace velorin {

namespace {

const QColor kWarmTint(255, 225, 220);
const QColor kColdTint(220, 232, 255);

// "value (YYYY-MM-DD hh:mm:ss)": the figure and the first record holding it.
QString ExtremeText(float value, const RecordTime& time) {
    return QString::fromStdString(ShortestText(value) + "  (" + ClockTimeText(time) + ")");
}

}  // namespace

CompareStatisticsTable::CompareStatisticsTable(std::shared_ptr<const std::vector<CompareFile>> files, Language language,
                                               QWidget* parent)
    : QTableWidget(parent), files_(std::move(files)), language_(language) {
    const AnalysisTexts& a = AnalysisTextsFor(language);
    const CompareTexts& t = CompareTextsFor(language);
    setColumnCount(kColumns);
    setHorizontalHeaderLabels({FromUtf8(t.columnFile), FromUtf8(t.columnChannel), FromUtf8(a.count),
                               FromUtf8(a.missing), FromUtf8(a.min), FromUtf8(a.max), FromUtf8(a.avg), FromUtf8(a.mkt),
                               QString()});
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(kFile, QHeaderView::Stretch);
}

void CompareStatisticsTable::ShowWindow(const TimeWindow& window) {
    const AnalysisTexts& a = AnalysisTextsFor(language_);
    const CompareTexts& t = CompareTextsFor(language_);
    StatisticsRange range;
    range.hasFrom = range.hasTo = true;
    range.from = window.from;
    range.to = window.to;
    std::vector<RangeStatistics> stats;
    for (const CompareFile& f : *files_) stats.push_back(ComputeRangeStatistics(f.set, range));
    const TemperatureMarks marks = MarkWarmestColdest(stats);

    setRowCount(0);
    const QString none = FromUtf8(a.none);
    for (size_t f = 0; f < stats.size(); ++f) {
        for (size_t c = 0; c < stats[f].channels.size(); ++c) {
            const ChannelRangeStatistics& s = stats[f].channels[c];
            const int row = rowCount();
            insertRow(row);
            QString cells[kColumns];
            cells[kFile] = QString::fromStdString((*files_)[f].label);
            cells[kChannel] =
                FromGbk(FormatC(Utf8ToGbk(t.channelLabel).c_str(), s.channel + 1, s.quantity.c_str(), s.unit.c_str()));
            cells[kCount] = QString::number(s.count);
            cells[kMissing] = QString::number(s.missing);
            cells[kMin] = s.HasValues() ? ExtremeText(s.min, s.minTime) : none;
            cells[kMax] = s.HasValues() ? ExtremeText(s.max, s.maxTime) : none;
            cells[kAvg] = s.HasValues() ? QString::fromStdString(FigureText(s.avg)) : none;
            cells[kMkt] = s.hasMkt ? QString::fromStdString(FigureText(s.mkt)) : none;
            const bool warmest =
                marks.warmestFile == static_cast<int>(f) && marks.warmestChannel == static_cast<int>(c);
            const bool coldest =
                marks.coldestFile == static_cast<int>(f) && marks.coldestChannel == static_cast<int>(c);
            if (warmest) cells[kMark] = FromUtf8(a.warmest);
            if (coldest) cells[kMark] = FromUtf8(a.coldest);
            for (int col = 0; col < kColumns; ++col) {
                auto* item = new QTableWidgetItem(cells[col]);
                if (col >= kCount && col <= kMkt) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                if (warmest) item->setBackground(kWarmTint);
                if (coldest) item->setBackground(kColdTint);
                setItem(row, col, item);
            }
        }
    }
}

}  // namespace velorin
