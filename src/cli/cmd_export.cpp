// velorin-cli export: a .kv data file written as a CSV or TXT table.
#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "common/texts.h"
#include "history/kv_file.h"
#include "history/record_set.h"
#include "report/text_export.h"

namespace velorin::cli {

namespace {

constexpr const char* kUsage = "usage: velorin-cli export FILE.kv (--csv OUT | --txt OUT) [--lang en|zh]\n";

const char* ReasonOf(KvReadError error) {
    switch (error) {
        case KvReadError::CannotOpen: return "the file cannot be opened or read";
        case KvReadError::TooManyRecords: return "its record count is out of range (not a data file?)";
        case KvReadError::TextTooLong: return "a unit or quantity text is longer than 20 bytes (not a data file?)";
        case KvReadError::Truncated: return "the file ends before its last field (truncated?)";
        case KvReadError::None: break;
    }
    return "unknown error";
}

}  // namespace

int RunExport(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"csv", "txt", "lang"}, {});
    std::string error = parsed.error;
    const std::string languageName = error.empty() ? LanguageNameFor(parsed, error) : std::string();
    if (error.empty() && parsed.positional.size() != 1) {
        error = parsed.positional.empty() ? "no data file given"
                                          : "unexpected argument " + parsed.positional[1];
    }
    if (error.empty() && parsed.Has("csv") == parsed.Has("txt")) error = "give one of --csv and --txt";
    if (error.empty() && parsed.Value(parsed.Has("csv") ? "csv" : "txt").empty()) {
        error = "the output file name is empty";
    }
    if (!error.empty()) {
        std::fprintf(stderr, "velorin-cli export: %s\n%s", error.c_str(), kUsage);
        return kExitUsage;
    }

    const std::string& input = parsed.positional[0];
    RecordSet set;
    const KvReadResult read = ReadKvFile(input, set);
    if (!read.ok()) {
        std::fprintf(stderr, "velorin-cli export: cannot read %s: %s", input.c_str(), ReasonOf(read.error));
        if (!read.detail.empty()) std::fprintf(stderr, " (%s)", read.detail.c_str());
        std::fputc('\n', stderr);
        return kExitFailed;
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
