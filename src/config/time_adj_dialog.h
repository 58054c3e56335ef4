// CTimeAdjDlg: the clock calibration dialog. The logger's clock is set to the computer's time or
// to a picked date and time, after the logger's records were cleared (the user is warned first).
//
// Threading: GUI thread only; OK runs the two exchanges on it (the dialog is modal and blocks
// for up to two exchanges).
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "config/clock_calibration.h"

class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;

namespace velorin {

class Link;
class Presenter;
struct DeviceInfo;

class CTimeAdjDlg : public QDialog {
    Q_OBJECT
public:
    // Ends with OK after a confirmed OK (whatever the logger answered), with Cancel when the
    // question was not confirmed, the window closed or Escape pressed.
    CTimeAdjDlg(Link& link, DeviceInfo& info, const std::string& languageName, Presenter& presenter,
                QWidget* parent = nullptr);

    bool UseSystemTime() const { return useSystemTime_; }
    const ClockCalibrationResult& Result() const { return result_; }
    // Tests: the computer's clock as OK reads it.
    void SetClock(std::function<CDealTime()> now) { now_ = std::move(now); }

    QRadioButton* AlignButton() const { return align_; }
    QRadioButton* ManualButton() const { return manual_; }
    QLineEdit* TimeField() const { return field_; }
    QDateEdit* DatePicker() const { return date_; }
    QTimeEdit* TimePicker() const { return time_; }
    QPushButton* OkButton() const { return ok_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnAlign();
    void OnManual();
    void OnOk();

    Link& link_;
    DeviceInfo& info_;
    std::string languageName_;
    Presenter& presenter_;
    std::function<CDealTime()> now_;
    bool useSystemTime_ = true;
    ClockCalibrationResult result_;

    QRadioButton* align_ = nullptr;
    QRadioButton* manual_ = nullptr;
    QLineEdit* field_ = nullptr;
    QDateEdit* date_ = nullptr;
    QTimeEdit* time_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace velorin
