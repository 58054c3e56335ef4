// A simulated logger in a private port folder, and velorin-cli run against it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e/process.h"
#include "support/temp_dir.h"

namespace velorin::e2e {

class CliAgainstSimulator : public ::testing::Test {
protected:
    // The fixed start time keeps the panel text the same from run to run.
    static constexpr const char* kStart = "2026-01-02 03:04:05";

    // Starts the simulator as COM<com> with `extra` options and a request log.
    void StartSimulator(const std::vector<std::string>& extra = {}, int com = 3) {
        std::vector<std::string> args = {"--port-dir", dir_.Path(), "--com", std::to_string(com),
                                         "--start",    kStart,      "--log", LogPath()};
        args.insert(args.end(), extra.begin(), extra.end());
        sims_.push_back(std::make_unique<Simulator>(args));
        ASSERT_TRUE(sims_.back()->Ok()) << "the simulator did not start";
    }

    // velorin-cli with the port folder, the simulated USB link and a clean working directory;
    // Ctrl-C after `interruptSeconds` when that is positive.
    RunResult Cli(const std::vector<std::string>& args, std::vector<std::string> env = {},
                  double interruptSeconds = -1) {
        env.push_back("VELORIN_PORT_DIR=" + dir_.Path());
        bool kvusbGiven = false;
        for (const std::string& e : env) kvusbGiven = kvusbGiven || e.rfind("VELORIN_KVUSB=", 0) == 0;
        if (!kvusbGiven) env.push_back("VELORIN_KVUSB=" + BinDir() + "/libkvusb-sim.so");
        return RunProgram("velorin-cli", args, env, Workdir(), 60, interruptSeconds);
    }

    std::string LogPath() const { return dir_.Path() + "/requests.log"; }
    std::string Workdir() const { return work_.Path(); }

    // How many requests with this command (e.g. "0x01") the simulator logged.
    size_t Logged(const std::string& command) const {
        size_t n = 0;
        for (const std::string& line : ReadLines(LogPath())) n += line.rfind(command + " ", 0) == 0;
        return n;
    }

    velorin::test::TempDir dir_;
    velorin::test::TempDir work_;
    std::vector<std::unique_ptr<Simulator>> sims_;
};

}  // namespace velorin::e2e
