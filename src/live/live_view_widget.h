// CRealImage: the live view. Every two seconds it asks the logger for the current value of each
// channel, shows the values as numbers, as a scrolling curve per channel and in a small list, and
// reads off an earlier sample under the pointer. Nothing is kept after it closes.
//
// Threading: a GUI-thread widget. The poll's exchange is a LivePoll job of the LinkWorker (one
// poll at a time; a tick that finds one running is skipped) and its result is applied here, on
// the GUI thread, through the job's done call. Opening and closing the port are LiveOpen and
// LiveClose jobs. The channel layout is read from DeviceInfo at every use; while the view lives
// the device commands stay disabled (Hooks::holdLink / released).
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "device/device_info.h"
#include "live/live_health.h"
#include "live/live_samples.h"

class QCheckBox;
class QLabel;
class QTimer;
class QTreeWidget;

namespace velorin {

enum class Language;
class LinkWorker;
class LivePoller;
struct LivePollResult;
struct LiveTexts;

class CRealImage : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void()> holdLink;  // Start: the link is the view's until `released`
        std::function<void()> released;  // destruction: give the link and the commands back
        // The colour chooser (initial colour black); an invalid colour means cancelled.
        std::function<QColor(const QColor& initial)> chooseColour;
    };
    static constexpr int kPollIntervalMs = 2000;

    CRealImage(LinkWorker& worker, const DeviceInfo& info, Language language, Hooks hooks, QWidget* parent = nullptr);
    ~CRealImage() override;

    // The first showing: plot width from the view's width, the serial port opened and kept open,
    // colours, check boxes, statics and list set up, the timer started.
    void Start();

    // Replaces the colour chooser (tests script it).
    void SetColourChooser(std::function<QColor(const QColor&)> chooser) { hooks_.chooseColour = std::move(chooser); }

    // One timer tick (tests call it directly). False when it was skipped because a poll runs.
    bool Tick();
    bool PollInFlight() const;

    // State, for tests and the readout.
    int PlotWidth() const { return plotWidth_; }
    int Capacity() const { return LiveCapacity(plotWidth_); }
    const LiveSeries& Series() const { return *series_; }
    QString ValueText(int channel) const;  // 0-based
    QString LabelText(int channel) const;
    QCheckBox* CurveBox(int channel) const { return curveBox_[channel]; }
    QCheckBox* ScaleBox(int channel) const { return scaleBox_[channel]; }
    QTreeWidget* List() const { return list_; }
    QColor ChannelColour(int channel) const { return colour_[channel]; }
    QColor BackgroundColour() const { return background_; }
    QString StartText() const;
    QString NowText() const;
    QString ReadoutText() const { return readoutText_; }
    // "No reading since hh:mm:ss" while polls bring no reading (drawn under the plot's centre);
    // empty while readings come.
    QString NoReadingText() const;
    const QPixmap& Plot() const { return plot_; }
    int PollsApplied() const { return pollsApplied_; }
    int TicksSkipped() const { return ticksSkipped_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ApplyPoll(const LivePollResult& result, int64_t time);
    void LayoutStatics();
    void LayoutLegendAndList();
    void FillList();
    void DrawPlot();
    void UpdateReadout();
    void SetColours();
    const LiveTexts& Texts() const;

    LinkWorker& worker_;
    const DeviceInfo& info_;
    Language language_;
    Hooks hooks_;
    std::unique_ptr<LiveSeries> series_;  // large fixed buffers: kept off the stack
    LivePoller* poller_ = nullptr;
    QTimer* timer_ = nullptr;
    bool started_ = false;
    bool holdingLink_ = false;

    int plotWidth_ = 800;
    int curveFlag_[kChannelCount] = {};
    int scaleFlag_[kChannelCount] = {};
    QColor colour_[kChannelCount];
    QColor background_{100, 100, 100};
    int pointerX_ = 0, pointerY_ = 0;
    QString readoutText_;
    QPixmap plot_;
    LiveHealth health_;
    int pollsApplied_ = 0;
    int ticksSkipped_ = 0;

    QLabel* label_[kChannelCount] = {};
    QLabel* value_[kChannelCount] = {};
    QCheckBox* curveBox_[kChannelCount] = {};
    QCheckBox* scaleBox_[kChannelCount] = {};
    QTreeWidget* list_ = nullptr;
};

}  // namespace velorin
