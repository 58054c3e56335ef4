#include "history/download_store.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/display_options.h"
#include "device/kvusb_loader.h"
#include "device/name_tables.h"
#include "history/block_codec.h"
#include "history/download_engine.h"
#include "history/kv_file.h"
#include "history/record_set.h"
#include "report/text_export.h"

namespace velorin {

namespace {

template <size_t N, size_t M>
void CopyField(char (&to)[N], const char (&from)[M]) {
    static_assert(N == M, "the data set keeps the device's text fields at their width");
    std::memcpy(to, from, N);
}

bool IsGbkLead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }
bool IsGbkTrail(uint8_t b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Creates `path` and, when `parents`, every missing folder above it.
bool EnsureFolder(const std::string& path, bool parents) {
    if (IsFolder(path)) return true;
    if (parents) {
        const size_t slash = path.rfind('/');
        if (slash != std::string::npos && slash > 0 && !EnsureFolder(path.substr(0, slash), true)) {
            return false;
        }
    }
    return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && IsFolder(path));
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    const passwd* pw = getpwuid(getuid());
    return pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "/tmp";
}

ExportOptions CsvOptions(const DeviceInfo& info, Language language) {
    ExportOptions options;
    options.display = DisplayOptionsOf(info, language);
    return options;
}

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// Writes `set` at `path`, or beside it when the plan forbids replacing what is there.
bool WriteAt(const std::string& path, const RecordSet& set, std::time_t now, StoreResult& result) {
    result.kvPath = StorePathFor(path, result.plan, now);
    if (result.kvPath.empty()) {
        result.kvPath = path;
        result.detail = "no free name beside " + path;
        return false;
    }
    if (result.kvPath != path) result.keptPath = path;
    const KvWriteResult written = WriteKvFile(result.kvPath, set);
    if (!written.ok) result.detail = written.detail;
    return written.ok;
}

// Writes the default route's .kv in `folder`; false when the folder is unusable or the write fails.
bool WriteIn(const std::string& folder, bool parents, const std::string& name, const RecordSet& set, std::time_t now,
             StoreResult& result) {
    result.folder = folder;
    result.kvPath = folder + "/" + name + ".kv";
    result.keptPath.clear();
    if (!EnsureFolder(folder, parents)) {
        result.detail = "cannot create the folder " + folder + ": " + std::strerror(errno);
        return false;
    }
    return WriteAt(folder + "/" + name + ".kv", set, now, result);
}

// Reads the stored file back once: the data window and the CSV copy show what the file holds,
// as any later reader of it would.
void ReadBack(StoreResult& result) {
    auto set = std::make_unique<RecordSet>();
    const KvReadResult read = ReadKvFile(result.kvPath, *set);
    if (!read.ok()) {
        result.detail = read.detail;
        return;
    }
    result.stored = std::move(set);
}

void ExportCopy(const DeviceInfo& info, Language language, StoreResult& result) {
    if (!result.stored) return;
    const ExportResult exported = ExportCsv(*result.stored, result.kvPath + ".csv", CsvOptions(info, language));
    result.csvPath = exported.path;
    result.csvWritten = exported.ok;
    if (!exported.ok) result.detail = exported.detail;
}

std::string PartialStamp(std::time_t now) {
    std::tm local = {};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return stamp;
}

}  // namespace

StoreResult::StoreResult() = default;
StoreResult::StoreResult(StoreResult&&) noexcept = default;
StoreResult& StoreResult::operator=(StoreResult&&) noexcept = default;
StoreResult::~StoreResult() = default;

bool HasUnstorableChannels(const DeviceInfo& info) {
    for (int c = kStoredValueChannels; c < kRecordSetChannels; ++c) {
        if (info.channel[c].channelEnabled == 1) return true;
    }
    return false;
}

StorePlan PlanStore(const DownloadResult& result) {
    if (result.cancelled || result.Has(DownloadWarningKind::CountFailed)) return StorePlan::Nothing;
    if (result.finished && result.warnings.empty()) return StorePlan::Complete;
    return result.records > 0 ? StorePlan::Partial : StorePlan::Nothing;
}

std::string StorePathFor(const std::string& path, StorePlan plan, std::time_t now) {
    if (plan != StorePlan::Partial || !Exists(path)) return path;
    static const std::string kExtension = ".kv";
    const bool endsKv = path.size() > kExtension.size() &&
                        path.compare(path.size() - kExtension.size(), kExtension.size(), kExtension) == 0;
    const std::string stem = endsKv ? path.substr(0, path.size() - kExtension.size()) : path;
    const std::string base = stem + "-partial-" + PartialStamp(now);
    // Two partial downloads within one second get numbered names; the bound keeps a folder full
    // of such names from turning into a long search.
    for (int n = 1; n <= 100; ++n) {
        const std::string candidate = (n == 1 ? base : base + "-" + std::to_string(n)) + kExtension;
        if (!Exists(candidate)) return candidate;
    }
    return std::string();
}

void FillRecordSet(const DownloadBuffer& buffer, const DeviceInfo& info, Language quantityNames, RecordSet& set) {
    const int32_t n = buffer.recordCount < 0                 ? 0
                      : buffer.recordCount > kRecordCapacity ? kRecordCapacity
                                                             : buffer.recordCount;
    const size_t count =
        static_cast<size_t>(n) < buffer.records.size() ? static_cast<size_t>(n) : buffer.records.size();
    set.records.assign(buffer.records.begin(), buffer.records.begin() + static_cast<long>(count));
    set.recordCount = static_cast<int32_t>(count);

    float average[kRecordSetChannels];
    ComputeAverages(buffer, average);
    for (int c = 0; c < kRecordSetChannels; ++c) {
        const ChannelInfo& ch = info.channel[c];
        set.maxValue[c] = buffer.maxValue[c];
        set.minValue[c] = buffer.minValue[c];
        set.avgValue[c] = average[c];
        set.channelEnabled[c] = c < kStoredValueChannels ? ch.channelEnabled : 0;
        SetUnitText(set, c, UnitName(ch.unitCode));
        SetQuantityText(set, c, QuantityName(ch.quantityCode, quantityNames));
        set.alarmEnabled[c] = ch.alarmEnabled;
        set.rangeLowX10[c] = ch.rangeLowX10;
        set.rangeHighX10[c] = ch.rangeHighX10;
        set.lowerAlarmX10[c] = ch.lowerAlarmX10;
        set.upperAlarmX10[c] = ch.upperAlarmX10;
    }
    CopyField(set.startModeText, info.startMode);
    CopyField(set.stopModeText, info.stopMode);
    CopyField(set.timedStartText, info.timedStartTime);
    CopyField(set.timedStopText, info.timedStopTime);
    CopyField(set.startTimeText, info.startTime);
    CopyField(set.userName, info.userName);
    CopyField(set.title, info.title);
    set.deviceRecordCount = info.storedRecordCount;
    set.overflowCount = info.overflowCount;
    set.storageCapacity = info.storageCapacity;
    set.intervalSeconds = info.recordIntervalSeconds;
    set.intervalHours = info.intervalHours;
    set.intervalMinutes = info.intervalMinutes;
    set.intervalSecondsPart = info.intervalSeconds;
    CopyField(set.recordModeText, info.recordMode);
    CopyField(set.workStatusText, info.workState);
    CopyField(set.serialNumber, info.serialNumber);
    CopyField(set.model, info.model);
    set.firmwareVersion = info.firmwareVersion;
    set.powerMode = info.powerMode;
}

std::string SafeDataFileName(const std::string& serialText) {
    std::string name;
    name.reserve(serialText.size());
    for (size_t i = 0; i < serialText.size(); ++i) {
        const uint8_t b = static_cast<uint8_t>(serialText[i]);
        if (b == 0) break;
        if (IsGbkLead(b) && i + 1 < serialText.size() && IsGbkTrail(static_cast<uint8_t>(serialText[i + 1]))) {
            name += serialText[i];
            name += serialText[++i];
            continue;
        }
        const bool unsafe = b == '/' || b == '\\' || b < 0x20 || b == 0x7F;
        name += unsafe ? '_' : static_cast<char>(b);
    }
    for (size_t at = name.find(".."); at != std::string::npos; at = name.find("..", at)) {
        name.replace(at, 2, "__");
    }
    return name.empty() ? std::string(kUnnamedDataFile) : name;
}

std::string PrimaryDataFolder(const std::string& executableFolder) { return executableFolder + "/xData"; }

std::string FallbackDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const std::string base = xdg != nullptr && xdg[0] == '/' ? std::string(xdg) : HomeFolder() + "/.local/share";
    return base + "/Velorin/xData";
}

StoreResult StoreDownload(const DownloadBuffer& buffer, const DeviceInfo& info, const DownloadResult& download,
                          const StoreOptions& options) {
    StoreResult result;
    result.plan = PlanStore(download);
    if (result.plan == StorePlan::Nothing) return result;
    const std::time_t now = options.now != 0 ? options.now : std::time(nullptr);
    const bool chosen = !options.targetPath.empty();
    {
        // The filled copy lives only until it is written: the read-back set takes its place.
        RecordSet set;
        // A file at a chosen path always names its quantities in Chinese.
        FillRecordSet(buffer, info, chosen ? Language::Chinese : options.language, set);
        if (chosen) {
            result.ok = WriteAt(options.targetPath, set, now, result);
        } else {
            const std::string name = SafeDataFileName(ReadField(info.serialNumber));
            const std::string exeFolder =
                options.executableFolder.empty() ? ExecutableFolder() : options.executableFolder;
            result.ok = WriteIn(PrimaryDataFolder(exeFolder), false, name, set, now, result);
            if (!result.ok) {
                const std::string primaryDetail = result.detail;
                result.fallbackFolder = true;
                result.ok = WriteIn(FallbackDataFolder(), true, name, set, now, result);
                if (!result.ok) result.detail = primaryDetail + "; " + result.detail;
            }
        }
    }
    if (!result.ok) return result;
    result.detail.clear();
    if (!chosen || options.wantStoredSet) ReadBack(result);
    if (!chosen) ExportCopy(info, options.language, result);
    if (!options.wantStoredSet) result.stored.reset();
    return result;
}

}  // namespace velorin
