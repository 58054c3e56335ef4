#include "config/clock_dialog.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <memory>

#include "app/link_worker.h"
#include "common/cancel_token.h"
#include "common/format.h"
#include "config/config_texts.h"
#include "device/device_info.h"
#include "ui/gui_text.h"
#include "ui/presenter.h"
#include "ui/qt_messages.h"

namespace velorin {

namespace {
// The year travels as one byte counted from 2000.
const QDate kFirstDate(2000, 1, 1);
const QDate kLastDate(2255, 12, 31);
}  // namespace

CTimeAdjDlg::CTimeAdjDlg(LinkWorker& worker, DeviceInfo& info, Language language, Presenter& presenter, QWidget* parent)
    : QDialog(parent), worker_(worker), info_(info), language_(language), presenter_(presenter) {
    const ConfigTexts& t = ConfigTextsFor(language_);
    setWindowTitle(FromUtf8(t.clockCaption));

    // The computer's time when the dialog opened; the field is not updated afterwards.
    const CDealTime now;
    align_ = new QRadioButton(FromUtf8(t.alignSystemTime), this);
    manual_ = new QRadioButton(FromUtf8(t.manualTime), this);
    field_ = new QLineEdit(FromUtf8(FormatC(t.clockShownFormat.c_str(), now.GetYear(), now.GetMonth(), now.GetDay(),
                                            now.GetHour(), now.GetMinute(), now.GetSecond())),
                           this);
    field_->setReadOnly(true);
    date_ = new QDateEdit(QDate(now.GetYear(), now.GetMonth(), now.GetDay()), this);
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date_->setDateRange(kFirstDate, kLastDate);
    date_->setEnabled(false);
    time_ = new QTimeEdit(QTime(now.GetHour(), now.GetMinute(), now.GetSecond()), this);
    time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    time_->setEnabled(false);
    ok_ = new QPushButton(FromUtf8(t.clockOk), this);
    ok_->setDefault(true);
    align_->setChecked(true);
    for (QRadioButton* b : {align_, manual_}) b->setAttribute(Qt::WA_TranslucentBackground);

    auto* grid = new QGridLayout(this);
    grid->addWidget(align_, 0, 0, 1, 2);
    grid->addWidget(field_, 1, 0, 1, 2);
    grid->addWidget(manual_, 2, 0, 1, 2);
    grid->addWidget(date_, 3, 0);
    grid->addWidget(time_, 3, 1);
    grid->addWidget(ok_, 4, 1, Qt::AlignRight);
    grid->setContentsMargins(24, 20, 24, 16);
    grid->setVerticalSpacing(10);
    setFixedSize(360, 220);

    connect(align_, &QRadioButton::clicked, this, &CTimeAdjDlg::OnAlign);
    connect(manual_, &QRadioButton::clicked, this, &CTimeAdjDlg::OnManual);
    connect(ok_, &QPushButton::clicked, this, &CTimeAdjDlg::OnOk);
}

void CTimeAdjDlg::paintEvent(QPaintEvent*) {
    // Nested rectangles from the top-left corner, the largest first, each a shade darker.
    QPainter p(this);
    const int w = width();
    const int h = height();
    for (int i = 255; i >= 1; --i) {
        const QColor colour((240 - i + 256) % 256, (250 - i + 256) % 256, (245 - i + 256) % 256);
        p.fillRect(QRect(0, 0, w * i / 233, h * i / 233), colour);
    }
}

void CTimeAdjDlg::OnManual() {
    date_->setEnabled(true);
    time_->setEnabled(true);
    field_->setEnabled(false);
    useSystemTime_ = false;
}

void CTimeAdjDlg::OnAlign() {
    field_->setEnabled(true);
    date_->setEnabled(false);
    time_->setEnabled(false);
    useSystemTime_ = true;
}

void CTimeAdjDlg::OnOk() {
    if (calibrating_) return;
    const ConfigTexts& t = ConfigTextsFor(language_);
    if (!presenter_.AskOkCancel(FromUtf8(t.clockQuestion), FromUtf8(t.clockQuestionCaption), BoxIcon::Warning)) {
        accept();  // OK without sending anything: the records and their count stay
        return;
    }
    ClockChoice choice;
    choice.useSystemTime = useSystemTime_;
    choice.now = now_;
    const QDate d = date_->date();
    const QTime tm = time_->time();
    choice.chosen = ClockBytesOf(d.year(), d.month(), d.day(), tm.hour(), tm.minute(), tm.second());

    calibrating_ = true;
    ok_->setEnabled(false);
    auto copy = std::make_shared<DeviceInfo>(info_);
    auto out = std::make_shared<ClockCalibrationResult>();
    Presenter* presenter = &presenter_;
    // A Clock job; the dialog waits for it below, so `this` outlives its message boxes.
    const bool ran =
        worker_.RunAndWait(LinkJobKind::Clock, [this, presenter, choice, copy, out](Link& link, CancelToken&) {
            QtMessages messages(this, *presenter, [](const QString&) {});
            *out = CalibrateClock(link, *copy, choice, messages);
        });
    calibrating_ = false;
    ok_->setEnabled(true);
    if (ran) {
        result_ = *out;
        if (result_.clearAccepted) info_.storedRecordCount = copy->storedRecordCount;
    }
    accept();
}

void CTimeAdjDlg::reject() {
    if (!calibrating_) QDialog::reject();
}

void CTimeAdjDlg::closeEvent(QCloseEvent* event) {
    if (calibrating_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace velorin
