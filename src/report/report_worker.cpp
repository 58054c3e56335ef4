#include "report/report_worker.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <atomic>
#include <thread>

#include "common/format.h"
#include "history/record_set.h"
#include "report/pdf_report.h"
#include "report/report_texts.h"
#include "ui/gui_text.h"

namespace velorin {

PdfResult RunReportInBackground(QWidget* parent, const RecordSet& set, const std::string& path,
                                const PdfOptions& options) {
    const ReportTexts& texts = ReportTextsFor(options.display.language);
    QProgressDialog dialog(parent);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setCancelButtonText(FromUtf8(texts.cancel));
    dialog.setLabelText(FromUtf8(FormatC(texts.progress.c_str(), 0, 1)));
    dialog.setRange(0, 1);
    dialog.setValue(0);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);

    // The worker's own data: it is joined before this function returns, so the dialog, the loop
    // and these outlive it; events it posted to the dialog and not yet handled die with it.
    std::atomic<bool> cancel{false};
    RecordSet copy = set;
    PdfOptions own = options;
    PdfResult result;
    QEventLoop loop;
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [&cancel] { cancel = true; });
    QProgressDialog* shown = &dialog;
    own.progress = [&cancel, shown, &texts](int page, int total) {
        QMetaObject::invokeMethod(
            shown,
            [shown, page, total, &texts] {
                shown->setMaximum(total);
                shown->setValue(page);
                shown->setLabelText(FromUtf8(FormatC(texts.progress.c_str(), page, total)));
            },
            Qt::QueuedConnection);
        return !cancel.load();
    };
    std::thread worker([&] {
        result = ExportPdf(copy, path, own);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    dialog.show();
    loop.exec();
    worker.join();
    return result;
}

}  // namespace velorin
