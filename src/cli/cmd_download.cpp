// (being written)
#include "cli/commands.h"
#include "cli/cli_options.h"
namespace velorin::cli {
int RunDownload(const std::vector<std::string>&) { return kExitUsage; }
}  // namespace velorin::cli
