// CWizard: the modal setup wizard with its five pages, and CDwait, the wait window shown while
// the logger is being configured and restarted.
//
// Threading: the wizard lives on the GUI thread. Next on the last page collects the entries from
// the pages (GUI thread) and starts the finish sequence on a worker thread with a copy of
// DeviceInfo. The worker's message boxes and questions are handed to the GUI thread and wait for
// the user's answer there (blocking queued calls); the wait window is shown and closed with
// queued calls; the result (and the changed DeviceInfo) comes back with a queued call. While the
// sequence runs the wizard does not end (Cancel, Escape and closing are ignored) and Next does
// not start it again. The destructor joins the worker; the wizard cannot be closed before the
// worker has ended, so it never waits on a worker that waits for it.
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <string>
#include <thread>

#include "config/finish_sequence.h"
#include "device/device_info.h"

class QPushButton;

namespace velorin {

class CStep1;
class CStep2;
class CStep3;
class CStep4;
class CStep5;
class Link;
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
    // Opening closes the serial port and, on the serial link, opens it again on currentPort; it
    // stays open after the wizard ends. `info` is read when the wizard opens and takes the
    // changes the finish sequence made when it ends.
    CWizard(Link& link, DeviceInfo& info, const std::string& languageName, Presenter& presenter,
            QWidget* parent = nullptr);
    ~CWizard() override;

    int CurrentStep() const { return currentStep_; }
    bool Restarted() const { return restarted_; }
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

    Link& link_;
    DeviceInfo& info_;
    std::string languageName_;
    Presenter& presenter_;
    std::function<CDealTime()> now_;
    int currentStep_ = 1;
    bool restarted_ = false;
    bool finishing_ = false;
    FinishResult lastResult_;
    std::thread worker_;

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
