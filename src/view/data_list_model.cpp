#include "view/data_list_model.h"

#include <QHeaderView>
#include <QTableView>

#include "history/dastrel_doc.h"
#include "ui/gui_text.h"
#include "view/plain_text_delegate.h"

namespace velorin {

DataListModel::DataListModel(std::shared_ptr<CDastrelDoc> doc, const DisplayOptions& display, QObject* parent,
                             int32_t firstIndex, int32_t endIndex)
    : QAbstractTableModel(parent), doc_(std::move(doc)), display_(display) {
    list_ = std::make_unique<DataList>(doc_->Set(), display_, firstIndex, endIndex);
}

DataListModel::~DataListModel() = default;

void DataListModel::Rebuild(int32_t firstIndex, int32_t endIndex) {
    beginResetModel();
    list_ = std::make_unique<DataList>(doc_->Set(), display_, firstIndex, endIndex);
    endResetModel();
}

int DataListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : list_->RowCount(); }

int DataListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : list_->ColumnCount(); }

QVariant DataListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    if (role == Qt::DisplayRole) return FromGbk(list_->Cell(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return QVariant();
}

QVariant DataListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
    return FromGbk(list_->Header(section));
}

void SetUpListTable(QTableView& table, bool gridLines) {
    table.setItemDelegate(new PlainTextDelegate(&table));
    table.setShowGrid(gridLines);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setWordWrap(false);
    table.verticalHeader()->hide();
    table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 6);
}

void SetUpDataListTable(QTableView& table) {
    SetUpListTable(table, true);
    table.horizontalHeader()->setDefaultSectionSize(DataList::ColumnWidth(2));
    ApplyDataListWidths(table);
}

void ApplyDataListWidths(QTableView& table) {
    if (table.model() == nullptr) return;
    for (int c = 0; c < table.model()->columnCount(); ++c) table.setColumnWidth(c, DataList::ColumnWidth(c));
}

}  // namespace velorin
