// Which udev events become which device notices.
#include <gtest/gtest.h>

#include "device/hotplug_event.h"

namespace velorin {
namespace {

TEST(HotplugEvent, ClassificationTable) {
    struct Row {
        const char* action;
        const char* subsystem;
        const char* devtype;
        const char* removable;
        HotplugNotice notice;
        bool removableMedia;
    };
    const Row rows[] = {
        {"add", "block", "disk", "1", HotplugNotice::VolumeArrived, true},
        {"add", "block", "disk", "0", HotplugNotice::VolumeArrived, false},
        {"add", "block", "partition", "1", HotplugNotice::VolumeArrived, true},
        {"add", "block", "partition", "1\n", HotplugNotice::VolumeArrived, true},
        {"add", "block", "partition", nullptr, HotplugNotice::VolumeArrived, false},
        {"add", "block", "disk", "10", HotplugNotice::VolumeArrived, false},
        {"remove", "block", "disk", "1", HotplugNotice::VolumeRemoved, false},
        {"remove", "block", "partition", nullptr, HotplugNotice::VolumeRemoved, false},
        {"add", "hidraw", nullptr, nullptr, HotplugNotice::HidInterfaceArrived, false},
        {"remove", "hidraw", nullptr, nullptr, HotplugNotice::HidInterfaceRemoved, false},
        // Media changes, driver binding and other actions are not arrivals or removals.
        {"change", "block", "disk", "1", HotplugNotice::None, false},
        {"bind", "hidraw", nullptr, nullptr, HotplugNotice::None, false},
        {"move", "block", "partition", "1", HotplugNotice::None, false},
        // Block devices that are neither disks nor partitions, other subsystems.
        {"add", "block", nullptr, "1", HotplugNotice::None, false},
        {"add", "block", "loop", "1", HotplugNotice::None, false},
        {"add", "usb", "usb_device", nullptr, HotplugNotice::None, false},
        {"add", "tty", nullptr, nullptr, HotplugNotice::None, false},
        // What udev left out.
        {nullptr, "block", "disk", "1", HotplugNotice::None, false},
        {"add", nullptr, "disk", "1", HotplugNotice::None, false},
        {"", "hidraw", nullptr, nullptr, HotplugNotice::None, false},
        {"ADD", "hidraw", nullptr, nullptr, HotplugNotice::None, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.action ? row.action : "(null)") << " "
                                        << (row.subsystem ? row.subsystem : "(null)") << " "
                                        << (row.devtype ? row.devtype : "(null)"));
        const HotplugVerdict v = ClassifyHotplugEvent(row.action, row.subsystem, row.devtype, row.removable);
        EXPECT_EQ(v.notice, row.notice);
        EXPECT_EQ(v.removableMedia, row.removableMedia);
    }
}

}  // namespace
}  // namespace velorin
