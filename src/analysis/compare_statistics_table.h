// The statistics tab of the comparison window: the range statistics of the shown time window,
// one row per file and recorded channel (samples, missing, MIN and MAX with the time of the
// first record holding each, average, mean kinetic temperature of temperature channels), with
// the warmest and the coldest temperature channel marked and tinted.
//
// Threading: GUI thread only; the files are read-only while the table exists.
#pragma once

#include <QTableWidget>
#include <memory>
#include <string>
#include <vector>

namespace velorin {

enum class Language;
struct CompareFile;
struct TimeWindow;

class CompareStatisticsTable : public QTableWidget {
    Q_OBJECT
public:
    CompareStatisticsTable(std::shared_ptr<const std::vector<CompareFile>> files, Language language,
                           QWidget* parent = nullptr);

    enum Column { kFile, kChannel, kCount, kMissing, kMin, kMax, kAvg, kMkt, kMark, kColumns };
    // Computes and shows the figures of the window (both ends included).
    void ShowWindow(const TimeWindow& window);

private:
    std::shared_ptr<const std::vector<CompareFile>> files_;
    Language language_;
};

}  // namespace velorin
