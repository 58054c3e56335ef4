// Data sets and helpers of the PDF report tests.
#pragma once

#include <initializer_list>
#include <string>

#include "history/record_set.h"
#include "report/export_test_data.h"
#include "report/pdf_report.h"
#include "report/recording_canvas.h"

namespace velorin::test {

// `records` records a minute apart; the channels in `enabled` (1-based) are on with °C units,
// limits 30.0 / 10.0 and value 20 + channel number everywhere. Capacity 32000.
inline RecordSet ReportSet(int records, std::initializer_list<int> enabled) {
    RecordSet set;
    set.records.resize(static_cast<size_t>(records));
    set.recordCount = records;
    set.deviceRecordCount = records;
    set.storageCapacity = 32000;
    set.intervalSeconds = 60;
    for (int i = 0; i < records; ++i) {
        SampleRecord& r = set.records[static_cast<size_t>(i)];
        SetTime(r, i * 60);
        for (int c = 0; c < kRecordSetChannels; ++c) r.value[c] = 20.0f + static_cast<float>(c + 1);
    }
    for (int channel : enabled) {
        const int c = channel - 1;
        set.channelEnabled[c] = 1;
        set.upperAlarmX10[c] = 300;
        set.lowerAlarmX10[c] = 100;
        SetUnitText(set, c, "C");
        SetQuantityText(set, c, "TEMP");
    }
    StoreInField(set.serialNumber, "A1234567");
    StoreInField(set.userName, "Lab 3");
    StoreInField(set.title, "Run 7");
    return set;
}

// A fixed clock: 2026-03-04 05:06:07, one hour east of UTC.
inline PdfOptions ReportOptions(Language language) {
    PdfOptions o;
    o.display.language = language;
    o.clock.local = {};
    o.clock.local.tm_year = 126;
    o.clock.local.tm_mon = 2;
    o.clock.local.tm_mday = 4;
    o.clock.local.tm_hour = 5;
    o.clock.local.tm_min = 6;
    o.clock.local.tm_sec = 7;
    o.clock.utcOffsetSeconds = 3600;
    return o;
}

// Draws the whole report of `set` on a recording canvas.
inline RecordingCanvas DrawReport(RecordSet& set, const PdfOptions& options) {
    RecordingCanvas canvas;
    PdfReport(canvas, set, options).Draw();
    return canvas;
}

// The text drawn at (x, y) of `page`, or "<none>".
inline std::string TextAt(const RecordingCanvas& canvas, int page, double x, double y) {
    const CanvasCall* c = canvas.TextAt(page, x, y);
    return c ? c->text : "<none>";
}

}  // namespace velorin::test
