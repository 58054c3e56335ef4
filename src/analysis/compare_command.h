// The "Compare..." command: a chooser offers the open data windows (all ticked) and more data
// files (a file dialog with several files at once); with two or more chosen, the files are read
// and one comparison window opens as a child of the main window's MDI area.
//
// Threading: GUI thread only; the files are read on it before the window opens.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;

namespace velorin {

enum class Language;
class CDastrelDoc;
class Presenter;
struct CompareTexts;

// An open data window's data set: its name in the chooser and its document.
struct CompareSource {
    QString name;
    std::shared_ptr<CDastrelDoc> doc;
};

class CompareChooser : public QDialog {
    Q_OBJECT
public:
    CompareChooser(const std::vector<CompareSource>& open, Language language, QWidget* parent = nullptr);

    // Adds files to the list, ticked (the "Add files..." button asks a file dialog for them).
    void AddFiles(const QStringList& paths);
    // The ticked open windows (indices into `open`) and files.
    std::vector<int> ChosenWindows() const;
    QStringList ChosenFiles() const;
    QListWidget* List() const { return list_; }
    QPushButton* CompareButton() const { return compare_; }

private:
    void UpdateButton();

    const CompareTexts& texts_;
    int openCount_ = 0;
    QListWidget* list_ = nullptr;
    QPushButton* compare_ = nullptr;
};

// Reads the chosen files and opens the window with them and the chosen windows' data sets; tells
// the user when a file cannot be read, when more than kMaxCompareFiles or fewer than two are
// chosen (no window then). Returns the new window, or null.
QMdiSubWindow* OpenCompareWindow(QMdiArea& mdi, const std::vector<CompareSource>& windows, const QStringList& files,
                                 Language language, Presenter& presenter);

// The command: the chooser through `presenter.Exec`, then OpenCompareWindow.
void RunCompareCommand(QMdiArea& mdi, const std::vector<CompareSource>& open, Language language, Presenter& presenter);

}  // namespace velorin
