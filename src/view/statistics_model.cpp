#include "view/statistics_model.h"

#include <QHeaderView>
#include <QTableView>
#include <utility>
#include <vector>

#include "analysis/analysis_texts.h"
#include "analysis/range_statistics.h"
#include "analysis/range_statistics_columns.h"
#include "analysis/range_statistics_output.h"
#include "history/dastrel_doc.h"
#include "ui/gui_text.h"
#include "view/data_list_model.h"

namespace velorin {

StatisticsModel::StatisticsModel(std::shared_ptr<CDastrelDoc> doc, Language language, QObject* parent)
    : QAbstractTableModel(parent),
      doc_(std::move(doc)),
      language_(language),
      list_(std::make_unique<StatisticsList>(doc_->Set(), language_)),
      range_(std::make_unique<RangeStatistics>()) {}

StatisticsModel::~StatisticsModel() = default;

void StatisticsModel::Rebuild() {
    beginResetModel();
    list_ = std::make_unique<StatisticsList>(doc_->Set(), language_);
    selected_.clear();
    rangeTexts_.clear();
    // F0 mode changes channel 2's values: the range's figures follow.
    index_.reset();
    rangeStale_ = true;
    endResetModel();
}

int StatisticsModel::FirstRangeColumn() { return StatisticsList::ColumnCount(); }

const RangeStatistics& StatisticsModel::Range() const {
    // Computed when first asked for after a change: opening a window sets the range and rebuilds
    // the lists more than once before anything is shown.
    if (rangeStale_) {
        if (!index_) index_ = std::make_unique<RangeStatisticsIndex>(doc_->Set());
        *range_ = index_->Compute(doc_->Set(), rangeFirst_, rangeEnd_);
        rangeStale_ = false;
    }
    return *range_;
}

void StatisticsModel::SetShownRange(int32_t first, int32_t end) {
    if (first == rangeFirst_ && end == rangeEnd_) return;
    if (rangeStale_ || list_->RowCount() == 0) {
        // Nothing computed since the last change (a window opening sets its range more than
        // once before anything is shown): computed when the table first asks.
        rangeFirst_ = first;
        rangeEnd_ = end;
        rangeStale_ = true;
        rangeTexts_.clear();
        if (list_->RowCount() > 0) {
            emit dataChanged(index(0, FirstRangeColumn()), index(list_->RowCount() - 1, columnCount() - 1),
                             {Qt::DisplayRole});
        }
        return;
    }
    // The old range's figures are shown: only the cells whose text changes repaint (a table
    // repaints every cell it is told of, ~30 µs each, and a pan leaves most figures as they were).
    RangeTexts();  // the old range's, formatted if the table has not asked for them yet
    std::vector<QString> before;
    before.swap(rangeTexts_);
    rangeFirst_ = first;
    rangeEnd_ = end;
    rangeStale_ = true;
    const std::vector<QString>& after = RangeTexts();
    size_t k = 0;
    for (int row = 0; row < list_->RowCount(); ++row) {
        for (int column = FirstRangeColumn(); column < columnCount(); ++column, ++k) {
            if (after[k] == before[k]) continue;
            const QModelIndex cell = index(row, column);
            emit dataChanged(cell, cell, {Qt::DisplayRole});
        }
    }
}

const std::vector<QString>& StatisticsModel::RangeTexts() const {
    const size_t cells = static_cast<size_t>(list_->RowCount()) * static_cast<size_t>(kRangeColumnCount);
    if (rangeTexts_.size() != cells) {
        rangeTexts_.clear();
        rangeTexts_.reserve(cells);
        const AnalysisTexts& texts = AnalysisTextsFor(language_);
        for (int row = 0; row < list_->RowCount(); ++row) {
            const int channel = list_->ChannelOfRow(row);
            const ChannelRangeStatistics* stats = nullptr;
            for (const ChannelRangeStatistics& c : Range().channels) {
                if (c.channel == channel) stats = &c;
            }
            for (int column = 0; column < kRangeColumnCount; ++column)
                rangeTexts_.push_back(FromUtf8(RangeColumnCell(stats, column, texts)));
        }
    }
    return rangeTexts_;
}

QString StatisticsModel::ShownRangeText() const {
    return FromUtf8(RangeStatisticsTable(Range(), AnalysisTextsFor(language_)));
}

void StatisticsModel::SetSelected(const QStringList& texts) {
    selected_ = texts.mid(0, list_->RowCount());
    if (list_->RowCount() > 0) {
        emit dataChanged(index(0, StatisticsList::kSelected), index(list_->RowCount() - 1, StatisticsList::kSelected),
                         {Qt::DisplayRole});
    }
}

int StatisticsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : list_->RowCount(); }

int StatisticsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : StatisticsList::ColumnCount() + kRangeColumnCount;
}

QVariant StatisticsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    if (role == Qt::DisplayRole) {
        if (index.column() == StatisticsList::kSelected) return selected_.value(index.row());
        if (index.column() >= FirstRangeColumn()) {
            const size_t k = static_cast<size_t>(index.row()) * static_cast<size_t>(kRangeColumnCount) +
                             static_cast<size_t>(index.column() - FirstRangeColumn());
            const std::vector<QString>& texts = RangeTexts();
            return k < texts.size() ? texts[k] : QString();
        }
        return FromGbk(list_->Cell(index.row(), index.column()));
    }
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
    if (section >= FirstRangeColumn()) {
        return FromUtf8(RangeColumnHeader(section - FirstRangeColumn(), AnalysisTextsFor(language_)));
    }
    return FromGbk(list_->Header(section));
}

void SetUpStatisticsTable(QTableView& table) {
    SetUpListTable(table, false);
    table.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ApplyStatisticsWidths(table);
}

void ApplyStatisticsWidths(QTableView& table) {
    for (int c = 0; c < StatisticsList::ColumnCount(); ++c) table.setColumnWidth(c, StatisticsList::ColumnWidth(c));
    for (int c = 0; c < kRangeColumnCount; ++c) {
        table.setColumnWidth(StatisticsModel::FirstRangeColumn() + c, RangeColumnWidth(c));
    }
}

}  // namespace velorin
