// HistoryLists: what a history view shows of its data set besides the curve — the statistics
// list, the data list, the refill of the main window's device-information panel — and F0 mode.
//
// How the view uses it (CDastrelView creates one in its constructor, as its child):
//     HistoryLists::Setup s;
//     s.doc = doc; s.display = display;
//     s.statistics = <statistics table>; s.data = <data-list table>;
//     s.shownRange = [this] { return std::make_pair(firstIndex, endIndex); };
//     auto* lists = new HistoryLists(std::move(s), this);
//     connect(readout, ..., lists, &HistoryLists::ShowSelected);     // "Selected" texts
//     connect(returnButton, ..., lists, &HistoryLists::SwitchF0Off);  // "Return"
//     connect(lists, &HistoryLists::F0Switched, this, ...);  // channel 2's box, colour, axis; repaint
//     lists->Open();                                         // at the view's first showing
//     lists->RangeShown();            // after every drawing: the range figures follow zoom/pan/Range
// The statistics table's context menu (and Ctrl+C on it) copies the range figures as text.
// The main window's "F0 Config" command finds the HistoryLists among the active data window's
// children and calls SwitchF0On (f0_command.h).
//
// The lists are Qt models over the record set (DataListModel, StatisticsModel); their cells are
// formatted when the tables paint them, so there is no filling worker to start, await or stop:
// a rebuild (F0 mode on or off) is one model reset on the GUI thread, and closing the view
// simply deletes the models with their tables.
//
// Threading: GUI thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "device/display_options.h"
#include "device/panel_lines.h"
#include "view/f0.h"

class QTableView;

namespace velorin {

class CDastrelDoc;
class DataListModel;
class StatisticsModel;

class HistoryLists : public QObject {
    Q_OBJECT
public:
    struct Setup {
        std::shared_ptr<CDastrelDoc> doc;
        DisplayOptions display;  // the main window's, taken when the view opens
        QTableView* statistics = nullptr;
        QTableView* data = nullptr;
        // The view's firstIndex and endIndex now.
        std::function<std::pair<int32_t, int32_t>()> shownRange;
        // Shows panel lines; empty: the PropertyPanel of the main window the parent widget lives in.
        std::function<void(const std::vector<PanelLine>&)> fillPanel;
    };

    HistoryLists(Setup setup, QObject* parent);
    ~HistoryLists() override;

    // The view opens: panel refill, both lists over the shown range.
    void Open();
    bool F0On() const { return f0_.On(); }
    DataListModel* DataModel() const { return dataModel_; }
    StatisticsModel* Statistics() const { return statisticsModel_; }

public slots:
    // F0 mode on with the confirmed parameters, over the shown range: false (nothing changed) for
    // a z-value of 0. Emits F0Switched.
    bool SwitchF0On(float referenceTemperature, float zValue);
    // "Return": F0 mode off (channel 2 back as recorded; untouched when F0 mode was not on),
    // panel and lists anew. Emits F0Switched.
    void SwitchF0Off();
    // The pointer readout's texts, one per recorded channel in channel order.
    void ShowSelected(const QStringList& texts);
    // The view's shown range may have changed: the statistics list's range figures follow
    // (nothing is computed when it did not change).
    void RangeShown();
    // Puts the shown range's figures on the clipboard as tab-separated text.
    void CopyRangeStatistics();

signals:
    // After F0 mode was switched: the view sets channel 2's visibility, colour, check box and
    // (when result.extremes.any) its axis range, then repaints.
    void F0Switched(const velorin::F0Switch& result);

private:
    std::pair<int32_t, int32_t> ShownRange() const;
    void Refill();
    void FillPanel();

    Setup setup_;
    // The tables belong to the view and may be deleted before this object.
    QPointer<QTableView> statisticsTable_, dataTable_;
    F0Mode f0_;
    DataListModel* dataModel_ = nullptr;
    StatisticsModel* statisticsModel_ = nullptr;
};

}  // namespace velorin
