// Everything the shell asks of the user or of the desktop, behind one interface so that tests
// can script the answers: message boxes, questions, the port dialog, opening a help file and
// restarting the program.
//
// Threading: GUI thread only. Workers reach the user through QtMessages, which marshals here.
#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QPrinter;
class QWidget;

namespace velorin {

enum class BoxIcon { None, Information, Warning, Error, Question };

class Presenter {
public:
    virtual ~Presenter() = default;
    // A message the user acknowledges with OK.
    virtual void Message(const QString& text, const QString& caption, BoxIcon icon) = 0;
    // OK / Cancel question; true for OK.
    virtual bool AskOkCancel(const QString& text, const QString& caption, BoxIcon icon) = 0;
    // The serial port dialog: the combo box's text after OK, empty after Cancel.
    virtual QString ChoosePort(const QString& title) = 0;
    // Opens a file with the desktop's handler.
    virtual void OpenWithDesktop(const QString& path) = 0;
    // Starts a new instance of the program and ends this one with exit code 0.
    virtual void RestartProgram() = 0;
    // Asks for a data file to open; empty when cancelled.
    virtual QString AskOpenFile(const QString& filter) = 0;
    // Asks for a file name to save under; empty when cancelled.
    virtual QString AskSaveFile(const QString& filter) = 0;
    // The same with a choice of forms: `filters` are Qt name filters; `chosen` receives the
    // 1-based index of the filter selected. No default suffix is added; overwriting is confirmed.
    virtual QString AskSaveFileAs(const QStringList& filters, int& chosen) = 0;
    // The system print dialog, without its print-to-file option and page range; false when
    // cancelled. The printer's orientation is preset by the caller.
    virtual bool ChoosePrinter(QPrinter& printer) = 0;
    // The printers the system has installed (none: nothing can be printed).
    virtual QStringList PrinterNames() = 0;
    // Runs a modal dialog of the shell (the About box); returns its result code.
    virtual int Exec(QDialog& dialog) = 0;
};

// The real thing: Qt message boxes and dialogs.
class WidgetPresenter final : public Presenter {
public:
    explicit WidgetPresenter(QWidget* owner) : owner_(owner) {}
    void Message(const QString& text, const QString& caption, BoxIcon icon) override;
    bool AskOkCancel(const QString& text, const QString& caption, BoxIcon icon) override;
    QString ChoosePort(const QString& title) override;
    void OpenWithDesktop(const QString& path) override;
    void RestartProgram() override;
    QString AskOpenFile(const QString& filter) override;
    QString AskSaveFile(const QString& filter) override;
    QString AskSaveFileAs(const QStringList& filters, int& chosen) override;
    bool ChoosePrinter(QPrinter& printer) override;
    QStringList PrinterNames() override;
    int Exec(QDialog& dialog) override;

private:
    QWidget* owner_;
};

}  // namespace velorin
