// velorin-cli export: a .kv data file written as a CSV or TXT table or as the PDF report.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/cli_data_file.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/kvusb_loader.h"
#include "history/kv_file.h"
#include "history/record_set.h"
#include "report/pdf_report.h"
#include "report/text_export.h"

namespace velorin::cli {

namespace {

constexpr const char* kUsage =
    "usage: velorin-cli export FILE.kv (--csv OUT | --txt OUT | --pdf OUT) [--lang en|zh] [--from I] [--to J]\n"
    "       --from/--to: the PDF report of the records I ... J-1 (0-based; by default from the\n"
    "       first record to the last)\n";

// A record index of --from/--to: a whole number from 0 to the record capacity.
bool ParseIndex(const std::string& text, int32_t& value) {
    if (text.empty() || text.size() > 10) return false;
    for (char ch : text) {
        if (ch < '0' || ch > '9') return false;
    }
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (v > kRecordCapacity) return false;
    value = static_cast<int32_t>(v);
    return true;
}

// The PDF report of `set`; its failure message and warnings go to stderr in UTF-8.
int WritePdf(RecordSet& set, const std::string& out, bool english, int32_t from, int32_t to) {
    PdfOptions options;
    options.english = english;
    options.firstIndex = from;
    options.endIndex = to;
    options.logoPath = ExecutableFolder() + "/logo.png";
    const PdfResult result = ExportPdf(set, out, options);
    for (PdfWarning w : result.warnings) {
        std::fprintf(stderr, "velorin-cli export: %s\n", GbkToUtf8(PdfWarningMessage(result, w, english)).c_str());
    }
    if (!result.ok) {
        std::fprintf(stderr, "velorin-cli export: %s\n", GbkToUtf8(PdfFailureMessage(result)).c_str());
        return kExitFailed;
    }
    std::printf("%s\n", result.path.c_str());
    return kExitOk;
}

}  // namespace

int RunExport(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"csv", "txt", "pdf", "lang", "from", "to"}, {});
    std::string error = parsed.error;
    const std::string languageName = error.empty() ? LanguageNameFor(parsed, error) : std::string();
    if (error.empty() && parsed.positional.size() != 1) {
        error = parsed.positional.empty() ? "no data file given"
                                          : "unexpected argument " + parsed.positional[1];
    }
    const int forms = (parsed.Has("csv") ? 1 : 0) + (parsed.Has("txt") ? 1 : 0) + (parsed.Has("pdf") ? 1 : 0);
    if (error.empty() && forms != 1) error = "give one of --csv, --txt and --pdf";
    const std::string form = parsed.Has("csv") ? "csv" : (parsed.Has("txt") ? "txt" : "pdf");
    if (error.empty() && parsed.Value(form).empty()) error = "the output file name is empty";
    int32_t from = 0, to = -1;  // -1: up to the last record
    const bool ranged = parsed.Has("from") || parsed.Has("to");
    if (error.empty() && ranged) {
        if (form != "pdf") {
            error = "--from and --to apply to --pdf only";
        } else if ((parsed.Has("from") && !ParseIndex(parsed.Value("from"), from)) ||
                   (parsed.Has("to") && !ParseIndex(parsed.Value("to"), to))) {
            error = "--from and --to take record numbers from 0 to " + std::to_string(kRecordCapacity);
        } else if (to >= 0 && to <= from) {
            error = "--to must be greater than --from";
        }
    }
    if (!error.empty()) {
        std::fprintf(stderr, "velorin-cli export: %s\n%s", error.c_str(), kUsage);
        return kExitUsage;
    }

    const std::string& input = parsed.positional[0];
    RecordSet set;
    if (!ReadDataFile("export", input, set)) return kExitFailed;

    if (form == "pdf") {
        // The range must hold at least one of the records that exist.
        const int32_t count = UsableRecordCount(set);
        if (to < 0) to = count;
        if (ranged && (to > count || from >= to)) {
            std::fprintf(stderr, "velorin-cli export: the range %d ... %d is not inside the %d records of %s\n%s",
                         from, to - 1, count, input.c_str(), kUsage);
            return kExitUsage;
        }
        if (!ranged) to = 0;  // the whole set, even an empty one
        return WritePdf(set, parsed.Value("pdf"), IsEnglish(languageName), from, to);
    }

    // No logger was read, so no channel has a known ChannelType: one decimal everywhere.
    ExportOptions options;
    options.english = IsEnglish(languageName);
    const bool csv = parsed.Has("csv");
    const ExportResult result = csv ? ExportCsv(set, parsed.Value("csv"), options)
                                    : ExportTxt(set, parsed.Value("txt"), options);
    if (!result.ok) {
        std::fprintf(stderr, "velorin-cli export: cannot write %s: %s\n", result.path.c_str(),
                     result.detail.c_str());
        return kExitFailed;
    }
    std::printf("%s\n", result.path.c_str());
    return kExitOk;
}

}  // namespace velorin::cli
