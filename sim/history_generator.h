// Deterministic, plausible history of the virtual logger, computed on demand: nothing is stored
// per record, so a logger with hundreds of thousands of records costs no memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velorin::sim {

struct LoggerState;

struct GeneratedSample {
    bool missing = false;
    double value = 0.0;  // in the channel's unit
};

// Bytes one sample of a channel with this ChannelType takes in a record (its low nibble).
size_t SampleWidth(uint8_t channelType);

// Writes the wire coding of one sample (`SampleWidth` bytes): 2-byte samples as signed 16-bit
// tenths or hundredths, high byte first, missing = 80 01; 4-byte samples as IEEE-754 single,
// least significant byte first, missing = FF FF FF FF; other widths as zero bytes.
void EncodeSample(uint8_t channelType, const GeneratedSample& sample, uint8_t* out);

// The live reading's 16-bit value: tenths or hundredths by the ChannelType's high nibble,
// 0x8001 for a missing sample.
uint16_t LiveRaw(uint8_t channelType, const GeneratedSample& sample);

// Views the history of a state. Holds a reference: the state must outlive it and not change
// while it is used.
class HistoryGenerator {
public:
    explicit HistoryGenerator(const LoggerState& state);

    // Records still held in memory: the newest min(recordCount, capacity).
    uint32_t AvailableRecords() const;
    // Absolute index (counted from the start of the recording) of the oldest record held.
    uint32_t FirstIndex() const;
    // Bytes of one record: six time bytes plus one sample per enabled channel.
    size_t RecordBytes() const;

    int64_t RecordTime(uint32_t index) const;
    GeneratedSample Sample(int channel, uint32_t index) const;
    // The reading at an arbitrary logger time, for the live view.
    GeneratedSample LiveSample(int channel, int64_t loggerNow) const;

    // Writes record `index` (absolute) into `out`; returns RecordBytes(), or 0 when it does not
    // fit `capacity`.
    size_t EncodeRecord(uint32_t index, uint8_t* out, size_t capacity) const;

private:
    double SmoothValue(int channel, double t) const;
    double Noise(int channel, uint64_t key) const;

    const LoggerState& state_;
};

}  // namespace velorin::sim
