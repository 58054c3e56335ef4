#include "config/wizard_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>

#include "app/link_worker.h"
#include "common/cancel_token.h"
#include "common/texts.h"
#include "config/config_texts.h"
#include "config/wizard_pages.h"
#include "device/device_reader.h"
#include "device/link.h"
#include "ui/gui_text.h"
#include "ui/presenter.h"
#include "ui/qt_messages.h"

namespace velorin {

namespace {
constexpr int kWaitWidth = 250;
constexpr int kWaitHeight = 60;
constexpr int kPageWidth = 520;
constexpr int kPageHeight = 330;
}  // namespace

// --- the wait window ---------------------------------------------------------------------------

CDwait::CDwait(const std::string& text, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), text_(FromUtf8(text) + QStringLiteral("……")) {
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

// Whether the finish job has started and ended (set on the link thread).
struct CWizard::JobState {
    std::atomic<bool> started{false};
    std::atomic<bool> ended{false};
};

CWizard::CWizard(LinkWorker& worker, DeviceInfo& info, Language language, Presenter& presenter, QWidget* parent)
    : QDialog(parent), worker_(worker), info_(info), language_(language), presenter_(presenter) {
    const ConfigTexts& t = ConfigTextsFor(language_);
    setWindowTitle(FromUtf8(t.wizardCaption));
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

    previous_ = new QPushButton(FromUtf8(t.previous), this);
    next_ = new QPushButton(FromUtf8(t.nextFirst), this);
    cancel_ = new QPushButton(FromUtf8(t.cancel), this);
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
}

CWizard::~CWizard() {
    // The job calls back into this wizard; it has ended unless the link was shut down under it.
    while (job_ && job_->started.load() && !job_->ended.load()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void CWizard::ShowStep() {
    QWidget* const pages[5] = {step1_, step2_, step3_, step4_, step5_};
    for (int i = 0; i < 5; ++i) pages[i]->setVisible(i + 1 == currentStep_);
    previous_->setEnabled(currentStep_ > 1);
}

void CWizard::OnNext() {
    const ConfigTexts& t = ConfigTextsFor(language_);
    previous_->setEnabled(true);
    if (currentStep_ >= 5) {
        StartFinish();
        return;
    }
    ++currentStep_;
    if (currentStep_ == 5) next_->setText(FromUtf8(t.finish));
    ShowStep();
}

void CWizard::OnPrevious() {
    if (finishing_) return;  // the sequence reads the last page's entries until it ends
    next_->setText(FromUtf8(ConfigTextsFor(language_).next));
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
    finishing_ = true;
    const WizardEntries entries = CollectEntries();
    const std::function<CDealTime()> now = now_;
    auto copy = std::make_shared<DeviceInfo>(info_);
    auto result = std::make_shared<FinishResult>();
    auto state = std::make_shared<JobState>();
    job_ = state;
    const Language language = language_;
    Presenter* presenter = &presenter_;
    // A WizardFinish job; `this` stays valid for its calls back (see the threading note).
    worker_.Submit(
        LinkJobKind::WizardFinish,
        [this, entries, now, copy, result, state, language, presenter](Link& link, CancelToken&) {
            state->started = true;
            QtMessages messages(this, *presenter, [](const QString&) {});
            FinishHooks hooks;
            hooks.now = now;
            hooks.ask = [this, presenter](const std::string& text, const std::string& caption) {
                bool answer = false;
                QMetaObject::invokeMethod(
                    this,
                    [presenter, &answer, text, caption] {
                        answer = presenter->AskOkCancel(FromUtf8(text), FromUtf8(caption), BoxIcon::Warning);
                    },
                    Qt::BlockingQueuedConnection);
                return answer;
            };
            hooks.waitWindow = [this](bool shown) {
                QMetaObject::invokeMethod(
                    this, [this, shown] { PlaceWaitWindow(shown); }, Qt::QueuedConnection);
            };
            *result = RunFinishSequence(link, *copy, entries, language, messages, hooks);
            // Over USB DeviceInfo does not take the settings as they are sent: after an
            // acknowledged restart they are read back, so the panel shows what the logger holds.
            if (result->outcome == FinishOutcome::HandedOver && result->restartAccepted) {
                DeviceInfo reread = *copy;
                if (ReadInfoHid(link, reread, TextsFor(language)) == HidInfoStatus::Decoded) {
                    if (ReadIdentityHid(link, reread)) ReadChannelsHid(link, reread);
                    *copy = reread;
                }
            }
            state->ended = true;
        },
        [this, copy, result](bool ran) {
            if (!ran) {
                finishing_ = false;  // the link went away before the sequence began
                return;
            }
            OnFinished(*result, *copy);
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
    // Settings written before a failure stay written, on the logger and here.
    info_ = changed;
    lastResult_ = result;
    finishing_ = false;
    if (result.result == 1) {
        restarted_ = result.restarted;
        // Over USB the library's acknowledged restart is the success the serial link's
        // `restarted` stands for.
        succeeded_ = result.restarted || (result.outcome == FinishOutcome::HandedOver && result.restartAccepted);
        QTimer::singleShot(0, this, [this] {
            wait_->hide();
            done(succeeded_ ? QDialog::Accepted : QDialog::Rejected);
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
    if (succeeded_) {
        event->accept();
        done(QDialog::Accepted);
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace velorin
