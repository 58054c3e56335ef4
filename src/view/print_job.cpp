#include "view/print_job.h"

#include <QFontMetrics>
#include <QPainter>
#include <QImage>
#include <QPrinter>

#include "ui/gui_text.h"
#include "ui/presenter.h"
#include "view/print_layout.h"

namespace velorin {
namespace {

// Draws the layouts with QPainter. The first page begins the painter on the printer; every
// later one asks the printer for a new page.
class PainterSurface final : public PrintSurface {
public:
    PainterSurface(QPrinter& printer, QPainter& painter, const QImage* plot)
        : printer_(printer), painter_(painter), plot_(plot) {}

    bool BeginPage() override {
        if (!painter_.isActive()) {
            if (!painter_.begin(&printer_)) return false;
            defaultFont_ = painter_.font();
            return true;
        }
        return printer_.newPage();
    }

    void SetFont(PrintFont font) override {
        const int pw = printer_.width();
        switch (font) {
            case PrintFont::Default: painter_.setFont(defaultFont_); break;
            case PrintFont::ListA: painter_.setFont(Sized(QStringLiteral("AR PL UMing CN"), pw / 80, pw / 120)); break;
            case PrintFont::ListB:
                painter_.setFont(Sized(QStringLiteral("Times New Roman"), pw / 100, pw / 140));
                break;
        }
    }

    void Text(int x, int y, const std::string& gbk) override {
        const QString text = FromGbk(gbk);
        const QFontMetrics metrics(painter_.font(), &printer_);
        painter_.drawText(QRect(x, y, metrics.horizontalAdvance(text) + 1, metrics.height()),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }

    void CellText(int left, int top, int right, int bottom, const std::string& gbk) override {
        painter_.drawText(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), Qt::AlignCenter | Qt::TextSingleLine,
                          FromGbk(gbk));
    }

    void Frame(int left, int top, int right, int bottom, int penWidth) override {
        painter_.save();
        painter_.setPen(QPen(Qt::black, penWidth, Qt::SolidLine));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(QRect(left, top, right - left, bottom - top));
        painter_.restore();
    }

    void Plot(int left, int top, int width, int height) override {
        if (plot_ != nullptr && !plot_->isNull() && width > 0 && height > 0) {
            painter_.drawImage(QRect(left, top, width, height), *plot_);
        }
    }

private:
    // A font `height` device units high whose average character is about `width` units wide.
    QFont Sized(const QString& family, int height, int width) const {
        QFont font(family);
        font.setPixelSize(std::max(1, height));
        const int natural = QFontMetrics(font, &printer_).averageCharWidth();
        if (natural > 0 && width > 0) font.setStretch(std::clamp(100 * width / natural, 1, 4000));
        return font;
    }

    QPrinter& printer_;
    QPainter& painter_;
    const QImage* plot_;
    QFont defaultFont_;
};

// Ends the job: the last page goes out and "打印完毕" is shown when everything was drawn;
// otherwise the job is aborted with its warning.
void FinishJob(Presenter& presenter, QPrinter& printer, QPainter& painter, bool drawn) {
    const PrintTexts& t = PrintTextsOf();
    if (drawn) {
        const bool ended = !painter.isActive() || painter.end();
        if (ended) {
            presenter.Message(FromUtf8(t.finished), QString(), BoxIcon::Information);
            return;
        }
    }
    printer.abort();
    if (painter.isActive()) painter.end();
    presenter.Message(QString::fromLatin1(t.aborted.c_str()), QString(), BoxIcon::Warning);
}

}  // namespace

void PrintCurve(Presenter& presenter, const RecordSet& set, int firstIndex, int endIndex, const QImage& plot) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!presenter.ChoosePrinter(printer)) return;
    printer.setDocName(FromUtf8(PrintTextsOf().curveJobName));
    QPainter painter;
    PainterSurface surface(printer, painter, &plot);
    const bool drawn = DrawCurvePage(surface, set, firstIndex, endIndex, printer.width(), printer.height());
    FinishJob(presenter, printer, painter, drawn);
}

void PrintList(Presenter& presenter, const RecordSet& set, const uint8_t (&channelType)[8], int firstSerial,
               int lastSerial) {
    if (!ListRangeAccepted(firstSerial, lastSerial)) {
        presenter.Message(FromUtf8(PrintTextsOf().badRange), QString(), BoxIcon::Warning);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!presenter.ChoosePrinter(printer)) return;
    printer.setDocName(FromUtf8(PrintTextsOf().listJobName));
    QPainter painter;
    PainterSurface surface(printer, painter, nullptr);
    const ListPrintOutcome outcome =
        DrawDataList(surface, set, channelType, firstSerial, lastSerial, printer.width(), printer.height());
    FinishJob(presenter, printer, painter,
              outcome == ListPrintOutcome::Drawn || outcome == ListPrintOutcome::NothingToDraw);
}

}  // namespace velorin
