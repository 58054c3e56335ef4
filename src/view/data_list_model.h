// The data list as a Qt table model over a document's record set: exactly the rows the list
// shows (records firstIndex … endIndex, numbered from 1), with cells formatted by the core's
// DataList only when the table asks for them, so 270,336 rows are usable at once without being
// filled one by one.
//
// How the view uses it: HistoryLists (history_lists.h) sets it on the view's data-list table and
// rebuilds it when F0 mode is switched on or off; SetUpDataListTable gives a table the list's
// look (grid, full rows, fixed row height, column widths).
//
// Threading: GUI thread only. The document must not change while the model shows it except
// through Rebuild (F0 mode rebuilds the model after changing channel 2).
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <limits>
#include <memory>

#include "view/data_list.h"

class QTableView;

namespace velorin {

class CDastrelDoc;

class DataListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataListModel(std::shared_ptr<CDastrelDoc> doc, const DisplayOptions& display, QObject* parent = nullptr,
                  int32_t firstIndex = 0, int32_t endIndex = std::numeric_limits<int32_t>::max());
    ~DataListModel() override;

    // Shows records firstIndex … endIndex anew, with the channels enabled now.
    void Rebuild(int32_t firstIndex, int32_t endIndex);
    const DataList& List() const { return *list_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::shared_ptr<CDastrelDoc> doc_;
    DisplayOptions display_;
    std::unique_ptr<DataList> list_;
};

// What both lists of the view share: full-row selection, no row numbers of Qt's own, one fixed
// row height (so that a long list never measures its rows), grid lines on request, cells of
// plain text painted by PlainTextDelegate.
void SetUpListTable(QTableView& table, bool gridLines);
// Grid lines, full-row selection, no row numbers of Qt's own, one fixed row height (so that a
// long list never measures its rows) and the column widths of the data list.
void SetUpDataListTable(QTableView& table);
// The column widths again, after the model was set or rebuilt.
void ApplyDataListWidths(QTableView& table);

}  // namespace velorin
