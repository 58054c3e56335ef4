// The setup wizard and the clock calibration dialog run from the main frame against the
// in-process simulator, with scripted answers: page filling, navigation and captions, the finish
// sequence on its worker (and what the wizard refuses while it runs), the panel refill after OK,
// and the clock dialog's sequence, its cancel and its silent-logger texts.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <QElapsedTimer>
#include <cstdlib>

#include "app/property_panel.h"
#include "config/clock_dialog.h"
#include "config/wizard_dialog.h"
#include "config/wizard_pages.h"
#include "device/frame.h"
#include "gui/frame_fixture.h"
#include "history/download_dialog.h"
#include "ui/command_ids.h"

namespace velorin {
namespace {

using test::MainFrameTest;
using test::WaitFor;

// Saves a picture of a window when VELORIN_SCREENSHOTS names a folder.
void Shot(QWidget& w, const QString& name) {
    const char* folder = std::getenv("VELORIN_SCREENSHOTS");
    if (folder != nullptr) w.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + name + ".png");
}

void ToLastPage(CWizard& w) {
    while (w.CurrentStep() < 5) w.NextButton()->click();
}

// Presses Next on the last page and waits until the sequence has ended.
void Finish(CWizard& w) {
    int ended = 0;
    QObject::connect(&w, &CWizard::FinishEnded, &w, [&ended](int) { ++ended; });
    w.NextButton()->click();
    ASSERT_TRUE(WaitFor([&] { return ended > 0; }, 30000));
    WaitFor([&] { return !w.isVisible(); }, 200);  // the posted close, when there is one
}

class ConfigDialogs : public MainFrameTest {
protected:
    CMainFrame& Connected(const char* language) {
        WriteLanguageFile(language);
        StartSimulator(false);
        CMainFrame& frame = Frame();
        EXPECT_TRUE(ConnectAndWait(frame));
        return frame;
    }
    // Start-up detection finds the logger and the automatic download opens; it is cancelled and
    // Connect takes the USB link.
    CMainFrame& ConnectedOverUsb() {
        WriteLanguageFile("English");
        StartSimulator(true);
        CMainFrame& frame = Frame({false, true, false});
        EXPECT_TRUE(WaitFor([&] { return frame.Download() != nullptr; }, 20000));
        if (frame.Download() != nullptr) frame.Download()->CancelButton()->click();
        EXPECT_TRUE(WaitFor([&] { return frame.Download() == nullptr; }));
        EXPECT_TRUE(ConnectAndWait(frame));
        return frame;
    }
};

TEST_F(ConfigDialogs, WizardOpensWithTheLoggerSettingsAndNavigatesWithoutSending) {
    CMainFrame& frame = Connected("English");
    bool ran = false;
    presenter_.onExec = [&](QDialog& d) {
        auto* w = qobject_cast<CWizard*>(&d);
        EXPECT_NE(w, nullptr);
        if (w == nullptr) return int(QDialog::Rejected);
        ran = true;
        w->show();
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Parameter Setting Wizard"));
        EXPECT_TRUE(link_.serial.IsOpen());  // kept open while the wizard is shown
        EXPECT_FALSE(w->PreviousButton()->isEnabled());
        EXPECT_EQ(w->NextButton()->text(), QStringLiteral("Next step"));
        EXPECT_EQ(w->PreviousButton()->text(), QStringLiteral("Previous step"));
        EXPECT_EQ(w->Step1()->UserName()->text(), QStringLiteral("Velorin demo"));
        EXPECT_EQ(w->Step2()->Interval()->time(), QTime(0, 1, 0));
        EXPECT_TRUE(w->Step3()->Normal()->isChecked());
        // English labels in DeviceInfo, read by meaning.
        EXPECT_TRUE(w->Step4()->Automatic()->isChecked());
        EXPECT_EQ(w->Step4()->StartBox()->currentText(), QStringLiteral("立即启动"));
        EXPECT_EQ(w->Step4()->StopBox()->currentText(), QStringLiteral("存储器满停止"));
        EXPECT_FALSE(w->Step4()->StartDate()->isEnabled());
        EXPECT_EQ(w->Step5()->Upper(0)->text(), QStringLiteral("30.0"));
        EXPECT_EQ(w->Step5()->Lower(1)->text(), QStringLiteral("30.0"));
        EXPECT_TRUE(w->Step5()->On(0)->isChecked());
        EXPECT_FALSE(w->Step5()->Upper(4)->isEnabled());  // channel 5 is not recorded
        EXPECT_TRUE(w->Step5()->Upper(4)->text().isEmpty());

        for (int step = 1; step <= 5; ++step) {
            EXPECT_EQ(w->CurrentStep(), step);
            EXPECT_TRUE(w->Step1()->isVisible() == (step == 1));
            EXPECT_TRUE(w->Step4()->isVisible() == (step == 4));
            Shot(*w, QStringLiteral("wizard-en-%1").arg(step));
            if (step < 5) w->NextButton()->click();
        }
        EXPECT_EQ(w->NextButton()->text(), QStringLiteral("完  成"));
        Shot(*w->WaitWindow(), QStringLiteral("wait-window"));
        w->PreviousButton()->click();
        EXPECT_EQ(w->NextButton()->text(), QStringLiteral("下一步"));
        EXPECT_EQ(w->CurrentStep(), 4);
        // Choosing the timed start enables its pickers.
        QComboBox* start = w->Step4()->StartBox();
        start->setCurrentIndex(1);
        emit start->activated(1);
        EXPECT_TRUE(w->Step4()->StartDate()->isEnabled());
        w->Step4()->Manual()->click();
        EXPECT_FALSE(start->isEnabled());
        EXPECT_FALSE(w->Step4()->StartDate()->isEnabled());
        w->CancelButton()->click();
        EXPECT_FALSE(w->isVisible());
        return w->result();
    };
    frame.RunCommand(ID_SETUP_WIZARD);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(presenter_.questions.empty());
    EXPECT_EQ(server_->State().recordCount, 1000u);
}

// Page 1 says when a user name or title will be shortened, and what the logger will hold.
void ExpectShortenedNote(test::ScriptedPresenter& presenter, CMainFrame& frame, const char* language) {
    bool ran = false;
    presenter.onExec = [&](QDialog& d) {
        auto* w = qobject_cast<CWizard*>(&d);
        if (w == nullptr) return int(QDialog::Rejected);
        ran = true;
        w->show();
        QLabel* note = w->Step1()->ShortenedNote();
        EXPECT_TRUE(note->isHidden());
        // 29 ASCII bytes and a Chinese character: the character does not fit the 30 bytes.
        w->Step1()->UserName()->setText(QString(29, QLatin1Char('u')) + QStringLiteral("温"));
        EXPECT_FALSE(note->isHidden());
        EXPECT_TRUE(note->text().contains(QString(29, QLatin1Char('u')))) << note->text().toStdString();
        EXPECT_FALSE(note->text().contains(QStringLiteral("温")));
        EXPECT_TRUE(note->text().startsWith(std::string(language) == "English" ? QStringLiteral("The user name")
                                                                               : QStringLiteral("用户名")));
        Shot(*w, QStringLiteral("wizard-shortened-%1").arg(QString::fromLatin1(language)));
        w->Step1()->UserName()->setText(QStringLiteral("short"));
        EXPECT_TRUE(note->isHidden());
        w->CancelButton()->click();
        return w->result();
    };
    frame.RunCommand(ID_SETUP_WIZARD);
    EXPECT_TRUE(ran) << language;
}

TEST_F(ConfigDialogs, PageOneSaysWhenAUserNameWillBeShortenedInEnglish) {
    ExpectShortenedNote(presenter_, Connected("English"), "English");
}

TEST_F(ConfigDialogs, PageOneSaysWhenAUserNameWillBeShortenedInChinese) {
    ExpectShortenedNote(presenter_, Connected("Chinese"), "Chinese");
}

TEST_F(ConfigDialogs, FinishingWritesTheLoggerRefusesToEndMeanwhileAndRefillsThePanel) {
    CMainFrame& frame = Connected("Chinese");
    CWizard* wizard = nullptr;
    int blockedWhileAsking = 0;
    presenter_.duringQuestion = [&](const QString&) {
        // The sequence is running: neither Cancel, Escape, closing nor Next may end or restart it.
        if (wizard == nullptr) return;
        wizard->CancelButton()->click();
        wizard->reject();
        wizard->close();
        wizard->NextButton()->click();
        if (wizard->isVisible() && wizard->Finishing()) ++blockedWhileAsking;
    };
    presenter_.onExec = [&](QDialog& d) {
        wizard = qobject_cast<CWizard*>(&d);
        wizard->show();
        wizard->Step1()->UserName()->setText(QStringLiteral("新用户"));
        wizard->Step2()->Interval()->setTime(QTime(0, 0, 30));
        wizard->Step3()->Saving()->setChecked(true);
        wizard->Step5()->Upper(0)->setText(QStringLiteral("25.9"));
        wizard->Step5()->Lower(0)->setText(QStringLiteral("25.1"));
        Shot(*wizard, QStringLiteral("wizard-zh-1"));
        ToLastPage(*wizard);
        Shot(*wizard, QStringLiteral("wizard-zh-5"));
        Finish(*wizard);
        return wizard->result();
    };
    frame.RunCommand(ID_SETUP_WIZARD);
    EXPECT_EQ(blockedWhileAsking, 1);
    ASSERT_EQ(presenter_.questions.size(), 1u);  // asked once: the sequence did not start twice
    EXPECT_EQ(presenter_.questions[0].text, QStringLiteral("您确定要重启记录仪并清除记录吗？"));
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("记录仪重启成功"));

    const sim::LoggerState s = server_->State();
    EXPECT_EQ(s.powerMode, 0x80);
    EXPECT_EQ(s.intervalSeconds, 30u);
    EXPECT_EQ(s.channels[0].upperAlarmX10, 259);
    EXPECT_EQ(s.channels[0].lowerAlarmX10, 251);
    EXPECT_EQ(s.recordCount, 0u);
    const QStringList panel = frame.Panel()->TreeText();
    EXPECT_TRUE(panel.contains(QStringLiteral("  用 户 名：新用户"))) << panel.join('\n').toStdString();
    EXPECT_TRUE(panel.contains(QStringLiteral("  记录次数：0")));
    EXPECT_TRUE(panel.contains(QStringLiteral("  功耗模式：省电模式")));
}

TEST_F(ConfigDialogs, AFinishOverUsbRefillsThePanel) {
    CMainFrame& frame = ConnectedOverUsb();
    ASSERT_EQ(link_.currentPort, HID_LINK_PORT);
    int result = -1;
    presenter_.onExec = [&](QDialog& d) {
        auto* w = qobject_cast<CWizard*>(&d);
        w->show();
        w->Step1()->UserName()->setText(QStringLiteral("USB user"));
        ToLastPage(*w);
        Finish(*w);
        result = w->result();
        return result;
    };
    frame.RunCommand(ID_SETUP_WIZARD);
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("记录仪重启成功"));
    EXPECT_EQ(result, QDialog::Accepted);
    const QStringList panel = frame.Panel()->TreeText();
    EXPECT_TRUE(panel.contains(QStringLiteral("  User Name:USB user"))) << panel.join('\n').toStdString();
}

TEST_F(ConfigDialogs, ARefusedEntryKeepsTheWizardOnItsLastPageAndSendsNothing) {
    CMainFrame& frame = Connected("English");
    presenter_.onExec = [&](QDialog& d) {
        auto* w = qobject_cast<CWizard*>(&d);
        w->show();
        w->Step5()->Upper(1)->setText(QStringLiteral("24.9"));
        w->Step5()->Lower(1)->setText(QStringLiteral("25.0"));
        ToLastPage(*w);
        Finish(*w);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(w->CurrentStep(), 5);
        EXPECT_EQ(w->NextButton()->text(), QStringLiteral("完  成"));
        w->CancelButton()->click();
        return w->result();
    };
    frame.RunCommand(ID_SETUP_WIZARD);
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("通道2上限不能小于下限"));
    EXPECT_TRUE(presenter_.questions.empty());
    EXPECT_EQ(server_->State().recordCount, 1000u);
    EXPECT_EQ(server_->State().channels[1].upperAlarmX10, 700);
}

TEST_F(ConfigDialogs, AManualLoggerStaysManualInTheEnglishInterface) {
    WriteLanguageFile("English");
    StartSimulator(false);
    server_->UpdateState([](sim::LoggerState& s) {
        s.recordMode = 0;
        s.startMode = 3;
        s.stopMode = 4;
    });
    CMainFrame& frame = Frame();
    ASSERT_TRUE(ConnectAndWait(frame));
    presenter_.onExec = [&](QDialog& d) {
        auto* w = qobject_cast<CWizard*>(&d);
        w->show();
        ToLastPage(*w);
        EXPECT_TRUE(w->Step4()->Manual()->isChecked());
        EXPECT_FALSE(w->Step4()->StopBox()->isEnabled());
        Shot(*w->Step4(), QStringLiteral("wizard-en-manual-page4"));
        Finish(*w);
        return w->result();
    };
    frame.RunCommand(ID_SETUP_WIZARD);
    const sim::LoggerState s = server_->State();
    EXPECT_EQ(s.recordMode, 0);
    EXPECT_EQ(s.startMode, 3);
    EXPECT_EQ(s.stopMode, 4);
    EXPECT_EQ(s.recordCount, 0u);
}

TEST_F(ConfigDialogs, ClockDialogClearsThenSetsThePickedTime) {
    CMainFrame& frame = Connected("Chinese");
    presenter_.onExec = [&](QDialog& d) {
        auto* c = qobject_cast<CTimeAdjDlg*>(&d);
        c->show();
        EXPECT_EQ(c->windowTitle(), QStringLiteral("时间校准"));
        EXPECT_TRUE(c->AlignButton()->isChecked());
        EXPECT_FALSE(c->DatePicker()->isEnabled());
        EXPECT_TRUE(c->TimeField()->text().contains(QStringLiteral("年")));
        Shot(*c, QStringLiteral("clock-zh"));
        c->ManualButton()->click();
        EXPECT_TRUE(c->DatePicker()->isEnabled());
        EXPECT_FALSE(c->TimeField()->isEnabled());
        // Years beyond what the year byte holds cannot be picked.
        c->DatePicker()->setDate(QDate(2300, 1, 1));
        EXPECT_EQ(c->DatePicker()->date(), QDate(2255, 12, 31));
        c->DatePicker()->setDate(QDate(1999, 1, 1));
        EXPECT_EQ(c->DatePicker()->date(), QDate(2000, 1, 1));
        c->DatePicker()->setDate(QDate(2031, 2, 3));
        c->TimePicker()->setTime(QTime(4, 5, 6));
        c->OkButton()->click();
        return c->result();
    };
    frame.RunCommand(ID_UPDATE_TIME);
    ASSERT_EQ(presenter_.questions.size(), 1u);
    EXPECT_EQ(presenter_.questions[0].text, QStringLiteral("原有记录将被清除，请确保历史数据已下载已保存"));
    EXPECT_EQ(presenter_.questions[0].caption, QStringLiteral("修改参数"));
    EXPECT_TRUE(presenter_.messages.empty());
    const sim::LoggerState s = server_->State();
    EXPECT_EQ(s.recordCount, 0u);
    EXPECT_EQ(sim::SecondsToCivil(sim::HostNowCivil() + s.clockOffset).year, 2031);
    EXPECT_TRUE(frame.Panel()->TreeText().contains(QStringLiteral("  记录次数：0")));
    EXPECT_FALSE(link_.serial.IsOpen());
}

TEST_F(ConfigDialogs, ClockCalibrationLeavesTheWindowPaintingDuringASlowExchange) {
    CMainFrame& frame = ConnectedOverUsb();
    ASSERT_EQ(link_.currentPort, HID_LINK_PORT);
    frame.show();
    // The library's answer to the clear comes 1.2 s late (it waits up to 2 s).
    sim::FaultPlan late;
    late.kind = sim::FaultKind::Late;
    late.command = cmd::ClearAndRestart;
    late.parameter = 1200;
    server_->SetFaultPlan(late);
    int ticks = 0;
    bool okDisabledMeanwhile = false;
    CTimeAdjDlg* dialog = nullptr;
    QTimer painter;
    QObject::connect(&painter, &QTimer::timeout, [&] {
        ++ticks;
        frame.repaint();
        if (dialog != nullptr && dialog->Calibrating()) {
            okDisabledMeanwhile = !dialog->OkButton()->isEnabled();
            dialog->reject();  // refused while the exchanges run
        }
    });
    painter.start(50);
    int result = -1;
    presenter_.onExec = [&](QDialog& d) {
        dialog = qobject_cast<CTimeAdjDlg*>(&d);
        dialog->show();
        dialog->OkButton()->click();
        result = dialog->result();
        dialog = nullptr;
        return result;
    };
    QElapsedTimer clock;
    clock.start();
    frame.RunCommand(ID_UPDATE_TIME);
    EXPECT_GT(clock.elapsed(), 900) << "the clear's reply came late";
    EXPECT_GE(ticks, 8) << "the GUI thread served its timer during the exchange";
    EXPECT_TRUE(okDisabledMeanwhile);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(server_->State().recordCount, 0u);
    EXPECT_TRUE(frame.Panel()->TreeText().contains(QStringLiteral("  Rec Num:0")));
}

TEST_F(ConfigDialogs, ClockDialogCancelSendsNothingAndASilentLoggerGivesBothTextsOnce) {
    CMainFrame& frame = Connected("English");
    int result = -1;
    presenter_.onExec = [&](QDialog& d) {
        auto* c = qobject_cast<CTimeAdjDlg*>(&d);
        c->show();
        Shot(*c, QStringLiteral("clock-en"));
        c->OkButton()->click();
        result = c->result();
        return result;
    };
    presenter_.answers = {false};
    frame.RunCommand(ID_UPDATE_TIME);
    // A cancelled question ends the dialog with OK, sends nothing and keeps the count.
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(server_->State().recordCount, 1000u);
    EXPECT_EQ(frame.Info().storedRecordCount, 1000);
    EXPECT_TRUE(frame.Panel()->TreeText().contains(QStringLiteral("  Rec Num:1000")));
    result = -1;

    server_.reset();  // the logger is gone
    frame.RunCommand(ID_UPDATE_TIME);
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_EQ(presenter_.messages.size(), 2u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("无法清除数据"));
    EXPECT_EQ(presenter_.messages[1].text, QStringLiteral("时钟没有正确设置!"));
    // The records were not cleared: the panel keeps its count.
    EXPECT_TRUE(frame.Panel()->TreeText().contains(QStringLiteral("  Rec Num:1000")));
}

}  // namespace
}  // namespace velorin
