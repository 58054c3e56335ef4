// CProgress1Dlg: the modeless history download dialog. It starts the download engine on a
// worker thread, shows its progress, and at OK stores the data set and opens it as a data
// window; Cancel or closing abandons it.
//
// Threading: the dialog lives on the GUI thread. Start submits a Download job to the LinkWorker:
// RunDownload runs on the link thread over a Job that the dialog and the link thread share
// (buffer, hooks, result), so nothing the job touches goes away with the window. Progress and
// the end of the job come back as queued calls that check a QPointer to the dialog first. The
// dialog's destructor cancels the job; every pause of the engine wakes up at once on cancel, so
// the link is free again after at most one exchange.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "device/device_info.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace velorin {

enum class Language;
class CancelToken;
class LinkWorker;
class Presenter;
struct DownloadTiming;
struct RecordSet;

class CProgress1Dlg : public QDialog {
    Q_OBJECT
public:
    struct Inputs {
        QString targetPath;             // a .kv path the user chose; empty otherwise
        bool saveToChosenPath = false;  // set only when the user chose a path
    };
    struct Hooks {
        // Opens the stored data set as a new data window: the file at `path`, already read back
        // into `stored` (the window takes it over; no second read of the file).
        std::function<bool(const QString& path, std::unique_ptr<RecordSet> stored)> openFile;
        // The dialog has ended: `stored` after OK stored a file, false after Cancel, close, or
        // OK after a download that brought nothing to store.
        std::function<void(bool stored)> ended;
        // A line for the status bar (where the file went when the usual folder was unusable).
        std::function<void(const QString& text)> status;
    };

    CProgress1Dlg(LinkWorker& worker, const DeviceInfo& info, Language language, Presenter& presenter, Inputs inputs,
                  Hooks hooks, QWidget* parent = nullptr);
    ~CProgress1Dlg() override;

    // Tests: shorter pauses (before Start), where storing puts the default route's folder.
    void SetTiming(const DownloadTiming& timing);
    void SetExecutableFolder(const std::string& folder) { executableFolder_ = folder; }

    // Submits the Download job and starts the animation timer (the dialog's initialisation).
    void Start();

    bool WorkerFinished() const { return workerDone_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QString StatusText() const;
    int ProgressValue() const;
    int ProgressMaximum() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;  // Escape

private:
    struct Job;
    void Animate();
    void SetBlockRange(int blockCount);
    void OnWorkerFinished();
    void OnOk();
    void Abandon();
    void End(bool stored);

    LinkWorker& worker_;
    DeviceInfo info_;  // a copy: the download reads it while the GUI may refill its own
    Language language_;
    Presenter& presenter_;
    Inputs inputs_;
    Hooks hooks_;
    std::string executableFolder_;
    std::shared_ptr<Job> job_;
    std::shared_ptr<CancelToken> token_;  // the Download job's
    bool started_ = false;
    bool workerDone_ = false;
    bool ended_ = false;
    int animationPhase_ = 0;

    QProgressBar* progress_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace velorin
