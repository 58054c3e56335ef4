// velorin-cli stats: the statistics of a time range of a .kv data file, as text for people or
// as one JSON object. Exit codes: 0 printed; 2 the file cannot be read or the range holds no
// record; 1 for wrong arguments (a time that is not "YYYY-MM-DD hh:mm:ss", --to before --from).
#include <cstdio>
#include <string>

#include "analysis/analysis_texts.h"
#include "analysis/clock_time.h"
#include "analysis/range_statistics.h"
#include "analysis/range_statistics_output.h"
#include "cli/cli_command.h"
#include "cli/cli_data_file.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "history/record_set.h"

namespace velorin::cli {

namespace {

int Usage(const std::string& error);

}  // namespace

extern const CliCommand kStatsCommand = {
    "stats", "FILE.kv [--from \"YYYY-MM-DD hh:mm:ss\"] [--to \"YYYY-MM-DD hh:mm:ss\"] [--json]\n[--lang en|zh]",
    "statistics of a time range of a data file, as text or JSON",
    "  per enabled channel: valid and missing samples, MIN and MAX with their times, average,\n"
    "  mean kinetic temperature (temperature channels), time above/below the alarm limits and\n"
    "  the first crossing of each, over the records from --from to --to (both included; the\n"
    "  whole file by default).\n"
    "  --json         one JSON object (UTF-8)\n"
    "  --lang en|zh   English or Chinese texts (default: Language.ini in the working folder)\n"
    "  exit status 0 printed, 2 unreadable file or no record in the range, 1 for wrong arguments\n",
    RunStats};

namespace {
int Usage(const std::string& error) { return UsageError("stats", CommandUsage(kStatsCommand).c_str(), error); }
}  // namespace

int RunStats(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"from", "to", "lang"}, {"json", "help"});
    if (parsed.error.empty() && parsed.Has("help")) {
        std::fputs(CommandUsage(kStatsCommand).c_str(), stdout);
        return kExitOk;
    }
    std::string error = parsed.error;
    const Language language = error.empty() ? LanguageFor(parsed, error) : Language::Chinese;
    if (!error.empty()) return Usage(error);
    if (parsed.positional.size() != 1) {
        return Usage(parsed.positional.empty() ? "no data file given" : "unexpected argument " + parsed.positional[1]);
    }
    TimeOptions times;
    if (!ParseTimeOptions(parsed, times, error)) return Usage(error);
    StatisticsRange range;
    range.hasFrom = times.hasFrom;
    range.from = times.from;
    range.hasTo = times.hasTo;
    range.to = times.to;

    const std::string& input = parsed.positional[0];
    RecordSet set;
    if (!ReadDataFile("stats", input, set)) return kExitFailed;
    const RangeStatistics stats = ComputeRangeStatistics(set, range);
    if (stats.Empty()) {
        std::fprintf(stderr, "velorin-cli stats: no record of %s lies in the range %s ... %s\n", input.c_str(),
                     range.hasFrom ? ClockTimeText(range.from).c_str() : "(first)",
                     range.hasTo ? ClockTimeText(range.to).c_str() : "(last)");
        return kExitFailed;
    }
    if (parsed.Has("json")) {
        const std::string json = RangeStatisticsJson(input, set, stats);
        std::printf("%s\n", json.c_str());
    } else {
        PrintGbk(stdout, RangeStatisticsText(Utf8ToGbk(input), set, stats, AnalysisTextsFor(language)));
    }
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace velorin::cli
