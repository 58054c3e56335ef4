// The About box: title, application icon, version line, statement, OK. GUI thread only.
#pragma once

#include <QDialog>
#include <string>

namespace velorin {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const std::string& languageName, QWidget* parent = nullptr);
};

}  // namespace velorin
