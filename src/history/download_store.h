// Turning a finished download into a data file.
//
// Default route: "<executable folder>/xData/<serial number>.kv", read back and exported as
// "<that path>.csv". When the folder next to the executable cannot be created or written, the
// file goes to $XDG_DATA_HOME/Velorin/xData (default ~/.local/share/Velorin/xData) and the result
// says so. Chosen-path route: the file at the path the user chose, quantity names always in
// Chinese, no CSV.
//
// The serial number comes from the logger, so it is made safe before it becomes a file name: it
// can never name a file outside the data folder.
//
// What a download may store (one rule for the GUI and the CLI, PlanStore): a failed count or a
// cancelled download stores nothing, and neither does a failed download that brought no record;
// a complete download replaces the file of the same name (the last complete download of that
// logger); a partial download is stored too, but never over an existing file: when the name is
// taken it goes beside it as "<name>-partial-YYYYMMDD-HHMMSS.kv", so an earlier complete download
// is never lost.
//
// The stored file is read back once; that one record set (what any later reader of the file
// sees) makes the CSV copy and is handed to the caller for the data window.
#pragma once

#include <ctime>
#include <memory>
#include <string>

#include "common/language.h"

namespace velorin {

struct DeviceInfo;
struct DownloadBuffer;
struct DownloadResult;
struct RecordSet;

enum class StorePlan {
    Nothing,   // cancelled, no block count, or failed before the first record
    Complete,  // every block was read: replaces an earlier file of the same name
    Partial,   // failed part-way with records: never replaces an existing file
};
StorePlan PlanStore(const DownloadResult& result);

// Where a download planned as `plan` goes when `path` is its usual name: the name itself, or
// for a partial download whose name is taken the first free "<path without .kv>-partial-
// <local time as YYYYMMDD-HHMMSS>[-N].kv". Empty when no free name was found.
std::string StorePathFor(const std::string& path, StorePlan plan, std::time_t now);

// True when `info` has channel 7 or 8 enabled: a data file keeps the values of channels 1–6
// only, so the user is told at download time that these two are not stored.
bool HasUnstorableChannels(const DeviceInfo& info);

// Copies the records, statistics and averages of `buffer` and the header of `info` into `set`.
// Unit names by unitCode, quantity names by quantityCode in the language `quantityNames`; codes
// without a table entry give an empty text. Channels 7 and 8 are marked as not recorded
// (channelEnabled 0): the file cannot hold their values, and a file that called them recorded
// would read back as zeros measured.
void FillRecordSet(const DownloadBuffer& buffer, const DeviceInfo& info, Language quantityNames, RecordSet& set);

// Name used when the serial number leaves nothing usable.
constexpr const char* kUnnamedDataFile = "unnamed";

// The serial-number text (GBK, up to its NUL) as a file name without extension: '/', '\\',
// control bytes and DEL become '_', every ".." becomes "__"; GBK double-byte characters are kept
// whole (their second byte may be 0x5C). An ordinary serial number is returned unchanged; an
// empty result becomes kUnnamedDataFile.
std::string SafeDataFileName(const std::string& serialText);

// "<executableFolder>/xData".
std::string PrimaryDataFolder(const std::string& executableFolder);
// "$XDG_DATA_HOME/Velorin/xData", with ~/.local/share when XDG_DATA_HOME is unset, empty or not
// an absolute path.
std::string FallbackDataFolder();

struct StoreOptions {
    Language language = Language::Chinese;  // of the quantity names and the CSV copy's texts
    std::string targetPath;                 // not empty: the chosen-path route
    std::string executableFolder;           // empty: the folder of the running executable
    std::time_t now = 0;                    // names a partial download beside an earlier file; 0: now
    bool wantStoredSet = true;              // false: `stored` is only read when the CSV copy needs it
};

struct StoreResult {
    StorePlan plan = StorePlan::Nothing;
    bool ok = false;              // the .kv file was written (never when plan is Nothing)
    std::string kvPath;           // the file written (or the one that could not be)
    std::string keptPath;         // a partial download went beside this earlier file
    std::string folder;           // default route: the data folder used
    bool fallbackFolder = false;  // default route: the folder next to the executable was unusable
    bool csvWritten = false;
    std::string csvPath;
    std::string detail;  // UTF-8: why the .kv file (or, when ok, the CSV) could not be written
    // The stored file as read back (null when nothing was stored or it could not be read).
    std::unique_ptr<RecordSet> stored;

    StoreResult();
    StoreResult(StoreResult&&) noexcept;
    StoreResult& operator=(StoreResult&&) noexcept;
    ~StoreResult();
};

// Stores what `download` brought into `buffer` as PlanStore(download) allows.
StoreResult StoreDownload(const DownloadBuffer& buffer, const DeviceInfo& info, const DownloadResult& download,
                          const StoreOptions& options);

}  // namespace velorin
