#include "view/range_chooser.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <climits>

#include "common/date_time.h"
#include "ui/gui_text.h"
#include "view/curve_texts.h"

namespace velorin {

namespace {

QDateTime LocalFields(int64_t seconds) {
    const CDealTime t(seconds);
    return QDateTime(QDate(t.GetYear(), t.GetMonth(), t.GetDay()), QTime(t.GetHour(), t.GetMinute(), t.GetSecond()));
}

int64_t FromPickers(const QDateEdit* date, const QTimeEdit* time) {
    const QDate d = date->date();
    const QTime t = time->time();
    return CDealTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()).GetTime();
}

QDateEdit* LongDateEdit(QWidget* parent) {
    auto* edit = new QDateEdit(parent);
    edit->setCalendarPopup(false);  // up-down arrows
    edit->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    return edit;
}

QTimeEdit* TimeEdit(QWidget* parent) {
    auto* edit = new QTimeEdit(parent);
    edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return edit;
}

}  // namespace

int LeadingDigits(const QString& text) {
    long long value = 0;
    for (QChar ch : text) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) break;
        value = value * 10 + (ch.unicode() - '0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

CTimeCho::CTimeCho(Language language, QWidget* parent) : QDialog(parent) {
    const CurveTexts& t = CurveTextsFor(language);
    setWindowTitle(FromUtf8(t.chooserCaption));

    startDate_ = LongDateEdit(this);
    startTime_ = TimeEdit(this);
    endDate_ = LongDateEdit(this);
    endTime_ = TimeEdit(this);
    timeFrom_ = new QLabel(FromUtf8(t.from), this);
    timeTo_ = new QLabel(FromUtf8(t.to), this);
    firstEdit_ = new QLineEdit(QStringLiteral("1"), this);
    lastEdit_ = new QLineEdit(QStringLiteral("1"), this);
    serialFrom_ = new QLabel(FromUtf8(t.from), this);
    serialTo_ = new QLabel(FromUtf8(t.to), this);
    serialHint_ = new QLabel(FromUtf8(t.serialHint), this);
    serialHint_->setWordWrap(true);

    auto* grid = new QGridLayout;
    grid->addWidget(timeFrom_, 0, 0);
    grid->addWidget(startDate_, 0, 1);
    grid->addWidget(startTime_, 0, 2);
    grid->addWidget(timeTo_, 1, 0);
    grid->addWidget(endDate_, 1, 1);
    grid->addWidget(endTime_, 1, 2);
    grid->addWidget(serialFrom_, 2, 0);
    grid->addWidget(firstEdit_, 2, 1);
    grid->addWidget(serialTo_, 3, 0);
    grid->addWidget(lastEdit_, 3, 1);
    grid->addWidget(serialHint_, 4, 0, 1, 3);

    auto* ok = new QPushButton(FromUtf8(t.ok), this);
    auto* cancel = new QPushButton(FromUtf8(t.cancel), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CTimeCho::accept);
    connect(cancel, &QPushButton::clicked, this, &CTimeCho::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    SetMode(Mode::Time);
}

void CTimeCho::SetMode(Mode mode) {
    mode_ = mode;
    const bool time = mode == Mode::Time;
    for (QWidget* w :
         {static_cast<QWidget*>(startDate_), static_cast<QWidget*>(startTime_), static_cast<QWidget*>(endDate_),
          static_cast<QWidget*>(endTime_), static_cast<QWidget*>(timeFrom_), static_cast<QWidget*>(timeTo_)}) {
        w->setVisible(time);
    }
    for (QWidget* w :
         {static_cast<QWidget*>(firstEdit_), static_cast<QWidget*>(lastEdit_), static_cast<QWidget*>(serialFrom_),
          static_cast<QWidget*>(serialTo_), static_cast<QWidget*>(serialHint_)}) {
        w->setVisible(!time);
    }
}

void CTimeCho::SetTimes(int64_t start, int64_t end) {
    const QDateTime s = LocalFields(start);
    const QDateTime e = LocalFields(end);
    startDate_->setDate(s.date());
    startTime_->setTime(s.time());
    endDate_->setDate(e.date());
    endTime_->setTime(e.time());
}

void CTimeCho::accept() {
    start_ = FromPickers(startDate_, startTime_);
    end_ = FromPickers(endDate_, endTime_);
    if (mode_ == Mode::Serial) {
        firstSerial_ = LeadingDigits(firstEdit_->text());
        lastSerial_ = LeadingDigits(lastEdit_->text());
    }
    QDialog::accept();
}

void CTimeCho::paintEvent(QPaintEvent*) {
    // 255 nested rectangles from the top-left corner, the largest first, shading towards it.
    QPainter p(this);
    const int w = width(), h = height();
    for (int n = 255; n >= 1; --n) {
        p.fillRect(QRect(0, 0, n * w / 233, n * h / 233),
                   QColor((240 - n + 256) % 256, (250 - n + 256) % 256, (245 - n + 256) % 256));
    }
}

}  // namespace velorin
