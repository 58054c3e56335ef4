// A Presenter with scripted answers that records what the program showed, for GUI tests.
#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

#include "app/presenter.h"

namespace velorin::test {

class ScriptedPresenter final : public Presenter {
public:
    struct Box {
        QString text, caption;
        BoxIcon icon;
    };
    std::vector<Box> messages;
    std::vector<Box> questions;
    std::deque<bool> answers;  // next AskOkCancel answers; OK when empty
    QString portAnswer = QStringLiteral("Com1");
    QStringList opened;
    int restarts = 0;
    int dialogs = 0;

    void Message(const QString& text, const QString& caption, BoxIcon icon) override {
        messages.push_back({text, caption, icon});
    }
    bool AskOkCancel(const QString& text, const QString& caption, BoxIcon icon) override {
        questions.push_back({text, caption, icon});
        if (answers.empty()) return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QString ChoosePort(const QString&) override { return portAnswer; }
    void OpenWithDesktop(const QString& path) override { opened << path; }
    void RestartProgram() override { ++restarts; }
    QString AskOpenFile(const QString&) override { return QString(); }
    QString saveAnswer;  // what the save dialog returns (empty: cancelled)
    QString AskSaveFile(const QString&) override { return saveAnswer; }
    // Plays the user's part in a dialog and returns its result; unset: Accepted untouched.
    std::function<int(QDialog&)> onExec;
    int Exec(QDialog& dialog) override {
        ++dialogs;
        return onExec ? onExec(dialog) : QDialog::Accepted;
    }
};

}  // namespace velorin::test
