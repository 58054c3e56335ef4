#include "config/wizard_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/gui_text.h"
#include "app/presenter.h"
#include "app/qt_messages.h"
#include "config/config_texts.h"
#include "config/wizard_pages.h"
#include "device/link.h"

namespace velorin {

namespace {
constexpr int kWaitWidth = 250;
constexpr int kWaitHeight = 60;
constexpr int kPageWidth = 520;
constexpr int kPageHeight = 330;
}  // namespace

// --- the wait window ---------------------------------------------------------------------------

CDwait::CDwait(const std::string& text, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), text_(FromGbk(text) + QStringLiteral("……")) {
    setFixedSize(kWaitWidth, kWaitHeight);
    hide();
}

void CDwait::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xF2, 0xFA, 0xEE));
    p.setPen(QColor(0x30, 0x90, 0x30));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont f = font();
    f.setPointSize(11);
    p.setFont(f);
    p.drawText(rect(), Qt::AlignCenter, text_);
}

// --- the wizard ------------------------------------------------------------------------------

CWizard::CWizard(Link& link, DeviceInfo& info, const std::string& languageName, Presenter& presenter,
                 QWidget* parent)
    : QDialog(parent), link_(link), info_(info), languageName_(languageName), presenter_(presenter) {
    const ConfigTexts& t = ConfigTextsFor(languageName_);
    setWindowTitle(FromGbk(t.wizardCaption));
    wait_ = new CDwait(t.waitText, this);

    // The pages open with the logger's settings as DeviceInfo holds them now.
    const WizardEntries e = EntriesFromDeviceInfo(info_, CDealTime());
    bool recorded[6];
    for (int c = 0; c < 6; ++c) recorded[c] = info_.channel[c].channelEnabled != 0;
    auto* area = new QWidget(this);
    area->setFixedSize(kPageWidth, kPageHeight);
    step1_ = new CStep1(t, e, area);
    step2_ = new CStep2(t, e, area);
    step3_ = new CStep3(t, e, area);
    step4_ = new CStep4(t, e, StartBoxText(info_), StopBoxText(info_), area);
    step5_ = new CStep5(t, e, recorded, area);
    for (QWidget* page : {static_cast<QWidget*>(step1_), static_cast<QWidget*>(step2_), static_cast<QWidget*>(step3_),
                          static_cast<QWidget*>(step4_), static_cast<QWidget*>(step5_)}) {
        page->setGeometry(0, 0, kPageWidth, kPageHeight);
    }

    previous_ = new QPushButton(FromGbk(t.previous), this);
    next_ = new QPushButton(FromGbk(t.nextFirst), this);
    cancel_ = new QPushButton(FromGbk(t.cancel), this);
    next_->setDefault(true);
    connect(previous_, &QPushButton::clicked, this, &CWizard::OnPrevious);
    connect(next_, &QPushButton::clicked, this, &CWizard::OnNext);
    connect(cancel_, &QPushButton::clicked, this, &CWizard::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(previous_);
    buttons->addWidget(next_);
    buttons->addSpacing(16);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(area);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ShowStep();

    // The wizard keeps the serial port open from now on; the next user of the port reopens or
    // closes it.
    link_.serial.ClosePort();
    if (link_.currentPort != HID_LINK_PORT) link_.OpenCurrentPort();
}

CWizard::~CWizard() {
    if (worker_.joinable()) worker_.join();
}

void CWizard::ShowStep() {
    QWidget* const pages[5] = {step1_, step2_, step3_, step4_, step5_};
    for (int i = 0; i < 5; ++i) pages[i]->setVisible(i + 1 == currentStep_);
    previous_->setEnabled(currentStep_ > 1);
}

void CWizard::OnNext() {
    const ConfigTexts& t = ConfigTextsFor(languageName_);
    previous_->setEnabled(true);
    if (currentStep_ >= 5) {
        StartFinish();
        return;
    }
    ++currentStep_;
    if (currentStep_ == 5) next_->setText(FromGbk(t.finish));
    ShowStep();
}

void CWizard::OnPrevious() {
    if (finishing_) return;  // the sequence reads the last page's entries until it ends
    next_->setText(FromGbk(ConfigTextsFor(languageName_).next));
    currentStep_ = currentStep_ > 2 ? currentStep_ - 1 : 1;
    ShowStep();
}

WizardEntries CWizard::CollectEntries() const {
    WizardEntries e;
    step1_->Collect(e);
    step2_->UpdateTimeValue();
    step2_->Collect(e);
    step3_->Collect(e);
    step4_->Collect(e);
    step5_->Collect(e);
    return e;
}

void CWizard::StartFinish() {
    if (finishing_) return;  // never twice at once
    if (worker_.joinable()) worker_.join();
    finishing_ = true;
    const WizardEntries entries = CollectEntries();
    const std::function<CDealTime()> now = now_;
    DeviceInfo copy = info_;
    worker_ = std::thread([this, entries, now, copy]() mutable {
        QtMessages messages(this, presenter_, [](const QString&) {});
        FinishHooks hooks;
        hooks.now = now;
        hooks.ask = [this](const std::string& text, const std::string& caption) {
            bool answer = false;
            QMetaObject::invokeMethod(
                this,
                [this, &answer, text, caption] {
                    answer = presenter_.AskOkCancel(FromGbk(text), FromGbk(caption), BoxIcon::Warning);
                },
                Qt::BlockingQueuedConnection);
            return answer;
        };
        hooks.waitWindow = [this](bool shown) {
            QMetaObject::invokeMethod(this, [this, shown] { PlaceWaitWindow(shown); }, Qt::QueuedConnection);
        };
        const FinishResult result = RunFinishSequence(link_, copy, entries, languageName_, messages, hooks);
        QMetaObject::invokeMethod(this, [this, result, copy] { OnFinished(result, copy); }, Qt::QueuedConnection);
    });
}

void CWizard::PlaceWaitWindow(bool shown) {
    if (!shown) {
        wait_->hide();
        return;
    }
    const QRect frame = geometry();
    wait_->move(frame.left() + frame.width() / 2 - kWaitWidth / 2, frame.top() + frame.height() / 2 - kWaitHeight / 2);
    wait_->show();
    wait_->raise();
}

void CWizard::OnFinished(const FinishResult& result, const DeviceInfo& changed) {
    if (worker_.joinable()) worker_.join();
    // Settings written before a failure stay written, on the logger and here.
    info_ = changed;
    lastResult_ = result;
    finishing_ = false;
    if (result.result == 1) {
        restarted_ = result.restarted;
        QTimer::singleShot(0, this, [this] {
            wait_->hide();
            done(restarted_ ? QDialog::Accepted : QDialog::Rejected);
        });
    }
    emit FinishEnded(result.result);
}

void CWizard::reject() {
    if (finishing_) return;
    wait_->hide();
    QDialog::reject();
}

void CWizard::closeEvent(QCloseEvent* event) {
    if (finishing_) {
        event->ignore();
        return;
    }
    wait_->hide();
    if (restarted_) {
        event->accept();
        done(QDialog::Accepted);
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace velorin
