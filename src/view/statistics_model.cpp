#include "view/statistics_model.h"

#include <QHeaderView>
#include <QTableView>

#include "app/gui_text.h"
#include "history/dastrel_doc.h"
#include "view/data_list_model.h"

namespace velorin {

StatisticsModel::StatisticsModel(std::shared_ptr<CDastrelDoc> doc, bool english, QObject* parent)
    : QAbstractTableModel(parent),
      doc_(std::move(doc)),
      english_(english),
      list_(std::make_unique<StatisticsList>(doc_->Set(), english_)) {}

StatisticsModel::~StatisticsModel() = default;

void StatisticsModel::Rebuild() {
    beginResetModel();
    list_ = std::make_unique<StatisticsList>(doc_->Set(), english_);
    selected_.clear();
    endResetModel();
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
    return parent.isValid() ? 0 : StatisticsList::ColumnCount();
}

QVariant StatisticsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    if (role == Qt::DisplayRole) {
        if (index.column() == StatisticsList::kSelected) return selected_.value(index.row());
        return FromGbk(list_->Cell(index.row(), index.column()));
    }
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
    return FromGbk(list_->Header(section));
}

void SetUpStatisticsTable(QTableView& table) {
    SetUpListTable(table, false);
    table.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ApplyStatisticsWidths(table);
}

void ApplyStatisticsWidths(QTableView& table) {
    for (int c = 0; c < StatisticsList::ColumnCount(); ++c) table.setColumnWidth(c, StatisticsList::ColumnWidth(c));
}

}  // namespace velorin
