#include "config/wizard_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "common/format.h"
#include "config/config_texts.h"
#include "ui/gui_text.h"

namespace velorin {

namespace {

// Timed times are kept as two BCD digits of the year: 2000 … 2099.
const QDate kFirstTimedDate(2000, 1, 1);
const QDate kLastTimedDate(2099, 12, 31);

QGroupBox* Group(QWidget* page, const std::string& title) {
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(FromUtf8(title), page);
    outer->addWidget(group);
    return group;
}

QLabel* Note(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(FromUtf8(text), parent);
    label->setWordWrap(true);
    return label;
}

QDateTime ToQt(const CDealTime& t) {
    return QDateTime(QDate(t.GetYear(), t.GetMonth(), t.GetDay()), QTime(t.GetHour(), t.GetMinute(), t.GetSecond()));
}

CDealTime FromQt(const QDate& d, const QTime& t) {
    return CDealTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

QDateEdit* DatePicker(QWidget* parent) {
    auto* p = new QDateEdit(parent);
    p->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    p->setDateRange(kFirstTimedDate, kLastTimedDate);
    return p;
}

QTimeEdit* TimePicker(QWidget* parent) {
    auto* p = new QTimeEdit(parent);
    p->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return p;
}

QComboBox* ModeBox(const std::string (&items)[3], const QString& text, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    for (const std::string& item : items) box->addItem(FromUtf8(item));
    box->setCurrentText(text);
    return box;
}

}  // namespace

// --- page 1 -----------------------------------------------------------------------------------

CStep1::CStep1(const ConfigTexts& t, const WizardEntries& e, QWidget* parent) : QWidget(parent) {
    QGroupBox* group = Group(this, t.basicGroup);
    auto* grid = new QGridLayout(group);
    user_ = new QLineEdit(FromGbk(e.userName), group);
    title_ = new QLineEdit(FromGbk(e.title), group);
    grid->addWidget(new QLabel(FromUtf8(t.userName), group), 0, 0);
    grid->addWidget(user_, 0, 1);
    grid->addWidget(new QLabel(FromUtf8(t.title), group), 1, 0);
    grid->addWidget(title_, 1, 1);
    // Says at once when a text is longer than the logger keeps, and what it will hold.
    shortened_ = new QLabel(group);
    shortened_->setWordWrap(true);
    shortened_->setStyleSheet(QStringLiteral("color: #b00000"));
    grid->addWidget(shortened_, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    auto update = [this, &t] {
        WizardEntries entries;
        Collect(entries);
        const std::string note = ShortenedTextNote(entries, t);
        shortened_->setText(FromGbk(note));
        shortened_->setVisible(!note.empty());
    };
    connect(user_, &QLineEdit::textChanged, this, update);
    connect(title_, &QLineEdit::textChanged, this, update);
    update();
    grid->setContentsMargins(24, 30, 24, 12);
    grid->setVerticalSpacing(18);
}

void CStep1::Collect(WizardEntries& e) const {
    e.userName = ToGbk(user_->text());
    e.title = ToGbk(title_->text());
}

// --- page 2 -----------------------------------------------------------------------------------

CStep2::CStep2(const ConfigTexts& t, const WizardEntries& e, QWidget* parent)
    : QWidget(parent), hours_(e.intervalHours), minutes_(e.intervalMinutes), seconds_(e.intervalSeconds) {
    QGroupBox* group = Group(this, t.intervalGroup);
    auto* grid = new QGridLayout(group);
    interval_ = TimePicker(group);
    if (hours_ < 24)
        interval_->setTime(QTime(hours_, minutes_, seconds_));
    else
        interval_->setTime(QTime(23, 59, 59));
    connect(interval_, &QTimeEdit::timeChanged, this, [this] { pickerEdited_ = true; });
    overLimit_ = new QComboBox(group);
    for (const std::string& item : t.overLimitItem) overLimit_->addItem(FromUtf8(item));
    overLimit_->setCurrentIndex(e.overLimitIndex < 14 ? e.overLimitIndex : 0);
    grid->addWidget(Note(t.intervalNote, group), 0, 0, 1, 2);
    grid->addWidget(new QLabel(FromUtf8(t.intervalHeading), group), 1, 1);
    grid->addWidget(new QLabel(FromUtf8(t.intervalLabel), group), 2, 0);
    grid->addWidget(interval_, 2, 1);
    grid->addWidget(new QLabel(FromUtf8(t.overLimitLabel), group), 3, 0);
    grid->addWidget(overLimit_, 3, 1);
    grid->setRowStretch(4, 1);
    grid->setContentsMargins(24, 24, 24, 12);
    grid->setVerticalSpacing(12);
}

int CStep2::UpdateTimeValue() {
    if (hours_ >= 24 && !pickerEdited_) return 1;
    const QTime time = interval_->time();
    hours_ = time.hour();
    minutes_ = time.minute();
    seconds_ = time.second();
    return 1;
}

void CStep2::Collect(WizardEntries& e) const {
    e.intervalHours = hours_;
    e.intervalMinutes = minutes_;
    e.intervalSeconds = seconds_;
    e.overLimitIndex = static_cast<uint8_t>(overLimit_->currentIndex() < 0 ? 0 : overLimit_->currentIndex());
}

// --- page 3 -----------------------------------------------------------------------------------

CStep3::CStep3(const ConfigTexts& t, const WizardEntries& e, QWidget* parent) : QWidget(parent) {
    QGroupBox* group = Group(this, t.powerGroup);
    auto* layout = new QVBoxLayout(group);
    normal_ = new QRadioButton(FromUtf8(t.powerNormal), group);
    saving_ = new QRadioButton(FromUtf8(t.powerSaving), group);
    (e.powerSaving ? saving_ : normal_)->setChecked(true);
    layout->addWidget(Note(t.powerNote, group));
    layout->addSpacing(12);
    layout->addWidget(normal_);
    layout->addWidget(saving_);
    layout->addStretch(1);
    layout->setContentsMargins(24, 24, 24, 12);
}

void CStep3::Collect(WizardEntries& e) const { e.powerSaving = !normal_->isChecked(); }

// --- page 4 -----------------------------------------------------------------------------------

CStep4::CStep4(const ConfigTexts& t, const WizardEntries& e, const std::string& startText, const std::string& stopText,
               QWidget* parent)
    : QWidget(parent), autoMode_(e.automatic), timedStart_(t.startTimed), timedStop_(t.stopTimed) {
    QGroupBox* group = Group(this, t.recordGroup);
    auto* grid = new QGridLayout(group);
    manual_ = new QRadioButton(FromUtf8(t.recordManualButton), group);
    automatic_ = new QRadioButton(FromUtf8(t.recordAutoButton), group);
    // Manual mode shows the boxes' first items; automatic mode the logger's modes.
    startBox_ = ModeBox(t.startItem, autoMode_ ? FromGbk(startText) : FromUtf8(t.startImmediate), group);
    stopBox_ = ModeBox(t.stopItem, autoMode_ ? FromGbk(stopText) : FromUtf8(t.stopFifo), group);
    startDate_ = DatePicker(group);
    startTime_ = TimePicker(group);
    stopDate_ = DatePicker(group);
    stopTime_ = TimePicker(group);
    const QDateTime now = ToQt(e.timedStart);
    for (QDateEdit* d : {startDate_, stopDate_}) d->setDate(now.date());
    for (QTimeEdit* p : {startTime_, stopTime_}) p->setTime(now.time());
    (autoMode_ ? automatic_ : manual_)->setChecked(true);

    grid->addWidget(Note(t.recordNote, group), 0, 0, 1, 4);
    grid->addWidget(manual_, 1, 0, 1, 2);
    grid->addWidget(automatic_, 1, 2, 1, 2);
    grid->addWidget(new QLabel(FromUtf8(t.startLabel), group), 2, 0);
    grid->addWidget(startBox_, 2, 1);
    grid->addWidget(new QLabel(FromUtf8(t.stopLabel), group), 2, 2);
    grid->addWidget(stopBox_, 2, 3);
    grid->addWidget(new QLabel(FromUtf8(t.timedStartLabel), group), 3, 0);
    grid->addWidget(startDate_, 3, 1);
    grid->addWidget(startTime_, 3, 2);
    grid->addWidget(new QLabel(FromUtf8(t.timedStopLabel), group), 4, 0);
    grid->addWidget(stopDate_, 4, 1);
    grid->addWidget(stopTime_, 4, 2);
    grid->setRowStretch(5, 1);
    grid->setContentsMargins(16, 20, 16, 12);
    grid->setVerticalSpacing(12);

    connect(manual_, &QRadioButton::clicked, this, &CStep4::OnManual);
    connect(automatic_, &QRadioButton::clicked, this, &CStep4::OnAutomatic);
    connect(startBox_, qOverload<int>(&QComboBox::activated), this,
            [this] { OnModeChosen(startBox_, timedStart_, startDate_, startTime_); });
    connect(stopBox_, qOverload<int>(&QComboBox::activated), this,
            [this] { OnModeChosen(stopBox_, timedStop_, stopDate_, stopTime_); });
    if (autoMode_) {
        EnablePickers();
    } else {
        OnManual();
    }
}

void CStep4::EnablePickers() {
    const bool start = autoMode_ && startBox_->currentText() == FromUtf8(timedStart_);
    const bool stop = autoMode_ && stopBox_->currentText() == FromUtf8(timedStop_);
    startDate_->setEnabled(start);
    startTime_->setEnabled(start);
    stopDate_->setEnabled(stop);
    stopTime_->setEnabled(stop);
}

void CStep4::OnManual() {
    autoMode_ = false;
    startBox_->setEnabled(false);
    stopBox_->setEnabled(false);
    EnablePickers();
}

void CStep4::OnAutomatic() {
    autoMode_ = true;
    startBox_->setEnabled(true);
    stopBox_->setEnabled(true);
    EnablePickers();
}

void CStep4::OnModeChosen(QComboBox* box, const std::string& timedItem, QDateEdit* date, QTimeEdit* time) {
    if (box->currentText() == FromUtf8(timedItem)) {
        const QDateTime now = ToQt(CDealTime());
        date->setDate(now.date());
        time->setTime(now.time());
    }
    EnablePickers();
}

void CStep4::Collect(WizardEntries& e) const {
    e.automatic = autoMode_;
    e.start = StartChoiceOf(ToGbk(startBox_->currentText()));
    e.stop = StopChoiceOf(ToGbk(stopBox_->currentText()));
    e.timedStart = FromQt(startDate_->date(), startTime_->time());
    e.timedStop = FromQt(stopDate_->date(), stopTime_->time());
}

// --- page 5 -----------------------------------------------------------------------------------

CStep5::CStep5(const ConfigTexts& t, const WizardEntries& e, const bool (&recorded)[6], QWidget* parent)
    : QWidget(parent) {
    QGroupBox* group = Group(this, t.alarmGroup);
    auto* grid = new QGridLayout(group);
    for (int c = 0; c < 6; ++c) {
        auto* name = new QLabel(FromUtf8(FormatC(t.channelFormat.c_str(), c + 1)), group);
        upper_[c] = new QLineEdit(group);
        lower_[c] = new QLineEdit(group);
        on_[c] = new QCheckBox(FromUtf8(t.alarmOn), group);
        if (recorded[c]) {
            upper_[c]->setText(FromGbk(e.alarm[c].upperText));
            lower_[c]->setText(FromGbk(e.alarm[c].lowerText));
            on_[c]->setChecked(e.alarm[c].on);
        }
        for (QWidget* w :
             {static_cast<QWidget*>(upper_[c]), static_cast<QWidget*>(lower_[c]), static_cast<QWidget*>(on_[c])}) {
            w->setEnabled(recorded[c]);
        }
        grid->addWidget(name, c, 0);
        grid->addWidget(new QLabel(FromUtf8(t.upperLabel), group), c, 1);
        grid->addWidget(upper_[c], c, 2);
        grid->addWidget(new QLabel(FromUtf8(t.lowerLabel), group), c, 3);
        grid->addWidget(lower_[c], c, 4);
        grid->addWidget(on_[c], c, 5);
    }
    grid->setContentsMargins(16, 16, 16, 12);
}

void CStep5::Collect(WizardEntries& e) const {
    for (int c = 0; c < 6; ++c) {
        e.alarm[c].upperText = ToGbk(upper_[c]->text());
        e.alarm[c].lowerText = ToGbk(lower_[c]->text());
        e.alarm[c].on = on_[c]->isChecked();
    }
}

}  // namespace velorin
