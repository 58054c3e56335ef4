// The PDF report on its worker: the GUI thread keeps handling events while it runs, the
// progress dialog shows the pages, its Cancel stops the report and leaves an existing target
// as it was, and a report left to run writes the file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <string>

#include "common/language.h"
#include "history/record_set.h"
#include "report/pdf_report.h"
#include "report/report_worker.h"
#include "support/curve_data.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

QProgressDialog* OpenProgressDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<QProgressDialog*>(w); d != nullptr && d->isVisible()) return d;
    }
    return nullptr;
}

TEST(ReportWorker, CancelStopsTheReportAndKeepsTheEarlierFile) {
    test::TempDir dir;
    const std::string target = dir.MakeFile("report.pdf", "the earlier report");
    const RecordSet set = test::MakeCurveSet(60000, 6, 60, 0);  // some 150 pages
    PdfOptions options;
    options.display.language = Language::English;
    // A timer on the GUI thread: it runs only while the worker leaves that thread free. Once the
    // dialog shows two pages done, it presses Cancel.
    int ticks = 0, shownPages = 0;
    QString label;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        QProgressDialog* d = OpenProgressDialog();
        if (d == nullptr || d->value() < 2 || shownPages > 0) return;
        shownPages = d->value();
        label = d->labelText();
        QPushButton* cancel = d->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        cancel->click();
    });
    timer.start(5);
    const PdfResult r = RunReportInBackground(nullptr, set, target, options);
    timer.stop();
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.ok);
    EXPECT_GE(shownPages, 2);
    EXPECT_TRUE(label.startsWith(QStringLiteral("Writing the PDF report: page "))) << label.toStdString();
    EXPECT_GT(ticks, 2);
    EXPECT_EQ(test::ReadFileBytes(target), "the earlier report");
    EXPECT_EQ(OpenProgressDialog(), nullptr);
}

TEST(ReportWorker, UncancelledReportWritesTheFileInTheInterfaceLanguage) {
    test::TempDir dir;
    const std::string target = dir.Path() + "/report.pdf";
    PdfOptions options;
    options.display.language = Language::Chinese;
    QString label;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QProgressDialog* d = OpenProgressDialog(); d != nullptr && d->value() > 0) label = d->labelText();
    });
    timer.start(1);
    const PdfResult r = RunReportInBackground(nullptr, test::MakeCurveSet(3000, 2, 60, 0), target, options);
    EXPECT_TRUE(r.ok) << r.detail;
    EXPECT_EQ(test::ReadFileBytes(target).substr(0, 5), "%PDF-");
    if (!label.isEmpty()) {
        EXPECT_TRUE(label.startsWith(QStringLiteral("正在生成PDF报告"))) << label.toStdString();
    }
}

}  // namespace
}  // namespace velorin
