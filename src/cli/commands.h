// The commands of velorin-cli. Each takes the arguments after its name and returns the exit code.
#pragma once

#include <string>
#include <vector>

namespace velorin::cli {

int RunPorts(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);
int RunDownload(const std::vector<std::string>& args);
int RunExport(const std::vector<std::string>& args);
int RunLive(const std::vector<std::string>& args);
int RunStop(const std::vector<std::string>& args);
int RunSetClock(const std::vector<std::string>& args);
int RunConfigure(const std::vector<std::string>& args);
int RunStats(const std::vector<std::string>& args);
int RunCompare(const std::vector<std::string>& args);

}  // namespace velorin::cli
