#include "view/data_list_model.h"

#include "app/gui_text.h"
#include "history/dastrel_doc.h"

namespace velorin {

DataListModel::DataListModel(std::shared_ptr<CDastrelDoc> doc, bool english, const uint8_t (&channelType)[8],
                             QObject* parent)
    : QAbstractTableModel(parent), doc_(std::move(doc)), list_(doc_->Set(), english, channelType) {}

int DataListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : list_.RowCount(); }

int DataListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.ColumnCount();
}

QVariant DataListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    if (role == Qt::DisplayRole) return FromGbk(list_.Cell(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return QVariant();
}

QVariant DataListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
    return FromGbk(list_.Header(section));
}

}  // namespace velorin
