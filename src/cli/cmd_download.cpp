// velorin-cli download: connect, read the logger's history and store it as a data file.
//
// Without -o the file goes where the program puts every download: "<program folder>/xData/
// <serial number>.kv" (or the user's data folder when that is not writable) with its CSV copy;
// with -o FILE the file is written there (quantity names in Chinese, no CSV), ".kv" appended
// when the name has none.
//
// Exit codes: 0 every block was read and the file stored; 2 the download or the storing failed,
// or the -o target cannot be written (checked before the first request).
// What is stored follows the program's one rule (PlanStore in history/download_store.h): a
// download that failed part-way (a block that never came, more records than a data set holds)
// still stores the records received so far, beside an existing file of that name rather than
// over it, prints the failure text and exits 2. When the block count could not be read, or no
// record came, nothing is stored and any earlier file stays as it was. Ctrl-C cancels cleanly
// before the next block request: nothing is stored, exit 2. 1 for wrong arguments.
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <memory>

#include "cli/cli_command.h"
#include "cli/cli_connect.h"
#include "cli/cli_interrupt.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "cli/commands.h"
#include "common/atomic_file.h"
#include "common/format.h"
#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/connect.h"
#include "device/device_info.h"
#include "device/link.h"
#include "history/block_codec.h"
#include "history/download_engine.h"
#include "history/download_store.h"

namespace velorin::cli {

namespace {

// One line redrawn in place on a terminal; a line per tenth of the way otherwise.
class ProgressBar {
public:
    ProgressBar() : tty_(isatty(STDERR_FILENO) == 1) {}
    ~ProgressBar() { Done(); }

    void Range(int blocks) {
        total_ = blocks;
        if (!tty_) std::fprintf(stderr, "downloading %d blocks\n", blocks);
        Draw(0);
    }
    void Position(int block) { Draw(block); }
    void Done() {
        if (tty_ && drawn_) std::fputc('\n', stderr);
        drawn_ = false;
    }

private:
    void Draw(int block) {
        if (total_ <= 0) return;
        if (tty_) {
            constexpr int kWidth = 40;
            const int filled = static_cast<int>(static_cast<long long>(block) * kWidth / total_);
            std::string bar(static_cast<size_t>(filled), '#');
            bar.append(static_cast<size_t>(kWidth - filled), '.');
            std::fprintf(stderr, "\r[%s] %d/%d blocks", bar.c_str(), block, total_);
            std::fflush(stderr);
            drawn_ = true;
            return;
        }
        const int tenth = static_cast<int>(static_cast<long long>(block) * 10 / total_);
        if (block > 0 && tenth != lastTenth_) {
            std::fprintf(stderr, "block %d/%d\n", block, total_);
            lastTenth_ = tenth;
        }
    }

    bool tty_;
    bool drawn_ = false;
    int total_ = 0;
    int lastTenth_ = 0;
};

// "-o" is the one short option; the parser knows long names only.
std::vector<std::string> WithLongNames(const std::vector<std::string>& args) {
    std::vector<std::string> out = args;
    for (std::string& a : out) {
        if (a == "-o") a = "--output";
    }
    return out;
}

std::string TargetPath(const ParsedArgs& parsed) {
    std::string path = parsed.Value("output");
    if (!path.empty() && path.find(".kv") == std::string::npos) path += ".kv";
    return path;
}

int Store(const DownloadBuffer& buffer, const DeviceInfo& info, const DownloadResult& download, Language language,
          const std::string& target) {
    StoreOptions options;
    options.language = language;
    options.targetPath = target;
    options.wantStoredSet = false;
    const StoreResult stored = StoreDownload(buffer, info, download, options);
    if (stored.plan == StorePlan::Nothing) {
        std::fputs(("velorin-cli download: " + TextsFor(language).downloadNothingStored).c_str(), stderr);
        std::fputc('\n', stderr);
        return kExitFailed;
    }
    if (!stored.ok) {
        std::fprintf(stderr, "velorin-cli download: cannot store %s: %s\n", stored.kvPath.c_str(),
                     stored.detail.c_str());
        return kExitFailed;
    }
    if (stored.fallbackFolder) {
        std::fputs(FormatC(TextsFor(language).storedInFallback.c_str(), stored.folder.c_str()).c_str(), stderr);
        std::fputc('\n', stderr);
    }
    if (HasUnstorableChannels(info)) {
        std::fputs(("velorin-cli download: " + TextsFor(language).channelsNotStorable).c_str(), stderr);
        std::fputc('\n', stderr);
    }
    if (!stored.keptPath.empty()) {
        std::fputs(
            FormatC(TextsFor(language).partialStoredBeside.c_str(), stored.kvPath.c_str(), stored.keptPath.c_str())
                .c_str(),
            stderr);
        std::fputc('\n', stderr);
    }
    std::printf("%s\n", stored.kvPath.c_str());
    if (stored.csvWritten) std::printf("%s\n", stored.csvPath.c_str());
    if (target.empty() && !stored.csvWritten) {
        std::fprintf(stderr, "velorin-cli download: no CSV copy: %s\n", stored.detail.c_str());
    }
    return kExitOk;
}

}  // namespace

extern const CliCommand kDownloadCommand = {
    "download",
    "[--port N | --port PATH | --hid] [-o FILE.kv] [--lang en|zh] [--verbose]",
    "read the logger's whole history into a .kv data file (and its CSV copy)",
    "  -o FILE.kv     store into FILE.kv (\".kv\" is added when missing); without it into\n"
    "                 xData/<serial>.kv beside the program, or $XDG_DATA_HOME/Velorin/xData when\n"
    "                 that folder cannot be written, with a CSV copy beside it\n"
    "  exit status 0 when every block was read and stored, 2 otherwise (a partial history is\n"
    "  still stored), 1 for wrong arguments\n",
    RunDownload,
    true};

int RunDownload(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(WithLongNames(args), {"port", "lang", "output"}, {"hid", "verbose"});
    std::string error = parsed.error;
    LinkChoice choice;
    const Language language = error.empty() ? LanguageFor(parsed, error) : Language::Chinese;
    if (error.empty() && !parsed.positional.empty()) error = "unexpected argument " + parsed.positional[0];
    if (error.empty() && parsed.Has("output") && parsed.Value("output").empty()) error = "-o needs a file name";
    if (error.empty()) ChooseLink(parsed, choice, error);
    if (!error.empty()) {
        std::fprintf(stderr, "velorin-cli download: %s\n%s", error.c_str(), CommandUsage(kDownloadCommand).c_str());
        return kExitUsage;
    }

    // A target that cannot be written is refused before the logger is asked anything: reading a
    // full logger takes minutes, and its records would then have nowhere to go.
    const std::string target = TargetPath(parsed);
    if (!target.empty()) {
        const WriteCheck writable = CheckReplaceable(target);
        if (!writable.ok) {
            std::fprintf(stderr, "velorin-cli download: cannot write %s: %s; nothing was read\n", target.c_str(),
                         writable.detail.c_str());
            return kExitFailed;
        }
    }

    TerminalMessages messages(parsed.Has("verbose"));
    Link& link = ProcessLink();
    DeviceInfo info;
    ConnectResult connected;
    if (!ConnectForExchange(link, choice, language, info, messages, &connected)) return kExitFailed;
    if (connected.outcome == ConnectOutcome::SerialWithoutIdentity) {
        // Without the channel settings the records cannot be decoded.
        std::fprintf(stderr, "velorin-cli download: the logger did not report its identity and channels\n");
        return kExitFailed;
    }

    auto buffer = std::make_unique<DownloadBuffer>();
    DownloadResult result;
    {
        ProgressBar progress;
        DownloadHooks hooks;
        hooks.messages = &messages;
        hooks.setRange = [&progress](int blocks) { progress.Range(blocks); };
        hooks.setPosition = [&progress](int block) { progress.Position(block); };
        InterruptCancels interrupt(hooks.cancelRequested);
        result = velorin::RunDownload(link, info, *buffer, hooks, language);
        result.cancelled = result.cancelled || hooks.cancelRequested.load();
    }
    link.CloseHidHandle();

    if (result.cancelled) {
        std::fputs("velorin-cli download: cancelled, nothing stored\n", stderr);
        return kExitFailed;
    }
    for (const DownloadWarning& w : result.warnings) {
        messages.MessageBox(Utf8ToGbk(w.text), std::string(), MessageIcon::None);
    }

    const int stored = Store(*buffer, info, result, language, target);
    if (stored != kExitOk) return stored;
    return result.finished && result.warnings.empty() ? kExitOk : kExitFailed;
}

}  // namespace velorin::cli
