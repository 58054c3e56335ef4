// Device arrival and removal notices from udev, on the GUI thread.
//
// A libudev monitor (subsystems "block" and "hidraw") is read through a QSocketNotifier, so
// the signals arrive on the thread that owns the monitor (the GUI thread). Without udev the
// monitor is inactive and simply never signals.
#pragma once

#include <QObject>

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace velorin {

class HotplugMonitor : public QObject {
    Q_OBJECT
public:
    explicit HotplugMonitor(QObject* parent = nullptr);
    ~HotplugMonitor() override;

    bool Active() const { return monitor_ != nullptr; }

signals:
    // A storage volume appeared; `removableMedia` tells whether it carries removable media
    // (the logger's volume does).
    void VolumeArrived(bool removableMedia);
    void VolumeRemoved();
    void HidInterfaceArrived();
    void HidInterfaceRemoved();

private:
    void ReadEvents();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace velorin
