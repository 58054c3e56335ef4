// The main frame's command-enable flags: the one place that says which device commands may
// start now. Every action that talks to the logger clears the flags it must keep others from
// using while it runs, and sets them again when it ends.
#pragma once

namespace velorin {

struct CommandFlags {
    int connectEnabled = 1;        // Connect
    int liveEnabled = 0;           // open the live view
    int historyEnabled = 0;        // history download
    int configurationEnabled = 0;  // setup wizard, clock calibration, Stop
    int liveViewOpen = 0;          // close the live view

    // What a successful connection enables.
    void SetDeviceCommands(int value) {
        liveEnabled = value;
        historyEnabled = value;
        configurationEnabled = value;
    }
};

}  // namespace velorin
