// CDastrelView: the history view of one data set. A form with the tab strip "Graph"/"Data", the
// curve plot and its controls, the statistics list under the plot (both tabs) and the data
// list (the "Data" tab).
//
// The curves are drawn only when what they show changes (range, channels, colours, size): a
// drawing takes the scene as it is then and is painted as a DeferredCanvas (straight into the
// window's pixels the first time, no copy of the canvas per drawing). The pointer readout, the
// cursor line and the zoom rectangle are drawn over the kept copy, so pointer moves never redraw
// the curves.
//
// Threading: GUI thread only. The document must not change while the view draws it.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "device/display_options.h"
#include "view/curve_geometry.h"
#include "view/curve_renderer.h"
#include "view/curve_state.h"
#include "view/curve_summary.h"
#include "view/deferred_canvas.h"
#include "view/record_times.h"
#include "view/view_layout.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTabBar;
class QTableView;
class QToolButton;

namespace velorin {

class CDastrelDoc;
class CTimeCho;
class HistoryLists;
class Presenter;
struct CurveTexts;
struct F0Switch;

class CDastrelView : public QWidget {
    Q_OBJECT
public:
    // `display`: the main window's language and the channel types of the DeviceInfo read last
    // (two decimals for a high nibble of 2), taken once, here.
    CDastrelView(std::shared_ptr<CDastrelDoc> doc, const DisplayOptions& display, QWidget* parent = nullptr);
    ~CDastrelView() override;

    const std::shared_ptr<CDastrelDoc>& Document() const { return doc_; }
    Language TextLanguage() const { return display_.language; }
    // The shown range and display state; after changing it call ChannelChanged / Redraw.
    CurveState& State() { return state_; }
    const CurveState& State() const { return state_; }
    int32_t FirstIndex() const { return state_.firstIndex; }
    int32_t EndIndex() const { return state_.endIndex; }
    QColor ChannelColour(int channel) const { return colour_[channel]; }
    void SetChannelColour(int channel, const QColor& colour);
    // Brings the channel's box (enabled, checked) in line with the state and redraws.
    void ChannelChanged(int channel);
    // Draws the canvas anew (range recomputed first when the state asks for it) and shows it:
    // the curves as the state, colours and font are now, whenever they are painted.
    void Redraw();

    // The lists: the statistics list under the plot and the data list of the "Data" tab.
    QTableView* StatisticsList() const { return statistics_; }
    QTableView* DataList() const { return dataList_; }
    // The lists, the panel refill and F0 mode of this view.
    HistoryLists* Lists() const { return lists_; }
    // F0 mode was switched: channel 2's box, colour and value range follow, then a redraw.
    void ApplyF0Switch(const F0Switch& result);

    // The canvas of the last drawing (the kept copy, drawn here if it was not yet); null before
    // the first drawing.
    const QImage& Canvas() { return canvas_.Kept(); }
    // What the canvas is drawn from besides the state: record times and block summaries.
    const RecordTimes& Times() const { return times_; }
    const CurveSummary& Summary() const { return summary_; }
    bool CanvasKept() const { return canvasKept_; }
    double DpiScale() const { return dpiScale_; }
    // Recomputes the layout for another screen scale (the view reads it once when created).
    void SetDpiScale(double scale);

    // The pointer readout as last shown: the record named (−1: none) and the box's text.
    int32_t PointedRecord() const { return pointed_.index; }
    QString ReadoutText() const { return readoutText_; }
    QRect ReadoutBox() const { return readoutBox_; }
    int CursorLineX() const { return cursorViewX_; }

    // Choosers, replaceable for tests: the colour chooser gets the initial colour and returns
    // an invalid colour on Cancel; the range chooser runs the prepared dialog.
    void SetColourChooser(std::function<QColor(const QColor&)> chooser) { colourChooser_ = std::move(chooser); }
    void SetRangeChooser(std::function<bool(CTimeCho&)> chooser) { rangeChooser_ = std::move(chooser); }
    // "Print Curve" and "Print List" print through `presenter` with the channel types
    // `channelTypes` gives at the time of printing (the DeviceInfo read last); until this is set
    // the two buttons print nothing.
    void SetPrinting(Presenter* presenter, std::function<void(uint8_t (&)[8])> channelTypes);

    // The controls, by their role.
    QTabBar* Tabs() const { return tabs_; }
    QCheckBox* ChannelBox(int channel) const { return channelBox_[channel]; }
    QCheckBox* CoordinateBox() const { return coordinate_; }
    QPushButton* AmplificationButton() const { return amplification_; }
    QPushButton* ReturnButton() const { return return_; }
    QPushButton* RangeButton() const { return range_; }
    QToolButton* CompressionButton() const { return compress_; }
    QToolButton* ExpansionButton() const { return expand_; }
    QToolButton* PanButton() const { return pan_; }
    QLabel* FirstTimeLabel() const { return firstTime_; }
    QLabel* LastTimeLabel() const { return lastTime_; }
    // Where the controls and swatches were put by the last layout.
    const ViewLayout& Placement() const { return layout_; }
    QPushButton* PrintCurveButton() const { return printCurve_; }
    QPushButton* PrintListButton() const { return printList_; }

    // The commands, as the controls run them.
    void Amplify();
    void Return();
    void ChooseRange();
    void ShowTab(int index);

signals:
    // The pointer readout: the value of the pointed record for every enabled channel, in
    // channel order ("Error", "%.2f" or "%.1f"), for the statistics list's "Selected" column.
    void SelectedValuesChanged(const QStringList& values);
    // "Return" was pressed; emitted before the whole set is drawn again (F0 mode ends here).
    void Returned();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void Layout();
    ViewLayoutNeeds Needs() const;
    // Places every control at layout_.
    void ApplyLayout();
    void FitStatisticsColumns();
    void UpdateControls();
    void UpdateCursor();
    void Readout(int x, int y);
    void ClearOverlay();
    QRect PlotRect() const;
    // Where the opaque image buttons lie over the plot.
    QRegion ControlsOverPlot() const;
    QRect OverlayRect() const;
    int Scaled(double value) const;

    std::shared_ptr<CDastrelDoc> doc_;
    DisplayOptions display_;
    const CurveTexts& texts_;
    CurveState state_;
    RecordTimes times_;
    CurveSummary summary_;  // of the document's records; channel 2 rebuilt by every F0 switch
    QColor colour_[8];
    QColor swatchColour_[8];  // each swatch's colour when a drawing last asked for it to repaint
    double dpiScale_ = 1.0;
    ViewLayout layout_;
    // The last drawing: its scene, with the state copied as it was then.
    CurveState drawnState_;
    CurveScene drawnScene_;
    DeferredCanvas canvas_;  // drawn from drawnScene_
    bool canvasKept_ = false;

    // Overlay over the kept canvas (view coordinates).
    enum class Overlay { None, Readout, ZoomRectangle };
    Overlay overlay_ = Overlay::None;
    velorin::PointedRecord pointed_;
    int cursorViewX_ = -1;
    QString readoutText_;
    QRect readoutBox_;
    QRect zoomRect_;

    std::function<QColor(const QColor&)> colourChooser_;
    std::function<bool(CTimeCho&)> rangeChooser_;
    Presenter* presenter_ = nullptr;
    std::function<void(uint8_t (&)[8])> printChannelTypes_;

    QTabBar* tabs_ = nullptr;
    QTableView* statistics_ = nullptr;
    QTableView* dataList_ = nullptr;
    QCheckBox* channelBox_[8] = {};
    QCheckBox* coordinate_ = nullptr;
    QPushButton* amplification_ = nullptr;
    QPushButton* return_ = nullptr;
    QPushButton* range_ = nullptr;
    QToolButton* compress_ = nullptr;
    QToolButton* expand_ = nullptr;
    QToolButton* pan_ = nullptr;
    QLabel* firstTime_ = nullptr;
    QLabel* lastTime_ = nullptr;
    QPushButton* printCurve_ = nullptr;
    QPushButton* printList_ = nullptr;
    HistoryLists* lists_ = nullptr;
    bool opened_ = false;
    // Channel 2's visibility and colour as the user had them before F0 mode took it over.
    struct KeptChannel2 {
        bool kept = false;
        int32_t visible = 1;
        QColor colour;
    };
    KeptChannel2 f0Kept_;
};

}  // namespace velorin
