// The statistics list as a Qt table model: one row per recorded channel (StatisticsList), plus
// the "Selected" column that the curve's pointer readout writes, and after the whole set's
// columns the figures of the range the view shows (RangeColumn, range_statistics_columns.h),
// recomputed whenever that range changes.
//
// How the view uses it: HistoryLists (history_lists.h) sets it on the view's statistics table
// and forwards the readout's texts to SetSelected. Without HistoryLists a view can also use it
// alone:
//     auto* model = new StatisticsModel(doc, language, table);
//     table->setModel(model); SetUpStatisticsTable(*table);
//     model->SetSelected({"21.50", "Error"});   // one text per row, in channel order
//
// Threading: GUI thread only.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>
#include <string>

#include "view/statistics_list.h"

class QTableView;

namespace velorin {

enum class Language;
class CDastrelDoc;
struct RangeStatistics;
class RangeStatisticsIndex;

class StatisticsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    StatisticsModel(std::shared_ptr<CDastrelDoc> doc, Language language, QObject* parent = nullptr);
    ~StatisticsModel() override;

    // Rows anew from the channels enabled now; the "Selected" column becomes empty.
    void Rebuild();
    // The "Selected" texts, one per row in row order; rows beyond `texts` are emptied.
    void SetSelected(const QStringList& texts);
    const StatisticsList& List() const { return *list_; }
    // The records the view shows, first … end − 1: the range columns anew when it changed. Once
    // the figures have been shown, only the cells whose text changes are reported as changed.
    void SetShownRange(int32_t first, int32_t end);
    const RangeStatistics& ShownRangeStatistics() const { return Range(); }
    // The range figures as tab-separated text (for the clipboard).
    QString ShownRangeText() const;
    // Columns: the whole set's (StatisticsList), then the range's.
    static int FirstRangeColumn();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // The range columns' texts, row by row, formatted when first asked for after a change.
    const std::vector<QString>& RangeTexts() const;

    std::shared_ptr<CDastrelDoc> doc_;
    Language language_;
    std::unique_ptr<StatisticsList> list_;
    QStringList selected_;
    std::unique_ptr<RangeStatistics> range_;
    // The set's whole blocks, built when the range figures are first needed and again after the
    // set's values changed (F0 mode); every zoom and pan then reads a few hundred blocks instead
    // of every record.
    mutable std::unique_ptr<RangeStatisticsIndex> index_;
    mutable bool rangeStale_ = true;
    int32_t rangeFirst_ = 0;
    int32_t rangeEnd_ = -1;
    // The range columns' texts (empty: not formatted since the last change). The table asks for
    // a cell's text at every paint of it, and the next range is compared with them.
    mutable std::vector<QString> rangeTexts_;
    // The figures of the shown range, computed on first use after a change.
    const RangeStatistics& Range() const;
};

// Full-row selection, no grid, no row numbers of Qt's own, the statistics column widths.
void SetUpStatisticsTable(QTableView& table);
void ApplyStatisticsWidths(QTableView& table);

}  // namespace velorin
