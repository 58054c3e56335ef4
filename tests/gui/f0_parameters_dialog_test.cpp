#include "view/f0_parameters_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "common/language.h"
#include "common/text_codec.h"
#include "ui/gui_text.h"
#include "view/f0_formula.h"

namespace velorin {
namespace {

// Types as the user does: one key event per character at the caret.
void Type(QLineEdit* edit, const QString& keys) {
    for (QChar c : keys) {
        const int key = c == QLatin1Char('\b') ? int(Qt::Key_Backspace) : int(c.unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, c == QLatin1Char('\b') ? QString() : QString(c));
        QApplication::sendEvent(edit, &press);
    }
}

void SelectAll(QLineEdit* edit) { edit->selectAll(); }

QString Gbk(const char* utf8) { return FromGbk(Utf8ToGbk(utf8)); }

TEST(ConfigValueDlg, ShowsTheParametersAndTheMethodsInBothLanguages) {
    ConfigValueDlg english(Language::English, 121.0f, 10.0f);
    EXPECT_EQ(english.windowTitle(), "Config F0 Parameter");
    EXPECT_EQ(english.ReferenceEdit()->text(), "121.00");
    EXPECT_EQ(english.ZEdit()->text(), "10.00");
    ASSERT_EQ(english.MethodBox()->count(), 2);
    EXPECT_EQ(english.MethodBox()->itemText(0), Gbk("F0值"));
    EXPECT_EQ(english.MethodBox()->itemText(1), Gbk("FH值"));
    EXPECT_EQ(english.MethodBox()->currentText(), Gbk("F0值"));
    EXPECT_EQ(english.ReferenceEdit()->font().family(), "Arial");
    EXPECT_EQ(english.ReferenceEdit()->font().pointSize(), 8);
    ConfigValueDlg chinese(Language::Chinese, 111.5f, 12.25f);
    EXPECT_EQ(chinese.windowTitle(), Gbk("配置F0值参数"));
    EXPECT_EQ(chinese.ReferenceEdit()->text(), "111.50");
    EXPECT_EQ(chinese.ZEdit()->text(), "12.25");
    // The picture fills the dialog's width but its margins and holds both edits.
    const QLabel* picture = chinese.Picture();
    EXPECT_LE(picture->width(), chinese.width() - 10);
    EXPECT_TRUE(picture->rect().contains(chinese.ReferenceEdit()->geometry()));
    EXPECT_TRUE(picture->rect().contains(chinese.ZEdit()->geometry()));
}

TEST(ConfigValueDlg, TypingWithF0SelectedTakesTheNumberOverAndRewritesIt) {
    ConfigValueDlg dialog(Language::English, 121.0f, 10.0f);
    QLineEdit* reference = dialog.ReferenceEdit();
    SelectAll(reference);
    Type(reference, "11");
    EXPECT_EQ(reference->text(), "11.00");
    EXPECT_EQ(reference->cursorPosition(), 2);  // the caret stays after what was typed
    Type(reference, "5");
    EXPECT_EQ(reference->text(), "115.00");
    EXPECT_FLOAT_EQ(dialog.ReferenceTemperature(), 115.0f);
    // Into the decimals: the typed digit stays, the extra one is rounded away.
    reference->setCursorPosition(4);
    Type(reference, "5");
    EXPECT_EQ(reference->text(), "115.50");
    EXPECT_FLOAT_EQ(dialog.ReferenceTemperature(), 115.5f);
    // Letters are not accepted; deleting everything means 0.
    Type(reference, "x");
    EXPECT_EQ(reference->text(), "115.50");
    SelectAll(reference);
    Type(reference, "\b");
    EXPECT_EQ(reference->text(), "0.00");
    EXPECT_EQ(dialog.ReferenceTemperature(), 0.0f);

    QLineEdit* z = dialog.ZEdit();
    SelectAll(z);
    Type(z, "8");
    EXPECT_EQ(z->text(), "8.00");
    EXPECT_FLOAT_EQ(dialog.ZValue(), 8.0f);
}

TEST(ConfigValueDlg, TypingWithFHOrNothingSelectedLeavesTheParameters) {
    ConfigValueDlg dialog(Language::Chinese, 121.0f, 10.0f);
    dialog.MethodBox()->setCurrentIndex(dialog.MethodBox()->findText(Gbk("FH值")));
    SelectAll(dialog.ReferenceEdit());
    Type(dialog.ReferenceEdit(), "90");
    EXPECT_EQ(dialog.ReferenceEdit()->text(), "90");  // not rewritten either
    EXPECT_EQ(dialog.ReferenceTemperature(), 121.0f);
    dialog.MethodBox()->setCurrentIndex(-1);
    SelectAll(dialog.ZEdit());
    Type(dialog.ZEdit(), "7");
    EXPECT_EQ(dialog.ZValue(), 10.0f);
    // Back to F0: only a new change is taken over.
    dialog.MethodBox()->setCurrentIndex(0);
    EXPECT_EQ(dialog.ReferenceTemperature(), 121.0f);
    Type(dialog.ZEdit(), "5");
    EXPECT_FLOAT_EQ(dialog.ZValue(), 75.0f);
}

TEST(ConfigValueDlg, LeadingNumberIgnoresWhatFollowsAndTheLocale) {
    EXPECT_FLOAT_EQ(LeadingNumber("121.5abc"), 121.5f);
    EXPECT_FLOAT_EQ(LeadingNumber(" 12."), 12.0f);
    EXPECT_FLOAT_EQ(LeadingNumber(".25"), 0.25f);
    EXPECT_FLOAT_EQ(LeadingNumber("+3"), 3.0f);
    EXPECT_EQ(LeadingNumber(""), 0.0f);
    EXPECT_EQ(LeadingNumber("abc"), 0.0f);
    EXPECT_EQ(LeadingNumber("1e999"), 0.0f);  // beyond the float range: no number
}

TEST(F0Formula, EditPlacesScaleWithThePicture) {
    const QPixmap small = DrawF0Formula(200);
    const QPixmap large = DrawF0Formula(800);
    EXPECT_EQ(small.height(), 75);
    EXPECT_EQ(large.height(), 300);
    EXPECT_EQ(F0ReferenceEditRect(800).x(), 4 * F0ReferenceEditRect(200).x());
    EXPECT_FALSE(F0ReferenceEditRect(400).intersects(F0ZValueEditRect(400)));
    EXPECT_TRUE(QRect(0, 0, 400, 150).contains(F0ZValueEditRect(400)));
}

}  // namespace
}  // namespace velorin
