#include "ui/presenter.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPrinter>
#include <QProcess>
#include <QUrl>

#include "app/port_dialog.h"

namespace velorin {

namespace {
QMessageBox::Icon ToQt(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Information: return QMessageBox::Information;
        case BoxIcon::Warning: return QMessageBox::Warning;
        case BoxIcon::Error: return QMessageBox::Critical;
        case BoxIcon::Question: return QMessageBox::Question;
        case BoxIcon::None: break;
    }
    return QMessageBox::NoIcon;
}
}  // namespace

void WidgetPresenter::Message(const QString& text, const QString& caption, BoxIcon icon) {
    QMessageBox box(ToQt(icon), caption.isEmpty() ? QStringLiteral("Velorin") : caption, text, QMessageBox::Ok, owner_);
    box.exec();
}

bool WidgetPresenter::AskOkCancel(const QString& text, const QString& caption, BoxIcon icon) {
    QMessageBox box(ToQt(icon), caption, text, QMessageBox::Ok | QMessageBox::Cancel, owner_);
    return box.exec() == QMessageBox::Ok;
}

QString WidgetPresenter::ChoosePort(const QString& title) {
    CSetComDlg dialog(title, owner_);
    return dialog.exec() == QDialog::Accepted ? dialog.PortText() : QString();
}

void WidgetPresenter::OpenWithDesktop(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

void WidgetPresenter::RestartProgram() {
    QProcess::startDetached(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
    std::exit(0);
}

QString WidgetPresenter::AskOpenFile(const QString& filter) {
    return QFileDialog::getOpenFileName(owner_, QString(), QString(), filter);
}

QString WidgetPresenter::AskSaveFile(const QString& filter) {
    return QFileDialog::getSaveFileName(owner_, QString(), QString(), filter);
}

QString WidgetPresenter::AskSaveFileAs(const QStringList& filters, int& chosen) {
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    chosen = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return dialog.selectedFiles().first();
}

QStringList WidgetPresenter::PrinterNames() { return QPrinterInfo::availablePrinterNames(); }

bool WidgetPresenter::ChoosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, owner_);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace velorin

namespace velorin {
int WidgetPresenter::Exec(QDialog& dialog) { return dialog.exec(); }
}  // namespace velorin
