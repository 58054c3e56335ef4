// Running the real programs from end-to-end tests: velorin-cli as a child process with its
// output captured, and velorin-logger-sim as a background process that is stopped at the end.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace velorin::e2e {

// Folder of the built programs ($VELORIN_BIN_DIR, set by the test registration).
std::string BinDir();

struct RunResult {
    int exitCode = -1;  // -1: killed after the time-out
    std::string out;
    std::string err;
    double seconds = 0;
};

// Runs `program` (a name in BinDir() or a path) with `args`, extra environment entries
// "NAME=value" and the working directory `cwd` (empty: unchanged). Killed after `timeoutSeconds`;
// sent SIGINT (Ctrl-C) after `interruptSeconds` when that is positive.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {}, const std::string& cwd = std::string(),
                     double timeoutSeconds = 60, double interruptSeconds = -1);

// velorin-logger-sim in the background.
class Simulator {
public:
    // Starts it with `args` (the port folder and COM number are the caller's to pass) and waits
    // for the device path on its first output line.
    explicit Simulator(const std::vector<std::string>& args);
    ~Simulator();  // SIGTERM, then waits
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    bool Ok() const { return pid_ > 0 && !devicePath_.empty(); }
    const std::string& DevicePath() const { return devicePath_; }
    // Sends SIGUSR1 (plugs or unplugs the simulated USB device).
    void ToggleUsb();

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string devicePath_;
};

// Lines of a text file (empty when it cannot be read).
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace velorin::e2e
