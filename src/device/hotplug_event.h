// Which device notice a udev event stands for. Pure: the strings udev reports in, a verdict out;
// no udev and no Qt, so the rules can be checked without either.
#pragma once

namespace velorin {

enum class HotplugNotice {
    None,           // not an event the shell acts on
    VolumeArrived,  // a disk or partition was added
    VolumeRemoved,  // a disk or partition was removed
    HidInterfaceArrived,
    HidInterfaceRemoved,
};

struct HotplugVerdict {
    HotplugNotice notice = HotplugNotice::None;
    bool removableMedia = false;  // meaningful for VolumeArrived only
};

// `action`, `subsystem` and `devtype` as udev reports them; `diskRemovable` is the sysattr
// "removable" of the disk (the parent disk for a partition). Any argument may be null.
HotplugVerdict ClassifyHotplugEvent(const char* action, const char* subsystem, const char* devtype,
                                    const char* diskRemovable);

}  // namespace velorin
