// velorin-cli: the headless interface to the logger and to data files.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/commands.h"

namespace {

constexpr const char* kUsage =
    "usage: velorin-cli COMMAND [options]\n"
    "commands:\n"
    "  ports                                   list the serial ports Connect walks\n"
    "  info [--port N|PATH | --hid] [--lang en|zh] [--verbose]\n"
    "                                          connect and print the logger's attributes\n"
    "  download [--port N|PATH | --hid] [-o FILE.kv] [--lang en|zh]\n"
    "                                          read the logger's history into a .kv file\n"
    "  export FILE.kv (--csv OUT | --txt OUT) [--lang en|zh]\n"
    "                                          write a data file as a CSV or TXT table\n"
    "  live [--port N|PATH | --hid] [--count K] [--lang en|zh]\n"
    "                                          print the current readings every 2 s\n"
    "  stop [--port N|PATH | --hid]            stop the logger's recording\n"
    "  set-clock [--time \"YYYY-MM-DD hh:mm:ss\"] --yes [--port N|PATH | --hid]\n"
    "                                          clear the records and set the logger's clock\n"
    "  configure [options] --yes [--port N|PATH | --hid]\n"
    "                                          write settings and restart (configure --help)\n"
    "  stats FILE.kv [--from T] [--to T] [--json] [--lang en|zh]\n"
    "                                          statistics of a time range of a data file\n"
    "  compare A.kv B.kv ... [--from T] [--to T] (--csv OUT | --pdf OUT) [--lang en|zh]\n"
    "                                          several data files side by side, by clock time\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? velorin::cli::kExitUsage : velorin::cli::kExitOk;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "ports") return velorin::cli::RunPorts(args);
    if (command == "info") return velorin::cli::RunInfo(args);
    if (command == "download") return velorin::cli::RunDownload(args);
    if (command == "export") return velorin::cli::RunExport(args);
    if (command == "live") return velorin::cli::RunLive(args);
    if (command == "stop") return velorin::cli::RunStop(args);
    if (command == "set-clock") return velorin::cli::RunSetClock(args);
    if (command == "configure") return velorin::cli::RunConfigure(args);
    if (command == "stats") return velorin::cli::RunStats(args);
    if (command == "compare") return velorin::cli::RunCompare(args);
    std::fprintf(stderr, "velorin-cli: unknown command '%s'\n%s", command.c_str(), kUsage);
    return velorin::cli::kExitUsage;
}
