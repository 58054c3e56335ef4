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
#pragma once

#include <string>

namespace velorin {

struct DeviceInfo;
struct DownloadBuffer;
struct RecordSet;

// Copies the records, statistics and averages of `buffer` and the header of `info` into `set`.
// Unit names by unitCode, quantity names by quantityCode (English column when
// `englishQuantityNames`); codes without a table entry give an empty text.
void FillRecordSet(const DownloadBuffer& buffer, const DeviceInfo& info, bool englishQuantityNames,
                   RecordSet& set);

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
    std::string languageName;      // "English" selects English quantity names and CSV texts
    std::string targetPath;        // not empty: the chosen-path route
    std::string executableFolder;  // empty: the folder of the running executable
};

struct StoreResult {
    bool ok = false;              // the .kv file was written
    std::string kvPath;           // the file written (or the one that could not be)
    std::string folder;           // default route: the data folder used
    bool fallbackFolder = false;  // default route: the folder next to the executable was unusable
    bool csvWritten = false;
    std::string csvPath;
    std::string detail;     // UTF-8: why the .kv file (or, when ok, the CSV) could not be written
};

StoreResult StoreDownload(const DownloadBuffer& buffer, const DeviceInfo& info,
                          const StoreOptions& options);

}  // namespace velorin
