// ConfigValueDlg: the F0 parameter dialog ("Config F0 Parameter"). A picture of the formula with
// two edits in it (reference temperature and z-value, "%.2f"), the method combo box ("F0值",
// "FH值") and OK. While "F0值" is selected, every change of an edit's text is taken over: its
// leading number becomes the parameter and the text is rewritten as "%.2f" (the caret stays
// where it was). While "FH值" is selected, or nothing is, changes are not taken over.
//
// How it is used: the main window's "F0 Config" command (f0_command.h) runs it preset with its
// F0 parameters and, after OK, reads ReferenceTemperature() and ZValue().
//
// Threading: GUI thread only.
#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velorin {

enum class Language;
class ConfigValueDlg : public QDialog {
    Q_OBJECT
public:
    ConfigValueDlg(Language language, float referenceTemperature, float zValue, QWidget* parent = nullptr);

    float ReferenceTemperature() const { return reference_; }
    float ZValue() const { return z_; }

    QLabel* Picture() const { return picture_; }
    QLineEdit* ReferenceEdit() const { return referenceEdit_; }
    QLineEdit* ZEdit() const { return zEdit_; }
    QComboBox* MethodBox() const { return method_; }
    QPushButton* OkButton() const { return ok_; }

private:
    void TakeOver(QLineEdit* edit, float& parameter);

    float reference_;
    float z_;
    bool rewriting_ = false;  // our own "%.2f" rewrite is not a new change
    QString methodF0_;
    QLabel* picture_ = nullptr;
    QLineEdit* referenceEdit_ = nullptr;
    QLineEdit* zEdit_ = nullptr;
    QComboBox* method_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// The leading number of an edit's text ("12.5abc" → 12.5), 0 when it starts with none.
// Independent of the process locale.
float LeadingNumber(const QString& text);

}  // namespace velorin
