// Printing a data set: the curve page and the data list on a printer the user chooses, drawn by
// the layouts of view/print_layout.h through QPainter, ended with the job's message box.
//
// Threading: GUI thread only; a print runs synchronously from the command to its message box.
#pragma once

#include <cstdint>

class QImage;

namespace velorin {

class Presenter;
struct RecordSet;

// The printer is chosen through the presenter's print dialog (tests print to PDF files).

// The curve page of records firstIndex … endIndex − 1 with `plot` stretched into its frame.
// The dialog opens in landscape; the job is called "Print 设备曲线!".
void PrintCurve(Presenter& presenter, const RecordSet& set, int firstIndex, int endIndex, const QImage& plot);

// The data list of serial numbers F … T (the range chooser's answer). F ≥ T is refused with a
// message and no dialog. The job is called "Print 设备数据!".
void PrintList(Presenter& presenter, const RecordSet& set, const uint8_t (&channelType)[8], int firstSerial,
               int lastSerial);

}  // namespace velorin
