// A Presenter with scripted answers that records what the program showed, for GUI tests.
#pragma once

#include <QDialog>
#include <QPrinter>
#include <QStringList>
#include <deque>
#include <functional>

#include "ui/presenter.h"

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
    // Called while a question is open (before it is answered), e.g. to press buttons meanwhile.
    std::function<void(const QString& text)> duringQuestion;
    // Runs a modal dialog instead of the default (count it and answer Accepted).
    std::function<int(QDialog&)> onExec;

    bool AskOkCancel(const QString& text, const QString& caption, BoxIcon icon) override {
        questions.push_back({text, caption, icon});
        if (duringQuestion) duringQuestion(text);
        if (answers.empty()) return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QString ChoosePort(const QString&) override { return portAnswer; }
    void OpenWithDesktop(const QString& path) override { opened << path; }
    void RestartProgram() override { ++restarts; }
    // What the Open dialog answers (empty: cancelled).
    QString openFileAnswer;
    QString AskOpenFile(const QString&) override { return openFileAnswer; }
    QString saveAnswer;  // what the save dialog returns (empty: cancelled)
    QString AskSaveFile(const QString&) override { return saveAnswer; }
    QStringList saveAsFilters;   // what the Save As dialog offered
    int saveAsFilterAnswer = 1;  // the filter "chosen" there (1-based)
    QString AskSaveFileAs(const QStringList& filters, int& chosen) override {
        saveAsFilters = filters;
        chosen = saveAsFilterAnswer;
        return saveAnswer;
    }
    // Where a print goes (a PDF file); empty: the print dialog is cancelled.
    QString printTo;
    int printDialogs = 0;
    QPageLayout::Orientation printOrientation = QPageLayout::Portrait;  // as the dialog opened
    bool ChoosePrinter(QPrinter& printer) override {
        ++printDialogs;
        printOrientation = printer.pageLayout().orientation();
        if (printTo.isEmpty()) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printTo);
        return true;
    }
    QStringList printers{QStringLiteral("Test printer")};
    QStringList PrinterNames() override { return printers; }
    int Exec(QDialog& dialog) override {
        ++dialogs;
        if (onExec) return onExec(dialog);
        return QDialog::Accepted;
    }
};

}  // namespace velorin::test
