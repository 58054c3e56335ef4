// Device arrival and removal notices from udev, on the GUI thread.
//
// A libudev monitor (subsystems "block" and "hidraw") is read through a QSocketNotifier, so
// the signals arrive on the thread that owns the monitor (the GUI thread). Without udev the
// monitor is inactive and simply never signals.
#pragma once

#include "app/hotplug_source.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace velorin {

class HotplugMonitor : public HotplugSource {
    Q_OBJECT
public:
    explicit HotplugMonitor(QObject* parent = nullptr);
    ~HotplugMonitor() override;

    bool Active() const { return monitor_ != nullptr; }

private:
    void ReadEvents();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace velorin
