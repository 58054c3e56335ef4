// velorin-cli export: a .kv data file written as a CSV or TXT table or as the PDF report.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/cli_command.h"
#include "cli/cli_data_file.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/kvusb_loader.h"
#include "history/kv_file.h"
#include "history/kv_record_stream.h"
#include "history/record_set.h"
#include "report/pdf_report.h"
#include "report/text_export.h"

namespace velorin::cli {

namespace {

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
int WritePdf(RecordSet& set, const std::string& out, Language language, int32_t from, int32_t to) {
    PdfOptions options;
    options.display.language = language;
    options.firstIndex = from;
    options.endIndex = to;
    options.logoPath = ExecutableFolder() + "/logo.png";
    const PdfResult result = ExportPdf(set, out, options);
    for (PdfWarning w : result.warnings) {
        std::fprintf(stderr, "velorin-cli export: %s\n", GbkToUtf8(PdfWarningMessage(result, w, language)).c_str());
    }
    if (!result.ok) {
        std::fprintf(stderr, "velorin-cli export: %s\n", GbkToUtf8(PdfFailureMessage(result)).c_str());
        return kExitFailed;
    }
    std::printf("%s\n", result.path.c_str());
    return kExitOk;
}

}  // namespace

extern const CliCommand kExportCommand = {
    "export", "FILE.kv (--csv OUT | --txt OUT | --pdf OUT) [--encoding gbk|utf-8] [--lang en|zh]\n[--from I] [--to J]",
    "write a data file as a CSV table, a TXT table or the PDF report",
    "  --csv OUT      CSV table (\".csv\" is added when missing)\n"
    "  --txt OUT      TXT table (\".txt\" is added when missing)\n"
    "  --pdf OUT      PDF report: settings, statistics, alarm table and curve, then the data\n"
    "  --encoding gbk|utf-8   the CSV or TXT table's code page: GBK (default; what other\n"
    "                 programs read) or UTF-8 (the same rows; a UTF-8 CSV starts with a BOM)\n"
    "  --lang en|zh   English or Chinese texts (default: Language.ini in the working folder)\n"
    "  --from I, --to J   the PDF report of the records I ... J-1 (0-based; by default from the\n"
    "                 first record to the last)\n"
    "  exit status 0 written, 2 unreadable input or unwritable output, 1 for wrong arguments\n",
    RunExport};

int RunExport(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"csv", "txt", "pdf", "lang", "from", "to", "encoding"}, {});
    std::string error = parsed.error;
    const Language language = error.empty() ? LanguageFor(parsed, error) : Language::Chinese;
    if (error.empty() && parsed.positional.size() != 1) {
        error = parsed.positional.empty() ? "no data file given" : "unexpected argument " + parsed.positional[1];
    }
    const int forms = (parsed.Has("csv") ? 1 : 0) + (parsed.Has("txt") ? 1 : 0) + (parsed.Has("pdf") ? 1 : 0);
    if (error.empty() && forms != 1) error = "give one of --csv, --txt and --pdf";
    const std::string form = parsed.Has("csv") ? "csv" : (parsed.Has("txt") ? "txt" : "pdf");
    if (error.empty() && parsed.Value(form).empty()) error = "the output file name is empty";
    ExportEncoding encoding = ExportEncoding::Gbk;
    if (error.empty() && parsed.Has("encoding")) {
        const std::string name = parsed.Value("encoding");
        if (form == "pdf")
            error = "--encoding applies to --csv and --txt only";
        else if (name == "utf-8" || name == "utf8" || name == "UTF-8")
            encoding = ExportEncoding::Utf8;
        else if (name != "gbk" && name != "GBK")
            error = "--encoding wants gbk or utf-8";
    }
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
        std::fprintf(stderr, "velorin-cli export: %s\n%s", error.c_str(), CommandUsage(kExportCommand).c_str());
        return kExitUsage;
    }

    const std::string& input = parsed.positional[0];
    RecordSet set;
    // The tables stream the records from the file (memory independent of the record count);
    // the report reads them all.
    KvRecordStream stream;
    const KvReadResult read = form == "pdf" ? ReadKvFile(input, set) : stream.Open(input, set);
    if (!ReportDataFileRead("export", input, read)) return kExitFailed;

    if (form == "pdf") {
        // The range must hold at least one of the records that exist.
        const int32_t count = UsableRecordCount(set);
        if (to < 0) to = count;
        if (ranged && (to > count || from >= to)) {
            std::fprintf(stderr, "velorin-cli export: the range %d ... %d is not inside the %d records of %s\n%s", from,
                         to - 1, count, input.c_str(), CommandUsage(kExportCommand).c_str());
            return kExitUsage;
        }
        if (!ranged) to = 0;  // the whole set, even an empty one
        return WritePdf(set, parsed.Value("pdf"), language, from, to);
    }

    // No logger was read, so no channel has a known ChannelType: one decimal everywhere.
    ExportOptions options;
    options.display.language = language;
    options.encoding = encoding;
    const bool csv = parsed.Has("csv");
    const ExportResult result = csv ? ExportCsv(set, stream, parsed.Value("csv"), options)
                                    : ExportTxt(set, stream, parsed.Value("txt"), options);
    if (!result.ok) {
        std::fprintf(stderr, "velorin-cli export: cannot write %s: %s\n", result.path.c_str(), result.detail.c_str());
        return kExitFailed;
    }
    std::printf("%s\n", result.path.c_str());
    return kExitOk;
}

}  // namespace velorin::cli
