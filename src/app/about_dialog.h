// The About box: title, application icon, version line, statement, OK. GUI thread only.
#pragma once

#include <QDialog>
#include <string>

namespace velorin {

enum class Language;
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(Language language, QWidget* parent = nullptr);
};

}  // namespace velorin
