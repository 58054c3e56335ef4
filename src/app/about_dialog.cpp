#include "app/about_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/format.h"
#include "common/texts.h"
#include "common/version.h"
#include "ui/gui_text.h"
#include "ui/icons.h"

namespace velorin {

CAboutDlg::CAboutDlg(Language language, QWidget* parent) : QDialog(parent) {
    const Texts& t = TextsFor(language);
    setWindowTitle(FromUtf8(t.aboutTitle));
    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(48, 48));
    auto* version = new QLabel(FromUtf8(t.aboutVersion), this);
    version->setObjectName(QStringLiteral("version"));
    // The build's own number under the product's name and version texts.
    auto* build = new QLabel(FromUtf8(FormatC(t.aboutBuildFormat.c_str(), ProgramVersion())), this);
    build->setObjectName(QStringLiteral("build"));
    auto* statement = new QLabel(FromUtf8(t.aboutStatement), this);
    statement->setWordWrap(true);
    auto* ok = new QPushButton(FromUtf8(t.aboutOk), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(build);
    texts->addWidget(statement);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setFixedWidth(380);
}

}  // namespace velorin
