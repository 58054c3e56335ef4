// velorin-cli compare: two to 32 .kv data files side by side, lined up by clock time, written as
// a CSV table or as the comparison report (PDF). Exit codes: 0 written; 2 a file cannot be read,
// the range holds no record of any file, or the output cannot be written; 1 for wrong arguments.
#include <cstdio>
#include <string>

#include "analysis/clock_time.h"
#include "analysis/compare_csv.h"
#include "analysis/compare_files.h"
#include "analysis/compare_report.h"
#include "cli/cli_command.h"
#include "cli/cli_data_file.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/kvusb_loader.h"

namespace velorin::cli {

namespace {

int Usage(const std::string& error);

}  // namespace

extern const CliCommand kCompareCommand = {
    "compare",
    "A.kv B.kv ... [--from \"YYYY-MM-DD hh:mm:ss\"] [--to \"YYYY-MM-DD hh:mm:ss\"]\n(--csv OUT | --pdf OUT) [--lang "
    "en|zh]",
    "several data files lined up by clock time, as a CSV table or a PDF report",
    "  2 to 32 data files lined up by the clock time of their records, over --from ... --to\n"
    "  (both included; every record by default).\n"
    "  --csv OUT      one column per file and channel, one row per record time (UTF-8)\n"
    "  --pdf OUT      the comparison report: statistics per file and channel, the curves overlaid\n"
    "  --lang en|zh   English or Chinese texts (default: Language.ini in the working folder)\n"
    "  exit status 0 written, 2 unreadable file or no record in the range, 1 for wrong arguments\n",
    RunCompare};

namespace {
int Usage(const std::string& error) { return UsageError("compare", CommandUsage(kCompareCommand).c_str(), error); }
}  // namespace

int RunCompare(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"from", "to", "csv", "pdf", "lang"}, {"help"});
    if (parsed.error.empty() && parsed.Has("help")) {
        std::fputs(CommandUsage(kCompareCommand).c_str(), stdout);
        return kExitOk;
    }
    std::string error = parsed.error;
    const Language language = error.empty() ? LanguageFor(parsed, error) : Language::Chinese;
    if (!error.empty()) return Usage(error);
    if (parsed.positional.size() < 2) return Usage("give two or more data files");
    if (parsed.positional.size() > static_cast<size_t>(kMaxCompareFiles)) {
        return Usage("at most " + std::to_string(kMaxCompareFiles) + " data files");
    }
    if (parsed.Has("csv") == parsed.Has("pdf")) return Usage("give one of --csv and --pdf");
    const std::string form = parsed.Has("csv") ? "csv" : "pdf";
    if (parsed.Value(form).empty()) return Usage("the output file name is empty");
    TimeOptions times;
    if (!ParseTimeOptions(parsed, times, error)) return Usage(error);

    const CompareLoadResult loaded = LoadCompareFiles(parsed.positional);
    if (!loaded.ok()) {
        const std::string& path = parsed.positional[static_cast<size_t>(loaded.fileIndex < 0 ? 0 : loaded.fileIndex)];
        std::fprintf(stderr, "velorin-cli compare: cannot read %s: %s", path.c_str(),
                     KvReadReason(loaded.readResult.error));
        if (!loaded.readResult.detail.empty()) std::fprintf(stderr, " (%s)", loaded.readResult.detail.c_str());
        std::fputc('\n', stderr);
        return kExitFailed;
    }
    int64_t earliest = 0, latest = 0;
    const bool anyRecord = CompareSpan(loaded.files, earliest, latest);
    const int64_t from = times.hasFrom ? times.from : earliest;
    const int64_t to = times.hasTo ? times.to : latest;
    if (!anyRecord || MergedTimes(loaded.files, from, to).empty()) {
        std::fprintf(stderr, "velorin-cli compare: no record of any file lies in the range %s ... %s\n",
                     ClockTimeText(from).c_str(), ClockTimeText(to).c_str());
        return kExitFailed;
    }

    if (form == "csv") {
        const ExportResult result = ExportCompareCsv(loaded.files, from, to, parsed.Value("csv"));
        if (!result.ok) {
            std::fprintf(stderr, "velorin-cli compare: cannot write %s: %s\n", result.path.c_str(),
                         result.detail.c_str());
            return kExitFailed;
        }
        std::printf("%s\n", result.path.c_str());
        return kExitOk;
    }
    CompareReportOptions options;
    options.language = language;
    options.from = from;
    options.to = to;
    options.logoPath = ExecutableFolder() + "/logo.png";
    const PdfResult result = ExportCompareReport(loaded.files, parsed.Value("pdf"), options);
    for (PdfWarning w : result.warnings) {
        std::fprintf(stderr, "velorin-cli compare: %s\n", GbkToUtf8(PdfWarningMessage(result, w, language)).c_str());
    }
    if (!result.ok) {
        std::fprintf(stderr, "velorin-cli compare: %s\n", GbkToUtf8(PdfFailureMessage(result)).c_str());
        return kExitFailed;
    }
    std::printf("%s\n", result.path.c_str());
    return kExitOk;
}

}  // namespace velorin::cli
