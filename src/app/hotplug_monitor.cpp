// Threading: GUI thread only. The monitor's socket is read by a QSocketNotifier of the thread
// that created the HotplugMonitor, and every signal is emitted there.
#include "app/hotplug_monitor.h"

#include <fcntl.h>
#include <libudev.h>

#include <string_view>

#include <QSocketNotifier>

#include "device/hotplug_event.h"

namespace velorin {

namespace {

// Events handled per wake-up; the rest wait for the next activation of the notifier, so a flood
// of notices cannot hold the GUI thread.
constexpr int kMaxEventsPerWake = 64;

// The "removable" attribute of the disk the device belongs to (the device itself for a disk,
// its parent disk for a partition).
const char* DiskRemovable(udev_device* device) {
    const char* devtype = udev_device_get_devtype(device);
    udev_device* disk = device;
    if (devtype != nullptr && std::string_view(devtype) == "partition") {
        // Owned by `device`; not unreferenced here.
        disk = udev_device_get_parent_with_subsystem_devtype(device, "block", "disk");
    }
    return disk != nullptr ? udev_device_get_sysattr_value(disk, "removable") : nullptr;
}

}  // namespace

HotplugMonitor::HotplugMonitor(QObject* parent) : HotplugSource(parent) {
    udev_ = udev_new();
    if (udev_ == nullptr) return;
    udev_monitor* monitor = udev_monitor_new_from_netlink(udev_, "udev");
    const bool ready = monitor != nullptr &&
                       udev_monitor_filter_add_match_subsystem_devtype(monitor, "block", nullptr) >= 0 &&
                       udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) >= 0 &&
                       udev_monitor_enable_receiving(monitor) >= 0 && udev_monitor_get_fd(monitor) >= 0;
    if (!ready) {
        // No udev (a container, a system without udevd): no notices, and no error either.
        if (monitor != nullptr) udev_monitor_unref(monitor);
        udev_unref(udev_);
        udev_ = nullptr;
        return;
    }
    monitor_ = monitor;
    const int fd = udev_monitor_get_fd(monitor_);
    // Reading must never block the GUI thread.
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { ReadEvents(); });
}

HotplugMonitor::~HotplugMonitor() {
    // The notifier watches the monitor's descriptor: it goes before the descriptor is closed.
    delete notifier_;
    notifier_ = nullptr;
    if (monitor_ != nullptr) udev_monitor_unref(monitor_);
    monitor_ = nullptr;
    if (udev_ != nullptr) udev_unref(udev_);
    udev_ = nullptr;
}

void HotplugMonitor::ReadEvents() {
    for (int i = 0; i < kMaxEventsPerWake; ++i) {
        udev_device* device = udev_monitor_receive_device(monitor_);
        if (device == nullptr) return;
        const char* subsystem = udev_device_get_subsystem(device);
        const bool block = subsystem != nullptr && std::string_view(subsystem) == "block";
        const HotplugVerdict verdict =
            ClassifyHotplugEvent(udev_device_get_action(device), subsystem, udev_device_get_devtype(device),
                                 block ? DiskRemovable(device) : nullptr);
        udev_device_unref(device);
        switch (verdict.notice) {
            case HotplugNotice::VolumeArrived: emit VolumeArrived(verdict.removableMedia); break;
            case HotplugNotice::VolumeRemoved: emit VolumeRemoved(); break;
            case HotplugNotice::HidInterfaceArrived: emit HidInterfaceArrived(); break;
            case HotplugNotice::HidInterfaceRemoved: emit HidInterfaceRemoved(); break;
            case HotplugNotice::None: break;
        }
    }
}

}  // namespace velorin
