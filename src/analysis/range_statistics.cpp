#include "analysis/range_statistics.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "analysis/clock_time.h"
#include "report/report_statistics.h"

namespace velorin {

namespace {

// Runs of consecutive record indices [first, end) inside the range. Records of one recording
// come in time order, so a clock-time range is nearly always one run; a set whose clock was
// moved back gives several, and every record is still counted once.
using Runs = std::vector<std::pair<int32_t, int32_t>>;

Runs RunsOf(const RecordSet& set, const StatisticsRange& range) {
    const int32_t usable = UsableRecordCount(set);
    const int32_t first = range.first < 0 ? 0 : (range.first > usable ? usable : range.first);
    const int32_t end = range.end < 0 || range.end > usable ? usable : (range.end < first ? first : range.end);
    Runs runs;
    if (!range.hasFrom && !range.hasTo) {
        if (end > first) runs.emplace_back(first, end);
        return runs;
    }
    int32_t runStart = -1;
    for (int32_t i = first; i < end; ++i) {
        const int64_t t = ClockSeconds(set.records[static_cast<size_t>(i)]);
        const bool inside = (!range.hasFrom || t >= range.from) && (!range.hasTo || t <= range.to);
        if (inside && runStart < 0) runStart = i;
        if (!inside && runStart >= 0) {
            runs.emplace_back(runStart, i);
            runStart = -1;
        }
    }
    if (runStart >= 0) runs.emplace_back(runStart, end);
    return runs;
}

// The kinetic terms of the values met last. A data set holds few distinct values (tenths or
// hundredths of a slowly changing quantity), so most samples find their term here instead of
// computing exp(); a float always gives the same term, so the sum is exactly the one computed
// sample by sample.
class KineticTermCache {
public:
    KineticTermCache() {
        // A NaN pattern: never looked up, non-finite values are missing samples.
        for (uint32_t& k : key_) k = 0x7FC00001u;
    }
    double Term(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        const uint32_t slot = (bits * 2654435761u) >> (32 - kSlotBits);
        if (key_[slot] != bits) {
            key_[slot] = bits;
            term_[slot] = KineticTerm(v);
        }
        return term_[slot];
    }

private:
    static constexpr int kSlotBits = 12;
    uint32_t key_[1u << kSlotBits];
    double term_[1u << kSlotBits];
};

// The lowest and highest valid sample of some records and the first record holding each.
struct Extremes {
    float min = 0, max = 0;
    int32_t minIndex = -1, maxIndex = -1;  // −1: no valid sample
};

// The extremes of records that come after `e`'s; ties keep the earlier record (and so in any
// grouping: the earliest of the lowest values wins).
void JoinExtremes(Extremes& e, const Extremes& later) {
    if (later.minIndex < 0) return;
    if (e.minIndex < 0) {
        e = later;
        return;
    }
    if (later.min < e.min) {
        e.min = later.min;
        e.minIndex = later.minIndex;
    }
    if (later.max > e.max) {
        e.max = later.max;
        e.maxIndex = later.maxIndex;
    }
}

// One channel's figures over some records of one block, built record by record; a range's are
// its blocks' joined in order. The sums are the blocks' sums added up, so figures joined from
// an index of whole blocks are exactly the ones computed from the records.
struct Figures {
    int32_t count = 0, missing = 0;
    Extremes extremes;
    double sum = 0, termSum = 0;
    int64_t aboveCount = 0, belowCount = 0;
    int32_t aboveIndex = -1, belowIndex = -1;

    // `terms`: null for a channel that is no temperature.
    void Add(float v, int32_t i, double upper, double lower, KineticTermCache* terms) {
        if (IsMissingSample(v) || !std::isfinite(v)) {
            ++missing;
            return;
        }
        if (count++ == 0) {
            extremes = {v, v, i, i};
        } else if (v < extremes.min) {
            extremes.min = v;
            extremes.minIndex = i;
        } else if (v > extremes.max) {
            extremes.max = v;
            extremes.maxIndex = i;
        }
        sum += v;
        if (terms) termSum += terms->Term(v);
        const double tenths = TruncatedTenths(v);
        if (tenths > upper && aboveCount++ == 0) aboveIndex = i;
        if (tenths < lower && belowCount++ == 0) belowIndex = i;
    }

    // The figures of records that come after these; ties keep the first record.
    void Join(const Figures& later) {
        JoinExtremes(extremes, later.extremes);
        count += later.count;
        missing += later.missing;
        sum += later.sum;
        termSum += later.termSum;
        if (aboveIndex < 0) aboveIndex = later.aboveIndex;
        if (belowIndex < 0) belowIndex = later.belowIndex;
        aboveCount += later.aboveCount;
        belowCount += later.belowCount;
    }
};

// What stays the same for a channel over every range of the set.
struct ChannelSetup {
    int channel = 0;
    bool temperature = false;
    double upper = 0, lower = 0;
};

ChannelSetup SetupOf(const RecordSet& set, int c) {
    ChannelSetup setup;
    setup.channel = c;
    setup.temperature = IsTemperatureQuantity(QuantityTextOf(set, c));
    setup.upper = set.upperAlarmX10[c];
    setup.lower = set.lowerAlarmX10[c];
    return setup;
}

// Records first … end − 1 (inside one block) of one channel.
Figures BlockFigures(const RecordSet& set, const ChannelSetup& setup, int32_t first, int32_t end,
                     KineticTermCache* terms) {
    Figures f;
    for (int32_t i = first; i < end; ++i) {
        f.Add(set.records[static_cast<size_t>(i)].value[setup.channel], i, setup.upper, setup.lower, terms);
    }
    return f;
}

ChannelRangeStatistics FinishChannel(const RecordSet& set, const ChannelSetup& setup, const Figures& f) {
    ChannelRangeStatistics s;
    s.channel = setup.channel;
    s.quantity = QuantityTextOf(set, setup.channel);
    s.unit = UnitTextOf(set, setup.channel);
    s.temperature = setup.temperature;
    s.upperX10 = set.upperAlarmX10[setup.channel];
    s.lowerX10 = set.lowerAlarmX10[setup.channel];
    s.count = f.count;
    s.missing = f.missing;
    const int64_t interval = set.intervalSeconds;
    s.aboveUpperSeconds = f.aboveCount * interval;
    s.belowLowerSeconds = f.belowCount * interval;
    if (f.aboveIndex >= 0) {
        s.crossedUpper = true;
        s.firstAbove = TimeOfRecord(set.records[static_cast<size_t>(f.aboveIndex)]);
    }
    if (f.belowIndex >= 0) {
        s.crossedLower = true;
        s.firstBelow = TimeOfRecord(set.records[static_cast<size_t>(f.belowIndex)]);
    }
    if (s.count == 0) return s;
    s.min = f.extremes.min;
    s.max = f.extremes.max;
    s.minTime = TimeOfRecord(set.records[static_cast<size_t>(f.extremes.minIndex)]);
    s.maxTime = TimeOfRecord(set.records[static_cast<size_t>(f.extremes.maxIndex)]);
    s.avg = f.sum / s.count;
    if (s.temperature) {
        s.hasMkt = true;
        s.mkt = MeanKineticTemperature(f.termSum, s.count);
    }
    return s;
}

std::vector<ChannelSetup> EnabledChannels(const RecordSet& set) {
    std::vector<ChannelSetup> channels;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (set.channelEnabled[c] == 1) channels.push_back(SetupOf(set, c));
    }
    return channels;
}

// The range's count, first and last record from its runs.
void DescribeRuns(const RecordSet& set, const Runs& runs, RangeStatistics& result) {
    result.intervalSeconds = set.intervalSeconds;
    for (const auto& run : runs) result.records += run.second - run.first;
    if (!runs.empty()) {
        result.firstIndex = runs.front().first;
        result.lastIndex = runs.back().second - 1;
        result.firstTime = TimeOfRecord(set.records[static_cast<size_t>(result.firstIndex)]);
        result.lastTime = TimeOfRecord(set.records[static_cast<size_t>(result.lastIndex)]);
    }
}

}  // namespace

RangeStatistics ComputeRangeStatistics(const RecordSet& set, const StatisticsRange& range) {
    RangeStatistics result;
    const Runs runs = RunsOf(set, range);
    DescribeRuns(set, runs, result);
    // Block by block for all channels: a full set is 15 MB, read once rather than once per
    // channel.
    const std::vector<ChannelSetup> channels = EnabledChannels(set);
    std::vector<Figures> totals(channels.size());
    std::vector<std::unique_ptr<KineticTermCache>> terms(channels.size());
    for (size_t k = 0; k < channels.size(); ++k) {
        if (channels[k].temperature) terms[k] = std::make_unique<KineticTermCache>();
    }
    for (const auto& run : runs) {
        for (int32_t first = run.first; first < run.second;) {
            const int32_t end = std::min(run.second, (first / kStatisticsBlock + 1) * kStatisticsBlock);
            for (size_t k = 0; k < channels.size(); ++k) {
                totals[k].Join(BlockFigures(set, channels[k], first, end, terms[k].get()));
            }
            first = end;
        }
    }
    for (size_t k = 0; k < channels.size(); ++k) result.channels.push_back(FinishChannel(set, channels[k], totals[k]));
    return result;
}

namespace {

constexpr int32_t kExtremesGroup = 32;  // blocks

// What one enabled channel's whole blocks hold, laid out so that a range reads little: the
// counts as running totals (a difference per range), the first record above or below the limits
// from each block on (one look-up), the extremes per block and per group of kExtremesGroup
// blocks (a range's from its groups and the blocks at its ends). Only the sums are read block by
// block: added in the blocks' order, they come out exactly as the records' own.
struct ChannelBlocks {
    ChannelSetup setup;
    std::vector<double> sum, termSum;                   // per block
    std::vector<int64_t> count, missing, above, below;  // in the blocks before block b, b = 0 … blocks
    std::vector<int32_t> aboveFrom, belowFrom;          // the first such record from block b on; −1 none
    std::vector<Extremes> blockExtremes, groupExtremes;

    ChannelBlocks(const RecordSet& set, const ChannelSetup& channel, int32_t blocks) : setup(channel) {
        const size_t n = static_cast<size_t>(blocks);
        sum.resize(n);
        termSum.resize(n);
        for (auto* running : {&count, &missing, &above, &below}) running->assign(n + 1, 0);
        aboveFrom.assign(n + 1, -1);
        belowFrom.assign(n + 1, -1);
        blockExtremes.resize(n);
        groupExtremes.resize(n / kExtremesGroup);
        std::unique_ptr<KineticTermCache> terms;
        if (setup.temperature) terms = std::make_unique<KineticTermCache>();
        for (size_t b = 0; b < n; ++b) {
            const int32_t first = static_cast<int32_t>(b) * kStatisticsBlock;
            const Figures f = BlockFigures(set, setup, first, first + kStatisticsBlock, terms.get());
            sum[b] = f.sum;
            termSum[b] = f.termSum;
            count[b + 1] = count[b] + f.count;
            missing[b + 1] = missing[b] + f.missing;
            above[b + 1] = above[b] + f.aboveCount;
            below[b + 1] = below[b] + f.belowCount;
            aboveFrom[b] = f.aboveIndex;
            belowFrom[b] = f.belowIndex;
            blockExtremes[b] = f.extremes;
            const size_t group = b / static_cast<size_t>(kExtremesGroup);
            if (group < groupExtremes.size()) JoinExtremes(groupExtremes[group], blockExtremes[b]);
        }
        for (size_t b = n; b-- > 0;) {
            if (aboveFrom[b] < 0) aboveFrom[b] = aboveFrom[b + 1];
            if (belowFrom[b] < 0) belowFrom[b] = belowFrom[b + 1];
        }
    }

    // Whole blocks b0 … b1 − 1 joined to `total`, the figures of the records before them.
    void JoinTo(Figures& total, int32_t b0, int32_t b1) const {
        const size_t from = static_cast<size_t>(b0), to = static_cast<size_t>(b1);
        // One after another, as Figures::Join adds them.
        double sums = total.sum, termSums = total.termSum;
        for (size_t b = from; b < to; ++b) {
            sums += sum[b];
            termSums += termSum[b];
        }
        Figures blocks;
        blocks.count = static_cast<int32_t>(count[to] - count[from]);
        blocks.missing = static_cast<int32_t>(missing[to] - missing[from]);
        blocks.aboveCount = above[to] - above[from];
        blocks.belowCount = below[to] - below[from];
        const int32_t end = b1 * kStatisticsBlock;
        blocks.aboveIndex = aboveFrom[from] < end ? aboveFrom[from] : -1;
        blocks.belowIndex = belowFrom[from] < end ? belowFrom[from] : -1;
        for (int32_t b = b0; b < b1;) {
            if (b % kExtremesGroup == 0 && b1 - b >= kExtremesGroup) {
                JoinExtremes(blocks.extremes, groupExtremes[static_cast<size_t>(b / kExtremesGroup)]);
                b += kExtremesGroup;
            } else {
                JoinExtremes(blocks.extremes, blockExtremes[static_cast<size_t>(b)]);
                ++b;
            }
        }
        total.Join(blocks);
        total.sum = sums;
        total.termSum = termSums;
    }
};

}  // namespace

struct RangeStatisticsIndex::Blocks {
    int32_t whole = 0;  // whole blocks of the set
    std::vector<ChannelBlocks> channels;
};

RangeStatisticsIndex::RangeStatisticsIndex(const RecordSet& set) : blocks_(std::make_unique<Blocks>()) {
    blocks_->whole = UsableRecordCount(set) / kStatisticsBlock;
    for (const ChannelSetup& setup : EnabledChannels(set)) blocks_->channels.emplace_back(set, setup, blocks_->whole);
}

RangeStatisticsIndex::~RangeStatisticsIndex() = default;

RangeStatistics RangeStatisticsIndex::Compute(const RecordSet& set, int32_t first, int32_t end) const {
    StatisticsRange range;
    range.first = first;
    range.end = end;
    RangeStatistics result;
    const Runs runs = RunsOf(set, range);
    DescribeRuns(set, runs, result);
    for (const ChannelBlocks& c : blocks_->channels) {
        // Made at a temperature channel's first partial block only: a range has at most two.
        std::unique_ptr<KineticTermCache> terms;
        const auto partial = [&](int32_t from, int32_t to) {
            if (c.setup.temperature && !terms) terms = std::make_unique<KineticTermCache>();
            return BlockFigures(set, c.setup, from, to, terms.get());
        };
        Figures total;
        for (const auto& run : runs) {
            for (int32_t from = run.first; from < run.second;) {
                const int32_t block = from / kStatisticsBlock;
                if (from == block * kStatisticsBlock && block < blocks_->whole &&
                    run.second >= (block + 1) * kStatisticsBlock) {
                    // As many whole blocks as follow in the run.
                    const int32_t last = std::min(run.second / kStatisticsBlock, blocks_->whole);
                    c.JoinTo(total, block, last);
                    from = last * kStatisticsBlock;
                } else {
                    const int32_t to = std::min(run.second, (block + 1) * kStatisticsBlock);
                    total.Join(partial(from, to));
                    from = to;
                }
            }
        }
        result.channels.push_back(FinishChannel(set, c.setup, total));
    }
    return result;
}

}  // namespace velorin
