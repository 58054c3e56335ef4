// The five pages of the setup wizard. Each fills itself from the entries the wizard computed from
// DeviceInfo when it opens and gives its part of the entries back when the wizard finishes.
// Nothing is validated or sent by the pages themselves.
//
// Threading: GUI thread only. The finish sequence works on entries collected from the pages
// before it starts, never on the widgets.
#pragma once

#include <QWidget>
#include <string>

#include "config/wizard_entries.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimeEdit;

namespace velorin {

struct ConfigTexts;

// Page 1: user name and title.
class CStep1 : public QWidget {
    Q_OBJECT
public:
    CStep1(const ConfigTexts& t, const WizardEntries& e, QWidget* parent);
    void Collect(WizardEntries& e) const;
    QLineEdit* UserName() const { return user_; }
    QLineEdit* Title() const { return title_; }
    // Shown while the user name or title is longer than the logger's 30 bytes.
    QLabel* ShortenedNote() const { return shortened_; }

private:
    QLineEdit* user_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLabel* shortened_ = nullptr;
};

// Page 2: the record interval picker and the over-limit interval list.
class CStep2 : public QWidget {
    Q_OBJECT
public:
    CStep2(const ConfigTexts& t, const WizardEntries& e, QWidget* parent);
    // Copies the picker into the page's time value; returns 1.
    int UpdateTimeValue();
    void Collect(WizardEntries& e) const;
    QTimeEdit* Interval() const { return interval_; }
    QComboBox* OverLimit() const { return overLimit_; }

private:
    QTimeEdit* interval_ = nullptr;
    QComboBox* overLimit_ = nullptr;
    // The page's time value. An interval of a day or more does not fit the picker: it is kept
    // as read until the user changes the picker.
    int hours_ = 0, minutes_ = 0, seconds_ = 0;
    bool pickerEdited_ = false;
};

// Page 3: the power mode.
class CStep3 : public QWidget {
    Q_OBJECT
public:
    CStep3(const ConfigTexts& t, const WizardEntries& e, QWidget* parent);
    void Collect(WizardEntries& e) const;
    QRadioButton* Normal() const { return normal_; }
    QRadioButton* Saving() const { return saving_; }

private:
    QRadioButton* normal_ = nullptr;
    QRadioButton* saving_ = nullptr;
};

// Page 4: record mode, start and stop modes and the two timed rows.
class CStep4 : public QWidget {
    Q_OBJECT
public:
    CStep4(const ConfigTexts& t, const WizardEntries& e, const std::string& startText, const std::string& stopText,
           QWidget* parent);
    void Collect(WizardEntries& e) const;
    bool AutoMode() const { return autoMode_; }
    QRadioButton* Manual() const { return manual_; }
    QRadioButton* Automatic() const { return automatic_; }
    QComboBox* StartBox() const { return startBox_; }
    QComboBox* StopBox() const { return stopBox_; }
    QDateEdit* StartDate() const { return startDate_; }
    QTimeEdit* StartTime() const { return startTime_; }
    QDateEdit* StopDate() const { return stopDate_; }
    QTimeEdit* StopTime() const { return stopTime_; }

private:
    void OnManual();
    void OnAutomatic();
    // A new item in a mode box: choosing the timed mode shows the current date and time in its
    // pickers.
    void OnModeChosen(QComboBox* box, const std::string& timedItem, QDateEdit* date, QTimeEdit* time);
    void EnablePickers();

    bool autoMode_ = true;
    std::string timedStart_, timedStop_;  // the box items that mean a timed mode (UTF-8)
    QRadioButton* manual_ = nullptr;
    QRadioButton* automatic_ = nullptr;
    QComboBox* startBox_ = nullptr;
    QComboBox* stopBox_ = nullptr;
    QDateEdit* startDate_ = nullptr;
    QTimeEdit* startTime_ = nullptr;
    QDateEdit* stopDate_ = nullptr;
    QTimeEdit* stopTime_ = nullptr;
};

// Page 5: alarm limits and switches of channels 1 … 6; rows of channels the logger does not
// record stay disabled and empty.
class CStep5 : public QWidget {
    Q_OBJECT
public:
    CStep5(const ConfigTexts& t, const WizardEntries& e, const bool (&recorded)[6], QWidget* parent);
    void Collect(WizardEntries& e) const;
    QLineEdit* Upper(int channel) const { return upper_[channel]; }
    QLineEdit* Lower(int channel) const { return lower_[channel]; }
    QCheckBox* On(int channel) const { return on_[channel]; }

private:
    QLineEdit* upper_[6] = {};
    QLineEdit* lower_[6] = {};
    QCheckBox* on_[6] = {};
};

}  // namespace velorin
