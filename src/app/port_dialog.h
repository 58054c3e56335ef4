// CSetComDlg: the serial port chooser — an editable drop-down of "Com1" … "Com15" and OK, over
// a background of 255 nested rectangles anchored at the top-left corner.
// GUI thread only.
#pragma once

#include <QDialog>

class QComboBox;

namespace velorin {

class CSetComDlg : public QDialog {
    Q_OBJECT
public:
    CSetComDlg(const QString& title, QWidget* parent = nullptr);
    QString PortText() const;
    QComboBox* Combo() const { return combo_; }

    // Colour of rectangle n (255 … 1): red 240 − n, green 250 − n, blue 245 − n, each mod 256.
    static QColor RectangleColour(int n);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QComboBox* combo_ = nullptr;
};

// The digits of a port text from its fourth character on ("Com12" → "12"); empty otherwise.
QString PortDigits(const QString& portText);

}  // namespace velorin
