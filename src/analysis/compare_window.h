// The comparison window: the curves of several data files overlaid on one clock-time axis (the
// CompareCanvas), the zoom, pan and range controls of the history view, and under the plot a
// legend that is also the readout: one row per file and channel with its colour and line style,
// a box to show or hide it, its value at the pointer's time, at both cursors and the difference
// between them. A line above the legend gives the pointer's and the cursors' times and Δt. A
// second tab holds the range statistics of the shown window per file and channel.
//
// Colours: one per file (a table of 16, then evenly spread hues); line styles: one per channel
// number (CH1 solid, CH2 dashed, CH3 dotted, CH4 long dashes, then again).
//
// Threading: GUI thread only; the files are read-only while the window exists.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "view/stroke_raster.h"

class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;

namespace velorin {

enum class Language;
class CTimeCho;
class CompareCanvas;
class CompareStatisticsTable;
struct CompareFile;
struct CompareTexts;
struct CurveTexts;

QColor FileColour(int file);
LineStyle ChannelStyle(int channel);

class CompareWindow : public QWidget {
    Q_OBJECT
public:
    CompareWindow(std::shared_ptr<const std::vector<CompareFile>> files, Language language, QWidget* parent = nullptr);

    CompareCanvas* Canvas() const { return canvas_; }
    // One row per curve, in the canvas's curve order.
    QTreeWidget* Legend() const { return legend_; }
    QTabWidget* Tabs() const { return tabs_; }
    QString InfoText() const;
    // The statistics tab's table; RefreshStatistics computes it for the shown window now.
    CompareStatisticsTable* Statistics() const { return statistics_; }
    void RefreshStatistics();
    QPushButton* AmplificationButton() const { return amplification_; }
    QPushButton* ReturnButton() const { return return_; }
    QPushButton* RangeButton() const { return range_; }
    QToolButton* PanButton() const { return pan_; }

    // The range chooser, replaceable for tests: runs the prepared dialog, true on OK.
    void SetRangeChooser(std::function<bool(CTimeCho&)> chooser) { rangeChooser_ = std::move(chooser); }
    void ChooseRange();

    // Columns of the legend.
    enum Column { kFileColumn, kChannelColumn, kPointerColumn, kCursor1Column, kCursor2Column, kDeltaColumn };

private:
    void BuildLegend();
    // The value columns' widths: wide enough for any text they can show.
    void FitValueColumns();
    void ShowPointer(qint64 t);
    void ClearPointer();
    void ShowCursors();
    void UpdateInfo();
    void UpdateButtons();
    QString SampleText(int curve, int64_t t, bool* has, float* value) const;

    std::shared_ptr<const std::vector<CompareFile>> files_;
    Language language_;
    const CompareTexts& texts_;
    const CurveTexts& curveTexts_;
    CompareCanvas* canvas_ = nullptr;
    QTreeWidget* legend_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLabel* info_ = nullptr;
    QPushButton* amplification_ = nullptr;
    QPushButton* return_ = nullptr;
    QPushButton* range_ = nullptr;
    QToolButton* pan_ = nullptr;
    QPushButton* clearCursors_ = nullptr;
    QLabel* statsRange_ = nullptr;
    CompareStatisticsTable* statistics_ = nullptr;
    QTimer* statisticsTimer_ = nullptr;
    bool statisticsStale_ = true;
    bool hasPointer_ = false;
    int64_t pointer_ = 0;
    std::function<bool(CTimeCho&)> rangeChooser_;
};

}  // namespace velorin
