#include "view/f0_command.h"

#include <QMdiSubWindow>

#include "ui/presenter.h"
#include "view/f0_parameters_dialog.h"
#include "view/history_lists.h"

namespace velorin {

HistoryLists* HistoryListsOf(QMdiSubWindow* window) {
    if (window == nullptr || window->widget() == nullptr) return nullptr;
    return window->widget()->findChild<HistoryLists*>();
}

bool RunF0ConfigCommand(QMdiSubWindow* activeWindow, Language language, float (&parameters)[2], Presenter& presenter,
                        QWidget* dialogParent) {
    HistoryLists* lists = HistoryListsOf(activeWindow);
    if (lists == nullptr) return false;
    ConfigValueDlg dialog(language, parameters[0], parameters[1], dialogParent);
    if (presenter.Exec(dialog) != QDialog::Accepted) return false;
    parameters[0] = dialog.ReferenceTemperature();
    parameters[1] = dialog.ZValue();
    return lists->SwitchF0On(parameters[0], parameters[1]);
}

}  // namespace velorin
