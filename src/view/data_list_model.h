// The data list as a Qt table model over a document's record set. Cells are formatted by the
// core's DataList when the view asks for them. GUI thread only; the document must not change
// while the model shows it (F0 mode resets the model).
#pragma once

#include <QAbstractTableModel>
#include <memory>

#include "view/data_list.h"

namespace velorin {

class CDastrelDoc;

class DataListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataListModel(std::shared_ptr<CDastrelDoc> doc, bool english, const uint8_t (&channelType)[8],
                  QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::shared_ptr<CDastrelDoc> doc_;
    DataList list_;
};

}  // namespace velorin
