// CTimeCho: the range chooser. Time mode (the curve view's "Range") offers a start and an end
// date and time; serial mode (printing) offers a first and a last serial number. Times are
// seconds since 1970 read and built as local calendar time (CDealTime). GUI thread only.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace velorin {

enum class Language;
class CTimeCho : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Time, Serial };

    explicit CTimeCho(Language language, QWidget* parent = nullptr);

    // Time mode is the default; serial mode hides the time controls and shows the serial ones.
    void SetMode(Mode mode);
    // Sets all four pickers: start date and time from `start`, end date and time from `end`.
    void SetTimes(int64_t start, int64_t end);

    // After OK: the start (date of the start date picker, time of day of the start time picker)
    // and the end, each as a local calendar time; the serial numbers from the leading decimal
    // digits of their edits (0 when there are none).
    int64_t Start() const { return start_; }
    int64_t End() const { return end_; }
    int FirstSerial() const { return firstSerial_; }
    int LastSerial() const { return lastSerial_; }

    QDateEdit* StartDate() const { return startDate_; }
    QTimeEdit* StartTime() const { return startTime_; }
    QDateEdit* EndDate() const { return endDate_; }
    QTimeEdit* EndTime() const { return endTime_; }
    QLineEdit* FirstSerialEdit() const { return firstEdit_; }
    QLineEdit* LastSerialEdit() const { return lastEdit_; }

    void accept() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Mode mode_ = Mode::Time;
    QDateEdit* startDate_;
    QTimeEdit* startTime_;
    QDateEdit* endDate_;
    QTimeEdit* endTime_;
    QLabel* timeFrom_;
    QLabel* timeTo_;
    QLineEdit* firstEdit_;
    QLineEdit* lastEdit_;
    QLabel* serialFrom_;
    QLabel* serialTo_;
    QLabel* serialHint_;
    int64_t start_ = 0, end_ = 0;
    int firstSerial_ = 0, lastSerial_ = 0;
};

// The leading decimal digits of `text` as a number, 0 when there are none (saturating).
int LeadingDigits(const QString& text);

}  // namespace velorin
