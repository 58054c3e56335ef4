// CTimeAdjDlg: the clock calibration dialog. The logger's clock is set to the computer's time or
// to a picked date and time, after the logger's records were cleared (the user is warned first).
//
// Threading: a GUI-thread dialog. OK submits a Clock job to the LinkWorker (the two exchanges
// run on the link thread with a copy of DeviceInfo) and serves the GUI thread's events until it
// has ended, so the window keeps painting through exchanges of up to 6 s; meanwhile OK is
// disabled and the dialog cannot be closed, so it outlives the job's message boxes.
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

enum class Language;
class LinkWorker;
class Presenter;
struct DeviceInfo;

class CTimeAdjDlg : public QDialog {
    Q_OBJECT
public:
    // Ends with OK after OK (whatever the logger answered; nothing is sent when the question was
    // not confirmed), with Cancel when the window closed or Escape pressed.
    CTimeAdjDlg(LinkWorker& worker, DeviceInfo& info, Language language, Presenter& presenter,
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
    bool Calibrating() const { return calibrating_; }
    void reject() override;  // Escape and Cancel; ignored while the exchanges run

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnAlign();
    void OnManual();
    void OnOk();

    LinkWorker& worker_;
    DeviceInfo& info_;
    Language language_;
    Presenter& presenter_;
    std::function<CDealTime()> now_;
    bool useSystemTime_ = true;
    bool calibrating_ = false;
    ClockCalibrationResult result_;

    QRadioButton* align_ = nullptr;
    QRadioButton* manual_ = nullptr;
    QLineEdit* field_ = nullptr;
    QDateEdit* date_ = nullptr;
    QTimeEdit* time_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace velorin
