#include "app/port_dialog.h"

#include <QComboBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace velorin {

CSetComDlg::CSetComDlg(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    combo_ = new QComboBox(this);
    combo_->setEditable(true);
    for (int i = 1; i <= 15; ++i) combo_->addItem(QStringLiteral("Com%1").arg(i));
    combo_->setCurrentIndex(0);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(combo_);
    layout->addWidget(ok, 0, Qt::AlignRight);
    resize(220, 110);
}

QString CSetComDlg::PortText() const { return combo_->currentText(); }

QColor CSetComDlg::RectangleColour(int n) {
    return QColor((240 - n + 256) % 256, (250 - n + 256) % 256, (245 - n + 256) % 256);
}

void CSetComDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width();
    const int h = height();
    for (int n = 255; n >= 1; --n) {
        p.fillRect(QRect(0, 0, w * n / 233, h * n / 233), RectangleColour(n));
    }
}

QString PortDigits(const QString& portText) {
    QString digits;
    for (int i = 3; i < portText.size() && portText[i].isDigit(); ++i) digits += portText[i];
    return digits;
}

}  // namespace velorin
