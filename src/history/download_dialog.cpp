#include "history/download_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "app/link_worker.h"
#include "common/cancel_token.h"
#include "common/format.h"
#include "common/texts.h"
#include "history/block_codec.h"
#include "history/download_engine.h"
#include "history/download_store.h"
#include "history/record_set.h"
#include "ui/gui_text.h"
#include "ui/presenter.h"

namespace velorin {

// What the dialog and its worker share; it outlives whichever of them ends last.
struct CProgress1Dlg::Job {
    DownloadBuffer buffer;
    DownloadHooks hooks;
    DownloadResult result;
    std::mutex mutex;
    std::condition_variable wake;  // cuts a pause short when the download is cancelled

    void Cancel() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            hooks.cancelRequested = true;
        }
        wake.notify_all();
    }
};

namespace {

// Dialog units of the dialog's font to pixels (a quarter of the average character width,
// an eighth of the character height).
QRect DialogUnits(const QFontMetrics& fm, int x, int y, int w, int h) {
    const double ux = fm.averageCharWidth() / 4.0, uy = fm.height() / 8.0;
    return QRect(qRound(x * ux), qRound(y * uy), qRound(w * ux), qRound(h * uy));
}

const QColor kBackground(80, 105, 110);

// A file name (bytes of the file system) as UTF-8 text for a message.
std::string PathText(const std::string& path) { return QFile::decodeName(path.c_str()).toStdString(); }

}  // namespace

CProgress1Dlg::CProgress1Dlg(LinkWorker& worker, const DeviceInfo& info, Language language, Presenter& presenter,
                             Inputs inputs, Hooks hooks, QWidget* parent)
    : QDialog(parent),
      worker_(worker),
      info_(info),
      language_(language),
      presenter_(presenter),
      inputs_(std::move(inputs)),
      hooks_(std::move(hooks)),
      job_(std::make_shared<Job>()) {
    setModal(false);
    setWindowTitle(FromUtf8(TextsFor(language_).downloadCaption));
    const QFontMetrics fm(font());
    setFixedSize(DialogUnits(fm, 0, 0, 182, 83).size());
    progress_ = new QProgressBar(this);
    progress_->setGeometry(DialogUnits(fm, 24, 8, 118, 14));
    progress_->setTextVisible(false);
    progress_->setRange(0, 0);
    progress_->setValue(0);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setGeometry(DialogUnits(fm, 44, 44, 29, 14));
    ok_->setEnabled(false);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setGeometry(DialogUnits(fm, 88, 44, 29, 14));
    status_ = new QLabel(FromUtf8(TextsFor(language_).downloadStarting), this);
    // The template's 99 units cut "Downloading data, please wait" (and the dots after it) in
    // this font: the text may run on to the dialog's right margin.
    status_->setGeometry(DialogUnits(fm, 35, 30, 143, 14));
    status_->setAttribute(Qt::WA_TranslucentBackground);
    status_->setStyleSheet(QStringLiteral("background: transparent"));
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &CProgress1Dlg::Animate);
    connect(ok_, &QPushButton::clicked, this, &CProgress1Dlg::OnOk);
    connect(cancel_, &QPushButton::clicked, this, &CProgress1Dlg::Abandon);
}

CProgress1Dlg::~CProgress1Dlg() {
    job_->Cancel();
    if (token_) token_->Cancel();
}

void CProgress1Dlg::SetTiming(const DownloadTiming& timing) { job_->hooks.timing = timing; }

void CProgress1Dlg::Start() {
    if (started_ || workerDone_) return;
    started_ = true;
    QPointer<CProgress1Dlg> guard(this);
    std::shared_ptr<Job> job = job_;
    DownloadHooks& hooks = job->hooks;
    hooks.setRange = [guard](int blockCount) {
        QMetaObject::invokeMethod(
            qApp,
            [guard, blockCount] {
                if (guard) guard->SetBlockRange(blockCount & 0xFFFF);
            },
            Qt::QueuedConnection);
    };
    hooks.setPosition = [guard](int position) {
        QMetaObject::invokeMethod(
            qApp,
            [guard, position] {
                if (guard) guard->progress_->setValue(position);
            },
            Qt::QueuedConnection);
    };
    Job* raw = job.get();
    hooks.wait = [raw](int milliseconds) {
        std::unique_lock<std::mutex> lock(raw->mutex);
        raw->wake.wait_for(lock, std::chrono::milliseconds(milliseconds),
                           [raw] { return raw->hooks.cancelRequested.load(); });
    };
    animationPhase_ = 1;
    timer_->start(500);
    // A Download job. Cancelled before it starts (the dialog closed at once), it never runs.
    token_ = worker_.Submit(
        LinkJobKind::Download,
        [job, info = info_, language = language_](Link& link, CancelToken&) {
            job->result = RunDownload(link, info, job->buffer, job->hooks, language);
        },
        [guard](bool) {
            if (guard) guard->OnWorkerFinished();
        });
}

void CProgress1Dlg::Animate() {
    static const char* const kDots[4] = {"", "·", "··", "···"};
    status_->setText(FromUtf8(Fixed().downloading) + QString::fromUtf8(kDots[animationPhase_]));
    animationPhase_ = (animationPhase_ + 1) % 4;
}

void CProgress1Dlg::SetBlockRange(int blockCount) {
    // Qt draws a 0 … 0 range as a busy indicator; no blocks is an empty bar.
    progress_->setRange(0, blockCount > 0 ? blockCount : 1);
    progress_->setValue(0);
}

void CProgress1Dlg::OnWorkerFinished() {
    workerDone_ = true;
    timer_->stop();
    if (job_->hooks.cancelRequested) return;
    // A count that never came leaves the bar at its busy indicator: it ends empty.
    if (progress_->maximum() == 0) SetBlockRange(0);
    for (const DownloadWarning& w : job_->result.warnings)
        presenter_.Message(FromUtf8(w.text), QString(), BoxIcon::None);
    const bool nothing = PlanStore(job_->result) == StorePlan::Nothing;
    if (!nothing && HasUnstorableChannels(info_)) {
        presenter_.Message(FromUtf8(TextsFor(language_).channelsNotStorable), QString(), BoxIcon::Warning);
    }
    ok_->setEnabled(true);
    // With nothing to store, OK only closes the dialog: say so before it is pressed.
    status_->setText(nothing ? FromUtf8(TextsFor(language_).downloadNothingStored)
                             : FromUtf8(Fixed().downloadChooseButton));
}

void CProgress1Dlg::OnOk() {
    if (!workerDone_ || ended_) return;
    status_->setText(FromUtf8(Fixed().downloadShowing));
    status_->repaint();
    StoreOptions options;
    options.language = language_;
    if (inputs_.saveToChosenPath) options.targetPath = QFile::encodeName(inputs_.targetPath).toStdString();
    options.executableFolder = executableFolder_;
    StoreResult stored = StoreDownload(job_->buffer, info_, job_->result, options);
    const Texts& t = TextsFor(language_);
    if (stored.plan == StorePlan::Nothing) {
        End(false);
        return;
    }
    if (!stored.ok) {
        presenter_.Message(
            FromUtf8(FormatC(t.storeFailed.c_str(), PathText(stored.kvPath).c_str(), stored.detail.c_str())), QString(),
            BoxIcon::Warning);
    } else {
        if (stored.fallbackFolder && hooks_.status) {
            hooks_.status(FromUtf8(FormatC(t.storedInFallback.c_str(), PathText(stored.folder).c_str())));
        }
        if (!stored.keptPath.empty() && hooks_.status) {
            hooks_.status(FromUtf8(FormatC(t.partialStoredBeside.c_str(), PathText(stored.kvPath).c_str(),
                                           PathText(stored.keptPath).c_str())));
        }
        if (!inputs_.saveToChosenPath && !stored.csvWritten) {
            presenter_.Message(
                FromUtf8(FormatC(t.storeFailed.c_str(), PathText(stored.csvPath).c_str(), stored.detail.c_str())),
                QString(), BoxIcon::Warning);
        }
        if (hooks_.openFile) hooks_.openFile(QFile::decodeName(stored.kvPath.c_str()), std::move(stored.stored));
    }
    End(true);
}

void CProgress1Dlg::Abandon() {
    job_->Cancel();
    if (token_) token_->Cancel();
    End(false);
}

void CProgress1Dlg::End(bool stored) {
    if (ended_) return;
    ended_ = true;
    timer_->stop();
    if (hooks_.ended) hooks_.ended(stored);
    hide();
    deleteLater();
}

void CProgress1Dlg::closeEvent(QCloseEvent* event) {
    Abandon();
    event->accept();
}

void CProgress1Dlg::reject() { Abandon(); }

void CProgress1Dlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
}

QString CProgress1Dlg::StatusText() const { return status_->text(); }
int CProgress1Dlg::ProgressValue() const { return progress_->value(); }
int CProgress1Dlg::ProgressMaximum() const { return progress_->maximum(); }

}  // namespace velorin
