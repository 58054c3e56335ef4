#include "view/f0_parameters_dialog.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/format.h"
#include "ui/gui_text.h"
#include "view/f0_formula.h"
#include "view/view_texts.h"

namespace velorin {

namespace {

constexpr int kDialogWidth = 420;

QString TwoDecimals(float value) { return QString::fromStdString(FormatC("%.2f", static_cast<double>(value))); }

double DpiScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchX() / 96.0 : 1.0;
}

QLineEdit* MakeEdit(QWidget* parent, const QRect& place, float value) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(place);
    edit->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    edit->setFont(font);
    // Digits; the decimal point of the "%.2f" text may stay or be typed once.
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), edit));
    edit->setText(TwoDecimals(value));
    return edit;
}

}  // namespace

float LeadingNumber(const QString& text) {
    const std::string bytes = text.trimmed().toStdString();
    double value = 0.0;
    const char* begin = bytes.data();
    if (!bytes.empty() && *begin == '+') ++begin;
    const auto result = std::from_chars(begin, bytes.data() + bytes.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return 0.0f;
    return static_cast<float>(value);
}

ConfigValueDlg::ConfigValueDlg(Language language, float referenceTemperature, float zValue, QWidget* parent)
    : QDialog(parent), reference_(referenceTemperature), z_(zValue) {
    const F0DialogTexts& t = ViewTextsFor(language).f0Dialog;
    setWindowTitle(FromUtf8(t.caption));
    methodF0_ = FromUtf8(t.methodF0);

    const int margin = static_cast<int>(5 * DpiScale());
    const int pictureWidth = kDialogWidth - 2 * margin;
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("picture1137"));
    const QPixmap formula = DrawF0Formula(pictureWidth);
    picture_->setPixmap(formula);
    picture_->setGeometry(margin, margin, formula.width(), formula.height());
    referenceEdit_ = MakeEdit(picture_, F0ReferenceEditRect(pictureWidth), reference_);
    zEdit_ = MakeEdit(picture_, F0ZValueEditRect(pictureWidth), z_);

    const int rowY = margin + formula.height() + 14;
    auto* label = new QLabel(FromUtf8(t.selectMethod), this);
    label->setGeometry(margin + 5, rowY, 150, 24);
    method_ = new QComboBox(this);
    method_->addItems({FromUtf8(t.methodFH), methodF0_});
    method_->model()->sort(0);
    method_->setCurrentIndex(method_->findText(methodF0_));
    method_->setGeometry(margin + 160, rowY, 110, 24);
    ok_ = new QPushButton(FromUtf8(t.ok), this);
    ok_->setDefault(true);
    ok_->setGeometry(kDialogWidth - margin - 80, rowY, 80, 26);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(kDialogWidth, rowY + 26 + 12);

    connect(referenceEdit_, &QLineEdit::textChanged, this, [this] { TakeOver(referenceEdit_, reference_); });
    connect(zEdit_, &QLineEdit::textChanged, this, [this] { TakeOver(zEdit_, z_); });
}

void ConfigValueDlg::TakeOver(QLineEdit* edit, float& parameter) {
    if (rewriting_) return;
    if (method_->currentIndex() < 0 || method_->currentText() != methodF0_) return;
    parameter = LeadingNumber(edit->text());
    const QString text = TwoDecimals(parameter);
    const int caret = std::min(edit->cursorPosition(), static_cast<int>(text.size()));
    rewriting_ = true;
    edit->setText(text);
    edit->setCursorPosition(caret);
    rewriting_ = false;
}

}  // namespace velorin
