// Device notices of the simulated logger: the simulator keeps its USB plug state in a file
// beside its socket (velorin-logger-sim toggles it on SIGUSR1, the demo logger on the same
// signal to the program); this source watches that file and reports unplug as the removal of
// the logger's HID interface and plug as its arrival, so detection, removal and the automatic
// download run exactly as for a real logger.
//
// Threading: GUI thread. The file (a few bytes) is read by a timer of this thread.
#pragma once

#include <string>

#include "app/hotplug_source.h"

class QTimer;

namespace velorin {

class SimulatedHotplugSource : public HotplugSource {
    Q_OBJECT
public:
    // Watches `stateFile`; the state it holds now is the starting point, not a notice.
    explicit SimulatedHotplugSource(std::string stateFile, int intervalMs = 200, QObject* parent = nullptr);
    ~SimulatedHotplugSource() override;

    // The plug state file of the simulator the USB library talks to.
    static std::string DefaultStateFile();
    // Reads the file now (the timer does it every interval).
    void Poll();

private:
    std::string stateFile_;
    int plugged_ = -1;  // -1: no simulator (no file), 0 unplugged, 1 plugged
    QTimer* timer_ = nullptr;
};

// The plug state held in `path`: 1 plugged, 0 unplugged, −1 no readable state.
int ReadSimulatedPlugState(const std::string& path);

}  // namespace velorin
