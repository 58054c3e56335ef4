#include "report/save_as_command.h"

#include <QApplication>
#include <QStringList>

#include "common/texts.h"
#include "device/display_options.h"
#include "device/kvusb_loader.h"
#include "history/dastrel_doc.h"
#include "report/pdf_report.h"
#include "report/report_texts.h"
#include "report/report_worker.h"
#include "report/save_as.h"
#include "ui/gui_text.h"
#include "ui/presenter.h"

namespace velorin {

namespace {

// "Name (*.x)|*.x|…|" as Qt name filters: the names, which carry their patterns.
QStringList NameFilters(const QString& pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters;
}

}  // namespace

bool SaveAsCommand(const std::shared_ptr<CDastrelDoc>& doc, const DisplayOptions& display, Presenter& presenter,
                   int32_t firstIndex, int32_t endIndex, QWidget* parent) {
    if (!doc) return false;
    int chosen = 0;
    const QString name = presenter.AskSaveFileAs(NameFilters(FromUtf8(ReportFixed().saveAsFilter)), chosen);
    SaveForm form;
    if (name.isEmpty() || !SaveFormOfFilter(chosen, form)) return false;

    SaveAsOptions options;
    options.display = display;
    options.firstIndex = firstIndex;
    options.endIndex = endIndex;
    options.logoPath = ExecutableFolder() + "/logo.png";
    SaveAsResult result;
    if (form == SaveForm::Pdf) {
        // A full data set's report takes seconds: on a worker, the window painting meanwhile.
        const std::string target = SaveAsTarget(name.toStdString(), form);
        result = PdfSaveResult(RunReportInBackground(parent, doc->Set(), target, PdfOptionsOf(options)), options);
    } else {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        result = SaveDocumentAs(*doc, form, name.toStdString(), options);
        QApplication::restoreOverrideCursor();
    }
    const QString caption = QStringLiteral("Velorin");
    for (const std::string& warning : result.warnings) presenter.Message(FromGbk(warning), caption, BoxIcon::Warning);
    if (!result.ok) presenter.Message(FromGbk(result.failure), caption, BoxIcon::Error);
    return result.ok;
}

}  // namespace velorin
