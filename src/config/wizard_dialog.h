// CWizard: the modal setup wizard with its five pages, and CDwait, the wait window shown while
// the logger is being configured and restarted.
//
// Threading: the wizard lives on the GUI thread. Next on the last page collects the entries from
// the pages (GUI thread) and submits a WizardFinish job to the LinkWorker with a copy of
// DeviceInfo. The job's message boxes and questions are handed to the GUI thread and wait for
// the user's answer there (blocking queued calls); the wait window is shown and closed with
// queued calls; the result (and the changed DeviceInfo) comes back in the job's done call. While
// the sequence runs the wizard does not end (Cancel, Escape and closing are ignored) and Next
// does not start it again, so the wizard outlives the job that calls back into it (the
// destructor waits for a job that has started and not ended; this happens only when the link is
// shut down under it).
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <string>
#include <memory>

#include "config/finish_sequence.h"
#include "device/device_info.h"

class QPushButton;

namespace velorin {

enum class Language;
class CStep1;
class CStep2;
class CStep3;
class CStep4;
class CStep5;
class LinkWorker;
class Presenter;

// A borderless 250 × 60 popup with one picture: green text on a light background.
class CDwait : public QWidget {
    Q_OBJECT
public:
    CDwait(const std::string& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

class CWizard : public QDialog {
    Q_OBJECT
public:
    // The caller opens the port the wizard keeps (a WizardPort job, see RunSetupWizard). `info`
    // is read when the wizard opens and takes the changes the finish sequence made when it ends.
    CWizard(LinkWorker& worker, DeviceInfo& info, Language language, Presenter& presenter, QWidget* parent = nullptr);
    ~CWizard() override;

    int CurrentStep() const { return currentStep_; }
    bool Restarted() const { return restarted_; }
    // The finish sequence ended with the logger restarted, on either link: the settings it holds
    // now are the ones DeviceInfo holds.
    bool Succeeded() const { return succeeded_; }
    bool Finishing() const { return finishing_; }
    // Tests: the computer's clock as the finish sequence reads it.
    void SetClock(std::function<CDealTime()> now) { now_ = std::move(now); }

    QPushButton* PreviousButton() const { return previous_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* CancelButton() const { return cancel_; }
    CStep1* Step1() const { return step1_; }
    CStep2* Step2() const { return step2_; }
    CStep3* Step3() const { return step3_; }
    CStep4* Step4() const { return step4_; }
    CStep5* Step5() const { return step5_; }
    CDwait* WaitWindow() const { return wait_; }
    const FinishResult& LastResult() const { return lastResult_; }
    // Cancel and Escape: ends the wizard with Cancel, except while the finish sequence runs.
    void reject() override;

signals:
    // The finish sequence has ended and its result was applied (GUI thread).
    void FinishEnded(int result);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowStep();
    void OnNext();
    void OnPrevious();
    void StartFinish();
    void OnFinished(const FinishResult& result, const DeviceInfo& changed);
    void PlaceWaitWindow(bool shown);
    WizardEntries CollectEntries() const;

    struct JobState;
    LinkWorker& worker_;
    DeviceInfo& info_;
    Language language_;
    Presenter& presenter_;
    std::function<CDealTime()> now_;
    int currentStep_ = 1;
    bool restarted_ = false;
    bool finishing_ = false;
    bool succeeded_ = false;
    FinishResult lastResult_;
    std::shared_ptr<JobState> job_;

    CStep1* step1_ = nullptr;
    CStep2* step2_ = nullptr;
    CStep3* step3_ = nullptr;
    CStep4* step4_ = nullptr;
    CStep5* step5_ = nullptr;
    CDwait* wait_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace velorin
