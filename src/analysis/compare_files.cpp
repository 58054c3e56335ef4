#include "analysis/compare_files.h"

#include <algorithm>
#include <map>
#include <cstring>
#include <numeric>

#include "analysis/clock_time.h"
#include "common/text_codec.h"

namespace velorin {

namespace {

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string SerialOf(const RecordSet& set) {
    return std::string(set.serialNumber, strnlen(set.serialNumber, sizeof(set.serialNumber)));
}

void OrderByTime(CompareFile& f) {
    const int32_t count = UsableRecordCount(f.set);
    std::vector<int64_t> seconds(static_cast<size_t>(count));
    bool sorted = true;
    for (int32_t i = 0; i < count; ++i) {
        seconds[static_cast<size_t>(i)] = ClockSeconds(f.set.records[static_cast<size_t>(i)]);
        if (i > 0 && seconds[static_cast<size_t>(i)] < seconds[static_cast<size_t>(i) - 1]) sorted = false;
    }
    f.order.resize(static_cast<size_t>(count));
    std::iota(f.order.begin(), f.order.end(), 0);
    if (!sorted) {
        std::stable_sort(f.order.begin(), f.order.end(), [&seconds](int32_t a, int32_t b) {
            return seconds[static_cast<size_t>(a)] < seconds[static_cast<size_t>(b)];
        });
        f.times.resize(static_cast<size_t>(count));
        for (size_t k = 0; k < f.order.size(); ++k) f.times[k] = seconds[static_cast<size_t>(f.order[k])];
    } else {
        f.times = std::move(seconds);
    }
}

}  // namespace

int32_t CompareFile::RecordAt(int64_t seconds) const {
    const auto it = std::lower_bound(times.begin(), times.end(), seconds);
    if (it == times.end() || *it != seconds) return -1;
    return order[static_cast<size_t>(it - times.begin())];
}

std::pair<size_t, size_t> CompareFile::OrderedRange(int64_t from, int64_t to) const {
    const auto begin = std::lower_bound(times.begin(), times.end(), from);
    const auto end = to < from ? begin : std::upper_bound(begin, times.end(), to);
    return {static_cast<size_t>(begin - times.begin()), static_cast<size_t>(end - times.begin())};
}

void PrepareCompareFiles(std::vector<CompareFile>& files) {
    std::map<std::string, int> serialUses;
    for (CompareFile& f : files) {
        f.serial = SerialOf(f.set);
        ++serialUses[f.serial];
        OrderByTime(f);
    }
    for (CompareFile& f : files) {
        if (f.serial.empty()) {
            f.label = FileNameOf(f.path);
        } else if (serialUses[f.serial] > 1) {
            f.label = GbkToUtf8(f.serial) + " (" + FileNameOf(f.path) + ")";
        } else {
            f.label = GbkToUtf8(f.serial);
        }
    }
}

CompareLoadResult LoadCompareFiles(const std::vector<std::string>& paths, const CompareLoadCallbacks& callbacks) {
    CompareLoadResult result;
    if (paths.empty()) {
        result.error = CompareLoadError::NoFiles;
        return result;
    }
    if (paths.size() > static_cast<size_t>(kMaxCompareFiles)) {
        result.error = CompareLoadError::TooManyFiles;
        return result;
    }
    std::vector<CompareFile> files(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        if (callbacks.cancelled && callbacks.cancelled()) {
            result.error = CompareLoadError::Cancelled;
            return result;
        }
        files[i].path = paths[i];
        result.readResult = ReadKvFile(paths[i], files[i].set);
        if (!result.readResult.ok()) {
            result.error = CompareLoadError::FileUnreadable;
            result.fileIndex = static_cast<int>(i);
            return result;
        }
        if (callbacks.progress) callbacks.progress(static_cast<int>(i) + 1, static_cast<int>(paths.size()));
    }
    PrepareCompareFiles(files);
    result.files = std::move(files);
    return result;
}

std::vector<int64_t> MergedTimes(const std::vector<CompareFile>& files, int64_t from, int64_t to) {
    std::vector<int64_t> merged;
    for (const CompareFile& f : files) {
        const auto span = f.OrderedRange(from, to);
        const size_t middle = merged.size();
        merged.insert(merged.end(), f.times.begin() + static_cast<std::ptrdiff_t>(span.first),
                      f.times.begin() + static_cast<std::ptrdiff_t>(span.second));
        std::inplace_merge(merged.begin(), merged.begin() + static_cast<std::ptrdiff_t>(middle), merged.end());
    }
    merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
    return merged;
}

bool CompareSpan(const std::vector<CompareFile>& files, int64_t& earliest, int64_t& latest) {
    bool any = false;
    for (const CompareFile& f : files) {
        if (f.times.empty()) continue;
        if (!any || f.times.front() < earliest) earliest = f.times.front();
        if (!any || f.times.back() > latest) latest = f.times.back();
        any = true;
    }
    return any;
}

}  // namespace velorin
