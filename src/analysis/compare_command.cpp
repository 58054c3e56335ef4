#include "analysis/compare_command.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/compare_files.h"
#include "analysis/compare_texts.h"
#include "analysis/compare_window.h"
#include "common/format.h"
#include "history/dastrel_doc.h"
#include "ui/gui_text.h"
#include "ui/presenter.h"

namespace velorin {

CompareChooser::CompareChooser(const std::vector<CompareSource>& open, Language language, QWidget* parent)
    : QDialog(parent), texts_(CompareTextsFor(language)), openCount_(static_cast<int>(open.size())) {
    setWindowTitle(FromUtf8(texts_.chooserTitle));
    list_ = new QListWidget;
    for (const CompareSource& set : open) {
        auto* item =
            new QListWidgetItem(set.name + QStringLiteral("  (") + FromUtf8(texts_.openWindows) + QStringLiteral(")"));
        item->setCheckState(Qt::Checked);
        list_->addItem(item);
    }
    auto* add = new QPushButton(FromUtf8(texts_.addFiles));
    auto* remove = new QPushButton(FromUtf8(texts_.remove));
    auto* buttons = new QDialogButtonBox;
    compare_ = buttons->addButton(FromUtf8(texts_.compare), QDialogButtonBox::AcceptRole);
    buttons->addButton(FromUtf8(texts_.cancel), QDialogButtonBox::RejectRole);
    auto* row = new QHBoxLayout;
    row->addWidget(add);
    row->addWidget(remove);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(FromUtf8(texts_.chooserHint)));
    layout->addWidget(list_, 1);
    layout->addLayout(row);
    layout->addWidget(buttons);
    connect(add, &QPushButton::clicked, this, [this] {
        AddFiles(
            QFileDialog::getOpenFileNames(this, FromUtf8(texts_.addFiles), QString(), FromUtf8(texts_.fileFilter)));
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        for (QListWidgetItem* item : list_->selectedItems()) {
            if (list_->row(item) >= openCount_) delete item;
        }
        UpdateButton();
    });
    connect(list_, &QListWidget::itemChanged, this, &CompareChooser::UpdateButton);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    resize(560, 360);
    UpdateButton();
}

void CompareChooser::AddFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        auto* item = new QListWidgetItem(path);
        item->setData(Qt::UserRole, path);
        item->setCheckState(Qt::Checked);
        list_->addItem(item);
    }
    UpdateButton();
}

std::vector<int> CompareChooser::ChosenWindows() const {
    std::vector<int> out;
    for (int i = 0; i < openCount_ && i < list_->count(); ++i) {
        if (list_->item(i)->checkState() == Qt::Checked) out.push_back(i);
    }
    return out;
}

QStringList CompareChooser::ChosenFiles() const {
    QStringList out;
    for (int i = openCount_; i < list_->count(); ++i) {
        if (list_->item(i)->checkState() == Qt::Checked) out << list_->item(i)->data(Qt::UserRole).toString();
    }
    return out;
}

void CompareChooser::UpdateButton() {
    compare_->setEnabled(ChosenWindows().size() + static_cast<size_t>(ChosenFiles().size()) >= 2);
}

QMdiSubWindow* OpenCompareWindow(QMdiArea& mdi, const std::vector<CompareSource>& windows, const QStringList& files,
                                 Language language, Presenter& presenter) {
    const CompareTexts& t = CompareTextsFor(language);
    const auto refuse = [&presenter](const std::string& text) {
        presenter.Message(FromUtf8(text), QString(), BoxIcon::Warning);
        return nullptr;
    };
    if (windows.size() + static_cast<size_t>(files.size()) > static_cast<size_t>(kMaxCompareFiles)) {
        return refuse(t.tooMany);
    }
    // The open windows' data sets as they are now (copies: the windows go on changing).
    std::vector<CompareFile> all;
    for (const CompareSource& w : windows) {
        if (!w.doc) continue;
        CompareFile file;
        file.path = w.doc->PathName();
        file.set = w.doc->Set();
        all.push_back(std::move(file));
    }
    std::vector<std::string> paths;
    for (const QString& f : files) paths.push_back(QFile::encodeName(f).toStdString());
    if (!paths.empty()) {
        CompareLoadResult loaded = LoadCompareFiles(paths);
        if (!loaded.ok()) {
            const std::string path = loaded.fileIndex >= 0 ? files[loaded.fileIndex].toStdString() : std::string();
            return refuse(FormatC(t.unreadable.c_str(), path.c_str(), loaded.readResult.detail.c_str()));
        }
        for (CompareFile& f : loaded.files) all.push_back(std::move(f));
    }
    if (all.size() < 2) return refuse(t.tooFew);
    PrepareCompareFiles(all);  // names, with the open windows' files among them

    auto shared = std::make_shared<const std::vector<CompareFile>>(std::move(all));
    auto* window = new CompareWindow(shared, language);
    QMdiSubWindow* child = mdi.addSubWindow(window);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowTitle(window->windowTitle());
    child->showMaximized();
    mdi.setActiveSubWindow(child);
    return child;
}

void RunCompareCommand(QMdiArea& mdi, const std::vector<CompareSource>& open, Language language, Presenter& presenter) {
    CompareChooser chooser(open, language, &mdi);
    if (presenter.Exec(chooser) != QDialog::Accepted) return;
    std::vector<CompareSource> windows;
    for (int i : chooser.ChosenWindows()) windows.push_back(open[static_cast<size_t>(i)]);
    OpenCompareWindow(mdi, windows, chooser.ChosenFiles(), language, presenter);
}

}  // namespace velorin
